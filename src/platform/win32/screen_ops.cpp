#include "platform/twips.h"
#include "platform/win32/later_windows.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {

WindowHandle Win32Backend::DesktopWindow() {
  return reinterpret_cast<WindowHandle>(::GetDesktopWindow());
}

int Win32Backend::WindowRect(WindowHandle window, RECT& rect) {
  ::RECT native{};
  if (!::GetWindowRect(reinterpret_cast<HWND>(window), &native)) return 0;
  rect.left = native.left;
  rect.top = native.top;
  rect.right = native.right;
  rect.bottom = native.bottom;
  return 1;
}

ScreenTwips Win32Backend::Screen() {
  // The primary screen in pixels, at the DPI the program's windows are laid out with.
  const double twipsPerPixel = TwipsPerPixel(WindowDpi(nullptr));
  ScreenTwips screen;
  screen.twipsPerPixelX = twipsPerPixel;
  screen.twipsPerPixelY = twipsPerPixel;
  screen.width = GetSystemMetrics(SM_CXSCREEN) * twipsPerPixel;
  screen.height = GetSystemMetrics(SM_CYSCREEN) * twipsPerPixel;
  return screen;
}

}  // namespace platform::win32
