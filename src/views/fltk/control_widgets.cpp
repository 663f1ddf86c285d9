#include "platform/fltk/control_widgets.h"

#include <FL/Fl_Group.H>

namespace platform::fltk {

ControlWidget* MakeControlWidget(FltkFormView& view, Control& control) {
  // Widgets join their container later; none may attach itself to FLTK's current group.
  Fl_Group::current(nullptr);
  switch (control.Kind()) {
    case ControlKind::Label:
      return new LabelWidget(view, control);
    case ControlKind::Button:
      return new ButtonWidget(view, control);
    case ControlKind::PictureBox:
      return new PictureWidget(view, control);
    case ControlKind::Frame:
      return new FrameWidget(view, control);
    case ControlKind::TextBox:
      return new TextBoxWidget(view, control);
    case ControlKind::ListBox:
      return new ListBoxWidget(view, control);
    case ControlKind::DriveList:
      return new DriveListWidget(view, control);
    case ControlKind::Timer:
      return nullptr;
  }
  return nullptr;
}

}  // namespace platform::fltk
