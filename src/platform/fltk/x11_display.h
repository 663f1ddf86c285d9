// The few X11 facts the views need. Kept apart because the X11 headers define macros
// (None, Status, Bool) that would clash with the window system's own names.
#pragma once

#include <cstdint>

class Fl_Window;

namespace platform::fltk {

// Whether the X display that DISPLAY names accepts a connection (tried and closed again).
bool DisplayReachable();
// Opens the display (FLTK ends the program with a message when there is none).
void OpenDisplay();
// The root window of the default screen.
std::uintptr_t RootWindowId();
// The X window of a shown FLTK window; 0 when it has none.
std::uintptr_t WindowId(Fl_Window& window);

}  // namespace platform::fltk
