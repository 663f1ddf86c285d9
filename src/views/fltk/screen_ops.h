// The POSIX operating-system backend, with the screen answered by the real display.
#pragma once

#include "platform/posix/system_backend.h"
#include "views/fltk/screen_units.h"

namespace views::fltk {

class FltkPosixBackend final : public platform::posix::PosixBackend {
 public:
  explicit FltkPosixBackend(const ScreenUnits& units) : units_(units) {}

  // The root window; its rectangle is the primary screen's, from 0, 0.
  platform::WindowHandle DesktopWindow() override;
  // The desktop's rectangle, or a shown window's outer rectangle; 0 for anything else.
  int WindowRect(platform::WindowHandle window, platform::RECT& rect) override;
  // The primary screen in twips, at the display's resolution.
  platform::ScreenTwips Screen() override;

 private:
  ScreenUnits units_;
};

}  // namespace views::fltk
