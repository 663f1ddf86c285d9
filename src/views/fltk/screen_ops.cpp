#include "views/fltk/screen_ops.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "views/fltk/x11_display.h"

namespace views::fltk {
namespace {

struct ScreenSize {
  int width = 0;
  int height = 0;
};

ScreenSize PrimaryScreen() {
  int x = 0, y = 0, w = 0, h = 0;
  Fl::screen_xywh(x, y, w, h, 0);
  return {w, h};
}

}  // namespace

platform::WindowHandle FltkPosixBackend::DesktopWindow() {
  return RootWindowId();
}

int FltkPosixBackend::WindowRect(platform::WindowHandle window, platform::RECT& rect) {
  if (window == 0) return 0;
  if (window == RootWindowId()) {
    const ScreenSize screen = PrimaryScreen();
    rect = {0, 0, screen.width, screen.height};
    return 1;
  }
  for (Fl_Window* shown = Fl::first_window(); shown; shown = Fl::next_window(shown)) {
    if (WindowId(*shown) != window) continue;
    rect = {shown->x_root(), shown->y_root(), shown->x_root() + shown->w(),
            shown->y_root() + shown->h()};
    return 1;
  }
  return 0;
}

platform::ScreenTwips FltkPosixBackend::Screen() {
  const ScreenSize screen = PrimaryScreen();
  return {screen.width * units_.TwipsPerPixelX(), screen.height * units_.TwipsPerPixelY(),
          units_.TwipsPerPixelX(), units_.TwipsPerPixelY()};
}

}  // namespace views::fltk
