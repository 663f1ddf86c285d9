// Names, folders, drives, version, memory, counters and host lookup of every backend: the
// results arrive in the caller's buffers whole, with the sizes the Windows calls state, or
// not at all.
#include <string>

#include "contract/backend_under_contract.h"
#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"

namespace contract {
namespace {

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// A call that gives the length of the text it wrote, or the size it needs (with the NUL)
// when the buffer has no room for the NUL, and then writes nothing.
template <typename Call>
void ExpectWholeOrNothing(Call call, unsigned length) {
  std::string exact(length + 1, ' ');
  EXPECT_EQ(call(exact), length);
  std::string small(length, ' ');
  EXPECT_EQ(call(small), length + 1);
  EXPECT_EQ(small, std::string(length, ' '));
}

TEST_P(SystemDataContract, TheTemporaryFolderEndsWithItsSeparatorAndFitsOrIsLeftAlone) {
  std::string buffer = Blank(512);
  const unsigned length = backend().TempPath(buffer);
  ASSERT_GT(length, 0u);
  EXPECT_TRUE(IsSeparator(buffer[length - 1])) << buffer.substr(0, length);
  EXPECT_EQ(buffer[length], '\0');
  ExpectWholeOrNothing([&](std::span<char> room) { return backend().TempPath(room); }, length);
}

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

TEST_P(SystemDataContract, TheUserNameCountsItsNulAndNeedsRoomForIt) {
  std::string buffer = Blank(255);
  unsigned long size = 255;
  ASSERT_EQ(backend().UserName(buffer, size), 1);
  ASSERT_GE(size, 2u);  // the name and its NUL
  EXPECT_EQ(buffer[size - 1], '\0');

  std::string small = Blank(size - 1);
  unsigned long smallSize = size - 1;
  EXPECT_EQ(backend().UserName(small, smallSize), 0);
  EXPECT_EQ(small, Blank(size - 1));
}

TEST_P(SystemDataContract, DriveRootsArriveWholeOrNotAtAll) {
  std::string buffer = Blank(512);
  const unsigned length = backend().LogicalDriveStrings(buffer);
  ASSERT_GE(length, 4u);
  EXPECT_EQ(buffer[length], '\0');
  // Drive roots ("C:\"), each with its NUL.
  for (std::size_t start = 0; start < length;) {
    const std::size_t end = buffer.find('\0', start);
    ASSERT_NE(end, std::string::npos);
    const std::string root = buffer.substr(start, end - start);
    ASSERT_EQ(root.size(), 3u) << root;
    EXPECT_EQ(root.substr(1), ":\\") << root;
    EXPECT_NE(backend().DriveType(root), platform::kDriveNoRootDir) << root;
    start = end + 1;
  }
  EXPECT_EQ(backend().DriveType("?:\\"), platform::kDriveNoRootDir);
  ExpectWholeOrNothing([&](std::span<char> room) { return backend().LogicalDriveStrings(room); },
                       length);
}

TEST_P(SystemDataContract, TheSystemFolderIsAPathThatFitsOrNothing) {
  platform::ItemIdList* list = nullptr;
  ASSERT_EQ(backend().SpecialFolderLocation(0, platform::kCsidlSystem, &list), 0);
  ASSERT_NE(list, nullptr);
  std::string path = Blank(512);
  ASSERT_EQ(backend().PathFromIdList(list, path), 1);
  const std::string system(path.c_str());
  EXPECT_FALSE(system.empty());

  std::string small = Blank(system.size());  // no room for the NUL
  EXPECT_EQ(backend().PathFromIdList(list, small), 0);
  EXPECT_EQ(small, Blank(system.size()));
  backend().FreeIdList(list);
  backend().FreeIdList(nullptr);  // harmless
}

TEST_P(SystemDataContract, VersionRecordsAgreeAndMemoryIsCounted) {
  platform::OSVERSIONINFOA plain;
  ASSERT_NE(backend().VersionEx(plain), 0);
  EXPECT_EQ(plain.dwPlatformId, platform::kVerPlatformWin32Nt);
  EXPECT_LT(std::string(plain.szCSDVersion).size(), sizeof(plain.szCSDVersion));
  platform::OSVERSIONINFOEXA extended;
  ASSERT_NE(backend().VersionEx(extended), 0);
  EXPECT_EQ(extended.dwMajorVersion, plain.dwMajorVersion);
  EXPECT_EQ(extended.dwMinorVersion, plain.dwMinorVersion);
  EXPECT_EQ(extended.dwBuildNumber, plain.dwBuildNumber);

  platform::MEMORYSTATUSEX memory;
  ASSERT_NE(backend().MemoryStatusEx(memory), 0);
  EXPECT_GT(memory.ullTotalPhys, 0u);
  EXPECT_LE(memory.ullAvailPhys, memory.ullTotalPhys);
  EXPECT_LE(memory.dwMemoryLoad, 100u);
}

TEST_P(SystemDataContract, CountersMoveForwardAndTheTimeOfDayStaysInTheDay) {
  std::int64_t frequency = 0, first = 0, second = 0;
  ASSERT_NE(backend().PerformanceFrequency(frequency), 0);
  EXPECT_GT(frequency, 0);
  ASSERT_NE(backend().PerformanceCounter(first), 0);
  const std::uint64_t ticks = backend().TickCount64();
  const std::uint64_t cycles = backend().TimeStampCounter();
  // Until the counter has moved (at once on any machine, by a step on the fake).
  for (int i = 0; i < 1'000'000 && second <= first; ++i) backend().PerformanceCounter(second);
  EXPECT_GT(second, first);
  EXPECT_GE(backend().TickCount64(), ticks);
  EXPECT_GE(backend().TimeStampCounter(), cycles);
  const double seconds = backend().SecondsSinceMidnight();
  EXPECT_GE(seconds, 0.0);
  EXPECT_LT(seconds, 86400.0);
}

TEST_P(SystemDataContract, TheLocalHostResolvesAndNamesWithANulDoNot) {
  platform::WSADATA data;
  ASSERT_EQ(backend().SocketsStartup(0x0101, data), 0);
  const std::optional<platform::HOSTENT> local = backend().HostByName("localhost");
  ASSERT_TRUE(local.has_value());
  EXPECT_EQ(local->h_length, 4);
  ASSERT_FALSE(local->h_addr_list.empty());
  for (const auto& address : local->h_addr_list) EXPECT_EQ(address.size(), 4u);
  EXPECT_EQ(local->h_addr_list[0][0], 127);
  EXPECT_EQ(backend().HostByName("").has_value(), has().emptyHostNameIsThisComputer);
  EXPECT_FALSE(backend().HostByName(std::string_view("local\0host", 10)).has_value());
  backend().SocketsCleanup();
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
TEST_P(RegistryContract, AKeyOpensWithOrWithoutItsTrailingSeparatorAndListsItsValues) {
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
    Enumerated value;
    value.nameLength = nameRoom;
    value.dataLength = dataRoom;
    value.status =
        backend().EnumValue(key, index, value.name, value.nameLength, value.data, value.dataLength);
    return value;
  };
  unsigned long index = 0, textIndex = 0;
  std::optional<Enumerated> text;
  for (;; ++index) {
    const Enumerated value = enumerate(index, 255, 255);
    if (value.status == platform::kErrorNoMoreItems) break;
    ASSERT_LT(index, 100u);
    if (value.status != platform::kErrorSuccess) continue;  // too long for 255 bytes
    EXPECT_EQ(value.name[value.nameLength], '\0');
    EXPECT_EQ(value.name.find('\0'), value.nameLength);
    if (!text && value.dataLength > 1 && value.data[value.dataLength - 1] == '\0') {
      text = value;
      textIndex = index;
    }
  }
  ASSERT_TRUE(text.has_value()) << "no text value among " << index;
  const std::string name = text->name.substr(0, text->nameLength);
  const std::string data = text->data.substr(0, text->dataLength);
  const unsigned long nameRoom = text->nameLength + 1;
  const unsigned long dataRoom = text->dataLength;

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
