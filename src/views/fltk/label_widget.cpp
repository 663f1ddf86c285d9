#include "views/fltk/control_widgets.h"
#include "views/fltk/fl_drawing.h"

namespace views::fltk {

LabelWidget::LabelWidget(FltkFormView& view, ui::Control& control)
    : Fl_Widget(0, 0, 0, 0), ControlWidget(view, control) {
  clear_visible_focus();  // labels never take the keyboard focus
}

void LabelWidget::draw() {
  const ui::Design& state = ui::CurrentValues(control());
  if (!state.transparent) fl_rectf(x(), y(), w(), h(), Back());
  int inset = 0;
  if (state.border) {
    draw_box(FL_DOWN_FRAME, Back());
    inset = Fl::box_dx(FL_DOWN_FRAME);
  }
  const FlFont font = CurrentFont();
  fl_font(font.face, font.size);
  fl_color(active_r() ? Fore() : fl_inactive(Fore()));
  // Labels wrap at blanks and start at the top, centred or from the left.
  Fl_Align align = FL_ALIGN_TOP | FL_ALIGN_WRAP;
  if (state.alignment == ui::Alignment::Left) align |= FL_ALIGN_LEFT;
  DrawText(state.caption, x() + inset, y() + inset, w() - 2 * inset, h() - 2 * inset, align);
}

int LabelWidget::handle(int event) {
  const int used = HandlePointer(event);
  return used ? used : Fl_Widget::handle(event);
}

}  // namespace views::fltk
