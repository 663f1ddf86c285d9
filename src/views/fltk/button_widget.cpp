#include <FL/Fl.H>

#include "views/fltk/control_widgets.h"
#include "views/fltk/fl_drawing.h"

namespace views::fltk {

ButtonWidget::ButtonWidget(FltkFormView& view, ui::Control& control)
    : Fl_Button(0, 0, 0, 0), ControlWidget(view, control) {
  callback(Pressed);
  when(FL_WHEN_RELEASE);
}

void ButtonWidget::Pressed(Fl_Widget* widget, void*) {
  static_cast<ButtonWidget*>(widget)->RaiseClick();
}

void ButtonWidget::draw() {
  const ui::Design& state = ui::CurrentValues(control());
  const Fl_Color face = state.graphical ? Back() : FL_BACKGROUND_COLOR;
  const bool down = value() != 0;
  draw_box(down ? FL_DOWN_BOX : FL_UP_BOX, face);
  const FlFont font = CurrentFont();
  fl_font(font.face, font.size);
  fl_color(active_r() ? Fore() : fl_inactive(Fore()));
  // The caption moves a pixel down and right while the button is held, as on Windows.
  const int shift = down ? 1 : 0;
  DrawText(state.caption, x() + 4 + shift, y() + 3 + shift, w() - 8, h() - 6,
           FL_ALIGN_CENTER | FL_ALIGN_WRAP);
  if (Fl::focus() == this) draw_focus(FL_UP_BOX, x() + 1, y() + 1, w() - 2, h() - 2);
}

int ButtonWidget::handle(int event) {
  switch (event) {
    case FL_ENTER:
    case FL_MOVE:
      Fl_Button::handle(event);
      RaiseMouseMove();
      return 1;
    case FL_FOCUS: {
      const int taken = Fl_Button::handle(event);
      if (taken) TookFocus();
      return taken;
    }
    case FL_KEYBOARD: {
      // Enter presses the focused button, like the space bar.
      const int key = Fl::event_key();
      const bool plain = (Fl::event_state() & (FL_SHIFT | FL_CTRL | FL_ALT | FL_META)) == 0;
      if (Fl::focus() == this && plain && (key == FL_Enter || key == FL_KP_Enter)) {
        do_callback();
        return 1;
      }
      break;
    }
    default:
      break;
  }
  return Fl_Button::handle(event);
}

}  // namespace views::fltk
