// The few X11 facts the views need. Kept apart because the X11 headers define macros
// (None, Status, Bool) that would clash with the window system's own names.
#pragma once

#include <cstdint>

class Fl_Window;
struct _XDisplay;

namespace views::fltk {

// A connection of its own to the X display that DISPLAY names, if it is reachable. Hold it
// until FLTK has opened its connection: an X server that resets when its last client
// leaves (Xvfb under xvfb-run does) would refuse FLTK for a moment after this one left.
class DisplayProbe {
 public:
  DisplayProbe();
  ~DisplayProbe();
  DisplayProbe(const DisplayProbe&) = delete;
  DisplayProbe& operator=(const DisplayProbe&) = delete;

  bool Reachable() const { return display_ != nullptr; }

 private:
  _XDisplay* display_;
};
// Opens the display (FLTK ends the program with a message when there is none).
void OpenDisplay();
// The root window of the default screen.
std::uintptr_t RootWindowId();
// The X window of a shown FLTK window; 0 when it has none.
std::uintptr_t WindowId(Fl_Window& window);

}  // namespace views::fltk
