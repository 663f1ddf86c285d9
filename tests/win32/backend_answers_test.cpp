// The answers of the Win32 backend are the system's own (their form, buffer handling and
// counters are in the contract suites, tests/contract/).
#include <gtest/gtest.h>

#include <bitset>
#include <string>

#include "platform/shell32.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

TEST(BackendSystem, AnswersAreTheSystemsOwn) {
  Win32Backend backend;
  ItemIdList* list = nullptr;
  ASSERT_EQ(backend.SpecialFolderLocation(0, kCsidlSystem, &list), 0);
  std::string path(512, ' ');
  EXPECT_EQ(backend.PathFromIdList(list, path), 1);
  wchar_t wide[MAX_PATH + 1] = {};
  GetSystemDirectoryW(wide, MAX_PATH + 1);
  EXPECT_EQ(std::string(path.c_str()), Narrow(wide));
  backend.FreeIdList(list);

  // The network neighbourhood is a virtual folder (Wine names it "::{GUID}").
  ItemIdList* network = nullptr;
  if (backend.SpecialFolderLocation(0, kCsidlNetwork, &network) == 0) {
    std::string none(512, ' ');
    EXPECT_EQ(backend.PathFromIdList(network, none), 0);
    EXPECT_EQ(none, std::string(512, ' '));
    backend.FreeIdList(network);
  } else {
    EXPECT_EQ(network, nullptr);
  }
  EXPECT_EQ(backend.DriveType("C:\\"), kDriveFixed);

  wchar_t separator[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8), 1);
  EXPECT_EQ(backend.DecimalSeparator(), Narrow(separator));

  // The screen in twips and the desktop window's rectangle in pixels agree.
  const ScreenTwips screen = backend.Screen();
  platform::RECT desktop;
  ASSERT_NE(backend.WindowRect(backend.DesktopWindow(), desktop), 0);
  EXPECT_EQ(desktop.left, 0);
  EXPECT_EQ(desktop.top, 0);
  EXPECT_EQ(static_cast<int>(screen.width / screen.twipsPerPixelX + 0.5), desktop.right);
  EXPECT_EQ(static_cast<int>(screen.height / screen.twipsPerPixelY + 0.5), desktop.bottom);

  // Pinning keeps the thread on one processor until it is unpinned.
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
