#include "teardown/x_pointer.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>

namespace teardown {

void Settle() {
  // A round trip makes the server send what it owes; then FLTK handles it.
  for (int round = 0; round < 3; ++round) {
    XSync(fl_display, False);
    Fl::check();
  }
}

bool PointAt(Fl_Widget& widget) {
  Fl_Window* window = widget.window();
  // A bound, not a time: the server maps a new window in its own time.
  for (int attempt = 0; attempt < 200; ++attempt) {
    Settle();
    if (window && window->shown() && fl_xid(window)) {
      XWarpPointer(fl_display, None, fl_xid(window), 0, 0, 0, 0, widget.x() + widget.w() / 2,
                   widget.y() + widget.h() / 2);
      Settle();
      if (Fl::belowmouse() == &widget) return true;
    }
    Fl::wait(0.01);
  }
  return false;
}

void JigglePointer() {
  XWarpPointer(fl_display, None, None, 0, 0, 0, 0, 1, 1);
  Settle();
  XWarpPointer(fl_display, None, None, 0, 0, 0, 0, -1, -1);
  Settle();
}

}  // namespace teardown
