// Clocks, locale, screen and processor on the real system (the rest of the system data is
// in the contract suites, tests/contract/).
#include <gtest/gtest.h>

#include <bitset>
#include <string>

#include "platform/win32/system_backend.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

TEST(BackendSystem, ClocksAndLocaleReadTheSystem) {
  Win32Backend backend;

  std::int64_t frequency = 0, first = 0, second = 0;
  ASSERT_NE(backend.PerformanceFrequency(frequency), 0);
  ASSERT_NE(backend.PerformanceCounter(first), 0);
  const std::uint64_t ticks = backend.TickCount64();
  Sleep(20);
  ASSERT_NE(backend.PerformanceCounter(second), 0);
  EXPECT_GT(second, first);
  EXPECT_GE(backend.TickCount64(), ticks + 10);

  wchar_t separator[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8), 1);
  EXPECT_EQ(backend.DecimalSeparator(), Narrow(separator));
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
