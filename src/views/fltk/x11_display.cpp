#include "views/fltk/x11_display.h"

#include <FL/Fl_Window.H>
#include <FL/x.H>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace views::fltk {

DisplayProbe::DisplayProbe() : display_(XOpenDisplay(nullptr)) {
  // A server that is resetting (Xvfb does when its last client leaves) refuses connections
  // for a moment, so a named display gets a few more tries before it counts as unreachable.
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') return;
  for (int attempt = 1; display_ == nullptr && attempt < 5; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    display_ = XOpenDisplay(nullptr);
  }
}

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

}  // namespace views::fltk
