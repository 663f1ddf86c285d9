// user32: a machine without a screen. The Linux view answers these from the real display
// (fltk/screen_ops.cpp).
#include "platform/posix/system_backend.h"

namespace platform::posix {

WindowHandle PosixBackend::DesktopWindow() {
  return 0;
}

int PosixBackend::WindowRect(WindowHandle, RECT&) {
  return 0;
}

ScreenTwips PosixBackend::Screen() {
  return ScreenTwips{0, 0, 15, 15};
}

}  // namespace platform::posix
