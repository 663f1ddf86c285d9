#include "views/fltk/control_widget.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "views/fltk/form_view.h"

namespace views::fltk {

const ScreenUnits& ControlWidget::units() const {
  return view_.units();
}

bool ControlWidget::Live() const {
  return view_.IsCurrent();
}

bool ControlWidget::TakesMouse() {
  // A disabled control (or one in a disabled container) raises no mouse events; FLTK
  // still passes moves to it.
  return Live() && Widget().active_r();
}

void ControlWidget::RaiseClick() {
  if (TakesMouse()) control_.RaiseClick();
}

void ControlWidget::RaiseDblClick() {
  if (TakesMouse()) control_.RaiseDblClick();
}

void ControlWidget::RaiseMouseMove() {
  if (TakesMouse()) control_.RaiseMouseMove();
}

void ControlWidget::TookFocus() {
  if (Live()) ui::FocusChangedByUser(control_.Owner(), &control_);
}

int ControlWidget::HandlePointer(int event) {
  Fl_Widget& widget = Widget();
  switch (event) {
    case FL_ENTER:
    case FL_MOVE:
      RaiseMouseMove();
      return 1;
    case FL_LEAVE:
      return 1;
    case FL_PUSH:
      if (Fl::event_button() != FL_LEFT_MOUSE) return 0;
      pressIsDouble_ = Fl::event_clicks() > 0;
      return 1;
    case FL_DRAG:
      return 1;
    case FL_RELEASE:
      if (Fl::event_button() != FL_LEFT_MOUSE || !Fl::event_inside(&widget)) return 1;
      if (pressIsDouble_) {
        RaiseDblClick();
      } else {
        RaiseClick();
      }
      return 1;
    default:
      return 0;
  }
}

void ControlWidget::Repaint() {
  Fl_Widget& widget = Widget();
  Fl_Window* window = widget.window();
  if (ui::CurrentValues(control_).transparent && window) {
    // Nothing of this control covers what lies behind it: repaint the whole area.
    window->damage(FL_DAMAGE_ALL, widget.x(), widget.y(), widget.w(), widget.h());
  } else {
    widget.redraw();
  }
}

void ControlWidget::Apply(ui::Property what) {
  Fl_Widget& widget = Widget();
  const ui::Design& state = ui::CurrentValues(control_);
  switch (what) {
    case ui::Property::ToolTip:
      // An empty tip (not none) keeps FLTK from showing the container's tip instead.
      widget.copy_tooltip(ToolTipText(state.toolTip).c_str());
      break;
    case ui::Property::Visible:
      if (state.visible) {
        widget.show();
        Repaint();
      } else {
        widget.hide();
      }
      break;
    case ui::Property::Enabled:
      if (state.enabled) {
        widget.activate();
      } else {
        widget.deactivate();
      }
      Repaint();
      break;
    case ui::Property::Focus:
      if (widget.window() && widget.window()->shown()) widget.take_focus();
      break;
    case ui::Property::MousePointer:
      view_.UpdateCursor();
      break;
    default:
      Repaint();
      break;
  }
}

void ControlWidget::ApplyAll() {
  for (ui::Property what : {ui::Property::Caption, ui::Property::ToolTip, ui::Property::Colors,
                            ui::Property::Font, ui::Property::Visible, ui::Property::Enabled,
                            ui::Property::Items, ui::Property::Selection, ui::Property::Picture}) {
    Apply(what);
  }
}

}  // namespace views::fltk
