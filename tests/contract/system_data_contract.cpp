// The computer's name, version, memory, counters and registry of every backend:
// the results arrive in the caller's buffers whole, with the sizes the Windows calls state,
// or not at all. (The other texts share the buffer rules the computer name shows.)
#include <string>

#include "contract/backend_under_contract.h"
#include "platform/advapi32.h"
#include "platform/kernel32.h"

namespace contract {
namespace {

TEST_P(SystemDataContract, TheComputerNameHonoursTheStatedSize) {
  std::string buffer = Blank(64);
  unsigned long size = 64;
  ASSERT_EQ(backend().ComputerName(buffer, size), 1);
  ASSERT_GT(size, 0u);
  EXPECT_EQ(buffer[size], '\0');
  const std::string name = buffer.substr(0, size);
  EXPECT_EQ(name.find(' '), std::string::npos);

  // A large buffer whose stated size leaves no room for the NUL: nothing written, and the
  // size it needs.
  std::string large = Blank(64);
  unsigned long stated = static_cast<unsigned long>(name.size());
  EXPECT_EQ(backend().ComputerName(large, stated), 0);
  EXPECT_EQ(stated, name.size() + 1);
  EXPECT_EQ(large, Blank(64));
}

TEST_P(SystemDataContract, VersionMemoryCountersAndTimeOfDayAreInRange) {
  platform::OSVERSIONINFOA plain;
  ASSERT_NE(backend().VersionEx(plain), 0);
  EXPECT_EQ(plain.dwPlatformId, platform::kVerPlatformWin32Nt);

  platform::MEMORYSTATUSEX memory;
  ASSERT_NE(backend().MemoryStatusEx(memory), 0);
  EXPECT_GT(memory.ullTotalPhys, 0u);
  EXPECT_LE(memory.ullAvailPhys, memory.ullTotalPhys);
  EXPECT_LE(memory.dwMemoryLoad, 100u);

  std::int64_t frequency = 0, first = 0, second = 0;
  ASSERT_NE(backend().PerformanceFrequency(frequency), 0);
  EXPECT_GT(frequency, 0);
  ASSERT_NE(backend().PerformanceCounter(first), 0);
  const std::uint64_t ticks = backend().TickCount64();
  // Until the counter has moved (at once on any machine, by a step on the fake).
  for (int i = 0; i < 1'000'000 && second <= first; ++i) backend().PerformanceCounter(second);
  EXPECT_GT(second, first);
  EXPECT_GE(backend().TickCount64(), ticks);
  const double seconds = backend().SecondsSinceMidnight();
  EXPECT_GE(seconds, 0.0);
  EXPECT_LT(seconds, 86400.0);
}

// --- Registry ---

struct Enumerated {
  long status = 0;
  std::string name = std::string(255, ' ');
  std::string data = std::string(255, ' ');
  unsigned long nameLength = 255;
  unsigned long dataLength = 255;
};

// A key opens with or without its trailing separator, each open its own handle (closing one
// leaves the other readable), and lists its values: each name with its NUL, a text's length
// counting its NUL. A text value fits a stated room of exactly its name and NUL and its text
// and NUL, in buffers larger than that; one byte less of either is "more data", with nothing
// written and the sizes it needs (the name's with its NUL).
TEST_P(SystemDataContract, ARegistryKeyOpensWithOrWithoutItsTrailingSeparatorAndListsItsValues) {
  platform::HKEY key = 0, other = 0;
  EXPECT_EQ(
      backend().OpenKey(platform::kHkeyLocalMachine, "SOFTWARE\\NoSuchVendor\\NoSuchKey", key),
      platform::kErrorFileNotFound);
  const std::optional<std::string> known = under().KnownKey();
  if (!known) GTEST_SKIP() << "no registry key is known to exist here";
  ASSERT_EQ(backend().OpenKey(platform::kHkeyLocalMachine, *known + "\\", other),
            platform::kErrorSuccess);
  ASSERT_EQ(backend().OpenKey(platform::kHkeyLocalMachine, *known, key), platform::kErrorSuccess);
  EXPECT_NE(key, other);
  EXPECT_EQ(backend().CloseKey(other), platform::kErrorSuccess);

  const auto enumerate = [&](unsigned long index, unsigned long nameRoom, unsigned long dataRoom) {
    Enumerated value{.nameLength = nameRoom, .dataLength = dataRoom};
    value.status =
        backend().EnumValue(key, index, value.name, value.nameLength, value.data, value.dataLength);
    return value;
  };
  // The first value that is a text.
  unsigned long textIndex = 0;
  Enumerated text;
  for (;; ++textIndex) {
    text = enumerate(textIndex, 255, 255);
    ASSERT_NE(text.status, platform::kErrorNoMoreItems) << "no text value among " << textIndex;
    ASSERT_LT(textIndex, 100u);
    if (text.status != platform::kErrorSuccess) continue;  // too long for 255 bytes
    EXPECT_EQ(text.name.find('\0'), text.nameLength);
    if (text.dataLength > 1 && text.data[text.dataLength - 1] == '\0') break;
  }
  const std::string name = text.name.substr(0, text.nameLength);
  const std::string data = text.data.substr(0, text.dataLength);
  const unsigned long nameRoom = text.nameLength + 1;
  const unsigned long dataRoom = text.dataLength;

  const Enumerated exact = enumerate(textIndex, nameRoom, dataRoom);
  EXPECT_EQ(exact.status, platform::kErrorSuccess);
  EXPECT_EQ(exact.nameLength, name.size());
  EXPECT_EQ(exact.dataLength, data.size());
  EXPECT_EQ(exact.name, name + '\0' + std::string(255 - nameRoom, ' '));
  EXPECT_EQ(exact.data, data + std::string(255 - dataRoom, ' '));
  for (const auto& [nameGiven, dataGiven] :
       {std::pair{nameRoom - 1, dataRoom}, std::pair{nameRoom, dataRoom - 1}}) {
    SCOPED_TRACE(nameGiven == nameRoom ? "the text a byte short" : "the name a byte short");
    const Enumerated tight = enumerate(textIndex, nameGiven, dataGiven);
    EXPECT_EQ(tight.status, platform::kErrorMoreData);
    EXPECT_EQ(tight.name, std::string(255, ' '));
    EXPECT_EQ(tight.data, std::string(255, ' '));
    EXPECT_EQ(tight.nameLength, nameRoom);
    EXPECT_EQ(tight.dataLength, dataRoom);
  }
  EXPECT_EQ(backend().CloseKey(key), platform::kErrorSuccess);
}

}  // namespace
}  // namespace contract
