#include "views/fltk/control_widgets.h"

#include <FL/Fl_Group.H>

namespace views::fltk {

ControlWidget* MakeControlWidget(FltkFormView& view, ui::Control& control) {
  // Widgets join their container later; none may attach itself to FLTK's current group.
  Fl_Group::current(nullptr);
  switch (control.Kind()) {
    case ui::ControlKind::Label:
      return new LabelWidget(view, control);
    case ui::ControlKind::Button:
      return new ButtonWidget(view, control);
    case ui::ControlKind::PictureBox:
      return new PictureWidget(view, control);
    case ui::ControlKind::Frame:
      return new FrameWidget(view, control);
    case ui::ControlKind::TextBox:
      return new TextBoxWidget(view, control);
    case ui::ControlKind::ListBox:
      return new ListBoxWidget(view, control);
    case ui::ControlKind::DriveList:
      return new DriveListWidget(view, control);
    case ui::ControlKind::Timer:
      return nullptr;
  }
  return nullptr;
}

}  // namespace views::fltk
