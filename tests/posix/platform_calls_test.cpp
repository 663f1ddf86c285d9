// The Windows-named calls: forwarding to the installed backend, failure values without
// one, and the conversions they make on the way.
#include <gtest/gtest.h>

#include "fake/fake_system.h"
#include "platform/advapi32.h"
#include "platform/cpu.h"
#include "platform/imagehlp.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"
#include "platform/user32.h"
#include "platform/wsock32.h"

namespace {

using namespace platform;

TEST(PlatformCalls, WithoutABackendEveryCallFailsQuietly) {
  SetBackend(nullptr);
  char buffer[64] = "untouched";
  unsigned long size = sizeof buffer;
  EXPECT_FALSE(SearchTreeForFile("/", "x", buffer));
  ItemIdList* list = reinterpret_cast<ItemIdList*>(buffer);
  EXPECT_NE(SHGetSpecialFolderLocation(0, kCsidlSystem, &list), 0);
  EXPECT_EQ(list, nullptr);
  ILFree(nullptr);
  EXPECT_LE(ShellExecuteA(0, "Open", "x", nullptr, nullptr, 1), 32);
  EXPECT_EQ(GetLogicalDriveStringsA(buffer), 0u);
  EXPECT_EQ(GetTempPathA(buffer), 0u);
  EXPECT_EQ(GetComputerNameA(buffer, size), 0);
  EXPECT_EQ(GetUserNameA(buffer, size), 0);
  OSVERSIONINFOA version;
  EXPECT_EQ(GetVersionExA(version), 0);
  MEMORYSTATUS memory;
  memory.dwTotalPhys = 99;
  GlobalMemoryStatus(memory);
  EXPECT_EQ(memory.dwTotalPhys, 0u);
  std::int64_t count = 0;
  EXPECT_EQ(QueryPerformanceCounter(count), 0);
  HKEY key = 0;
  EXPECT_NE(RegOpenKeyA(kHkeyLocalMachine, "SOFTWARE", key), kErrorSuccess);
  EXPECT_EQ(gethostbyname("localhost"), std::nullopt);
  EXPECT_EQ(UserDecimalSeparator(), ".");
  EXPECT_STREQ(buffer, "untouched");
  SingleProcessorScope scope;  // nothing to pin through: harmless
}

class WithFakeSystem : public ::testing::Test {
 protected:
  WithFakeSystem() { SetBackend(&system); }
  fake::VirtualClock clock;
  fake::FakeSystem system{clock};
};

TEST_F(WithFakeSystem, NarrowMemoryFieldsCapAtFourGigabytesAndVersionRecordsFillAsTheirSizeSays) {
  system.totalPhysicalBytes = 64ull << 30;
  MEMORYSTATUS narrow;
  GlobalMemoryStatus(narrow);
  EXPECT_EQ(narrow.dwLength, 32u);
  EXPECT_EQ(narrow.dwTotalPhys, 0xFFFFFFFFu);
  EXPECT_EQ(narrow.dwAvailPhys, 0xFFFFFFFFu);  // half of 64 GB is still too large
  EXPECT_EQ(narrow.dwTotalVirtual, 0x7FFE0000u);

  system.totalPhysicalBytes = 512ull << 20;
  GlobalMemoryStatus(narrow);
  EXPECT_EQ(narrow.dwTotalPhys, 512u << 20);
  EXPECT_EQ(narrow.dwAvailPhys, 256u << 20);  // each field from its own
  MEMORYSTATUSEX wide;
  system.totalPhysicalBytes = 64ull << 30;
  ASSERT_NE(GlobalMemoryStatusEx(wide), 0);
  EXPECT_EQ(wide.ullTotalPhys, 64ull << 30);

  system.memoryQuerySucceeds = false;
  GlobalMemoryStatus(narrow);
  EXPECT_EQ(narrow.dwTotalPhys, 0u);

  system.version = {.platformId = 2,
                    .major = 5,
                    .minor = 1,
                    .build = 2600,
                    .csd = "Service Pack 3",
                    .suiteMask = kVerSuitePersonal};
  OSVERSIONINFOEXA extended;
  ASSERT_NE(GetVersionExA(extended), 0);
  EXPECT_EQ(extended.wSuiteMask, kVerSuitePersonal);
  EXPECT_STREQ(extended.szCSDVersion, "Service Pack 3");

  OSVERSIONINFOA plain;
  plain.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);  // a plain record claiming more
  EXPECT_EQ(GetVersionExA(plain), 0);
  plain.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  ASSERT_NE(GetVersionExA(plain), 0);
  EXPECT_EQ(plain.dwMajorVersion, 5u);
  EXPECT_EQ(system.versionQueries, 2);  // the refused oversized record never got there
}

TEST_F(WithFakeSystem, ProcessorScopePinsForItsLifeOnlyWhenItCould) {
  {
    SingleProcessorScope scope;
    EXPECT_EQ(system.pinCount, 1);
    EXPECT_EQ(system.unpinCount, 0);
  }
  EXPECT_EQ(system.unpinCount, 1);
  system.pinningPossible = false;
  { SingleProcessorScope scope; }
  EXPECT_EQ(system.unpinCount, 1);  // nothing pinned, nothing to undo
}

}  // namespace
