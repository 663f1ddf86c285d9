// Version, memory, clocks, locale, host lookup, screen and processor on the real system.
#include <gtest/gtest.h>

#include <bitset>
#include <string>

#include "platform/win32/system_backend.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

TEST(BackendSystem, VersionFillsBothRecordsAsTheirSizeSays) {
  Win32Backend backend;
  platform::OSVERSIONINFOA plain;
  ASSERT_EQ(plain.dwOSVersionInfoSize, 148u);
  ASSERT_NE(backend.VersionEx(plain), 0);
  EXPECT_EQ(plain.dwPlatformId, kVerPlatformWin32Nt);
  EXPECT_GE(plain.dwMajorVersion, 5u);
  EXPECT_LT(std::string(plain.szCSDVersion).size(), sizeof(plain.szCSDVersion));

  platform::OSVERSIONINFOEXA extended;
  ASSERT_NE(backend.VersionEx(extended), 0);
  EXPECT_EQ(extended.dwMajorVersion, plain.dwMajorVersion);
  EXPECT_EQ(extended.dwMinorVersion, plain.dwMinorVersion);
  EXPECT_NE(extended.wProductType, 0);  // workstation, domain controller or server
}

TEST(BackendSystem, MemoryClocksAndLocaleReadTheSystem) {
  Win32Backend backend;
  platform::MEMORYSTATUSEX memory;
  ASSERT_NE(backend.MemoryStatusEx(memory), 0);
  EXPECT_GT(memory.ullTotalPhys, 0u);
  EXPECT_LE(memory.ullAvailPhys, memory.ullTotalPhys);

  std::int64_t frequency = 0, first = 0, second = 0;
  ASSERT_NE(backend.PerformanceFrequency(frequency), 0);
  EXPECT_GT(frequency, 0);
  ASSERT_NE(backend.PerformanceCounter(first), 0);
  const std::uint64_t ticks = backend.TickCount64();
  Sleep(20);
  ASSERT_NE(backend.PerformanceCounter(second), 0);
  EXPECT_GT(second, first);
  EXPECT_GE(backend.TickCount64(), ticks + 10);

  const double seconds = backend.SecondsSinceMidnight();
  EXPECT_GE(seconds, 0.0);
  EXPECT_LT(seconds, 86400.0);

  wchar_t separator[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8), 1);
  EXPECT_EQ(backend.DecimalSeparator(), Narrow(separator));
}

TEST(BackendSystem, HostLookupCopiesTheEntryAndRefusesNamesItCannotSpell) {
  Win32Backend backend;
  platform::WSADATA data;
  ASSERT_EQ(backend.SocketsStartup(0x0101, data), 0);
  EXPECT_EQ(data.wVersion, 0x0101);

  const std::optional<HOSTENT> local = backend.HostByName("localhost");
  ASSERT_TRUE(local.has_value());
  EXPECT_EQ(local->h_length, 4);
  ASSERT_FALSE(local->h_addr_list.empty());
  for (const auto& address : local->h_addr_list) EXPECT_EQ(address.size(), 4u);
  EXPECT_EQ(local->h_addr_list[0][0], 127);

  // No ANSI code page spells a Gothic letter; a near spelling would ask for another host.
  EXPECT_FALSE(backend.HostByName("pc-\xF0\x90\x8D\x88").has_value());
  EXPECT_FALSE(backend.HostByName(std::string("local\0host", 10)).has_value());
  backend.SocketsCleanup();
}

TEST(BackendSystem, ScreenMeasuresAgreeInPixels) {
  Win32Backend backend;
  const ScreenTwips screen = backend.Screen();
  platform::RECT desktop;
  ASSERT_NE(backend.WindowRect(backend.DesktopWindow(), desktop), 0);
  EXPECT_EQ(desktop.left, 0);
  EXPECT_EQ(desktop.top, 0);
  EXPECT_EQ(static_cast<int>(screen.width / screen.twipsPerPixelX + 0.5), desktop.right);
  EXPECT_EQ(static_cast<int>(screen.height / screen.twipsPerPixelY + 0.5), desktop.bottom);
}

TEST(BackendSystem, PinningKeepsTheThreadOnOneProcessorUntilUnpinned) {
  Win32Backend backend;
  const std::uint64_t before = backend.TimeStampCounter();
  Sleep(1);
  EXPECT_GT(backend.TimeStampCounter(), before);

  const std::optional<std::uint64_t> token = backend.PinToCurrentProcessor();
  ASSERT_TRUE(token.has_value());
  // Restoring by hand hands back the pinned mask: exactly one processor.
  const DWORD_PTR pinned = SetThreadAffinityMask(GetCurrentThread(), *token);
  EXPECT_EQ(std::bitset<64>(pinned).count(), 1u);
  backend.Unpin(*token);
  EXPECT_EQ(SetThreadAffinityMask(GetCurrentThread(), *token), *token);
}

}  // namespace
}  // namespace platform::win32
