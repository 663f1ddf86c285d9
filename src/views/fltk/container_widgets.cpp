#include <FL/Fl.H>

#include <algorithm>

#include "views/fltk/control_widgets.h"
#include "views/fltk/fl_drawing.h"

namespace views::fltk {

ContainerWidget::ContainerWidget(FltkFormView& view, ui::Control& control)
    : Fl_Group(0, 0, 0, 0), ControlWidget(view, control) {
  end();  // children are added by the view, never by FLTK's current-group rule
  clip_children(1);
}

void ContainerWidget::draw() {
  if (damage() & ~FL_DAMAGE_CHILD) DrawOwn();
  draw_children();  // clipped to the container (clip_children)
}

int ContainerWidget::handle(int event) {
  switch (event) {
    case FL_ENTER:
    case FL_MOVE:
      // A child under the mouse takes the move; the free area is the container's own,
      // which FLTK marks by making the container the widget below the mouse.
      Fl_Group::handle(event);
      return Fl::belowmouse() == this ? HandlePointer(event) : 1;
    case FL_PUSH:
      if (Fl_Group::handle(event)) return 1;
      return HandlePointer(event);
    case FL_RELEASE:
    case FL_DRAG:
    case FL_LEAVE:
      return HandlePointer(event);
    case FL_KEYBOARD:
      // The window moves the focus in the form's tab order, not FLTK's child order.
      return 0;
    default:
      return Fl_Group::handle(event);
  }
}

int PictureWidget::Inset() const {
  return ui::CurrentValues(control()).border ? Fl::box_dx(FL_DOWN_FRAME) : 0;
}

void PictureWidget::DrawOwn() {
  const ui::Design& state = ui::CurrentValues(control());
  const Fl_Color back = Back();
  fl_rectf(x(), y(), w(), h(), back);
  const int inset = Inset();
  if (state.picture != nullptr) {
    // The picture sits at the top left, cut off where the box ends.
    const Fl_RGB_Image* picture = PictureOn(*state.picture, back);
    const int width = std::min(picture->w(), w() - 2 * inset);
    const int height = std::min(picture->h(), h() - 2 * inset);
    if (width > 0 && height > 0) {
      const_cast<Fl_RGB_Image*>(picture)->draw(x() + inset, y() + inset, width, height, 0, 0);
    }
  }
  if (state.border) draw_box(FL_DOWN_FRAME, back);
}

void FrameWidget::DrawOwn() {
  const ui::Design& state = ui::CurrentValues(control());
  const Fl_Color back = Back();
  fl_rectf(x(), y(), w(), h(), back);
  const FlFont font = CurrentFont();
  fl_font(font.face, font.size);
  // The border runs through the middle of the caption's line.
  const int lineTop = y() + fl_height() / 2;
  draw_box(FL_ENGRAVED_FRAME, x(), lineTop, w(), h() - (lineTop - y()), back);
  std::string caption = DrawableText(state.caption);
  std::replace(caption.begin(), caption.end(), '\n', ' ');
  if (caption.empty()) return;
  const int textLeft = x() + 8;
  const int textWidth = std::min(static_cast<int>(fl_width(caption.c_str())) + 4, w() - 12);
  if (textWidth <= 0) return;
  fl_rectf(textLeft - 2, y(), textWidth, fl_height(), back);
  fl_color(active_r() ? Fore() : fl_inactive(Fore()));
  fl_push_clip(textLeft - 2, y(), textWidth, fl_height());
  fl_draw(caption.c_str(), static_cast<int>(caption.size()), textLeft,
          y() + fl_height() - fl_descent());
  fl_pop_clip();
}

}  // namespace views::fltk
