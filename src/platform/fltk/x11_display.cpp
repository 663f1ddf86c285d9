#include "platform/fltk/x11_display.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>

namespace platform::fltk {

DisplayProbe::DisplayProbe() : display_(XOpenDisplay(nullptr)) {}

DisplayProbe::~DisplayProbe() {
  if (display_) XCloseDisplay(display_);
}

void OpenDisplay() {
  fl_open_display();
}

std::uintptr_t RootWindowId() {
  fl_open_display();
  return static_cast<std::uintptr_t>(RootWindow(fl_display, fl_screen));
}

std::uintptr_t WindowId(Fl_Window& window) {
  return window.shown() ? static_cast<std::uintptr_t>(fl_xid(&window)) : 0;
}

}  // namespace platform::fltk
