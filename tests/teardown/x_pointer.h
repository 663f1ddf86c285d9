// The X pointer in the tests of the FLTK view, on a virtual display: put over a widget,
// with FLTK's idea of what lies below it brought up to date. Kept apart because the X11
// headers define macros (None, Status, Bool) that clash with the program's own names.
#pragma once

class Fl_Widget;

namespace teardown {

// Handles every event pending now, those the X server still owes for earlier requests
// included.
void Settle();
// Moves the pointer to the middle of the widget (whose window is shown) and handles events
// until FLTK has the widget below the mouse; false when it never gets there.
bool PointAt(Fl_Widget& widget);
// Moves the pointer by one pixel and back, so that whatever lies below it hears of it.
void JigglePointer();

}  // namespace teardown
