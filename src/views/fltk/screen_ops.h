// The POSIX operating-system backend, with the screen answered by the real display.
#pragma once

#include "platform/fltk/screen_units.h"
#include "platform/posix/system_backend.h"

namespace platform::fltk {

class FltkPosixBackend final : public posix::PosixBackend {
 public:
  explicit FltkPosixBackend(const ScreenUnits& units) : units_(units) {}

  // The root window; its rectangle is the primary screen's, from 0, 0.
  WindowHandle DesktopWindow() override;
  // The desktop's rectangle, or a shown window's outer rectangle; 0 for anything else.
  int WindowRect(WindowHandle window, RECT& rect) override;
  // The primary screen in twips, at the display's resolution.
  ScreenTwips Screen() override;

 private:
  ScreenUnits units_;
};

}  // namespace platform::fltk
