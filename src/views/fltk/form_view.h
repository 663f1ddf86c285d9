// The FLTK view of one loaded form: a fixed-size top-level window with one widget per
// control, kept in step with the model and feeding the user's input back to it.
//
// What of ui/view_side.h the FLTK view implements, and where:
//   - FormView (ControlChanged, FormChanged, SetShown, Handle, Detach): FltkFormView, here
//     and in form_view.cpp;
//   - UiBackend (CreateView, MessageBox, DoEvents, WaitEvents, Run, End, NowMs): FltkUi in
//     ui_backend.*, its boxes in message_box.*; its loop runs NextTimerDueMs and
//     RunDueTimers, and CollectRetiredViews at the top level;
//   - the views' calls on a form: CurrentValues (the widgets, control_widget.*),
//     CurrentCaption, CurrentMousePointer, CloseRequested, FocusedControl and the Tab order
//     (Form::NextTabStop) in form_view.cpp, FocusChangedByUser in control_widget.cpp.
#pragma once

#include <map>
#include <memory>

#include "ui/view_side.h"
#include "views/fltk/screen_units.h"

class Fl_Widget;
class Fl_Window;

namespace views::fltk {

class ControlWidget;
class FltkFormWindow;

class FltkFormView final : public ui::FormView {
 public:
  FltkFormView(ui::Form& form, const ScreenUnits& units);
  // Detaches, then deletes the window and its widgets; the window system calls it only
  // when no handler can still be running on them.
  ~FltkFormView() override;
  FltkFormView(const FltkFormView&) = delete;
  FltkFormView& operator=(const FltkFormView&) = delete;

  void ControlChanged(ui::Control& control, ui::Property what) override;
  void FormChanged(ui::Property what) override;
  void SetShown(bool shown) override;
  platform::WindowHandle Handle() const override;
  // Hides the window; from then on its widgets and the window itself never reach the form.
  void Detach() override;

  // False once the form has unloaded and retired this view, or detached it: its widgets
  // then ignore input.
  bool IsCurrent() const { return attached_ && ui::ViewOf(form_) == this; }
  ui::Form& form() const { return form_; }
  const ScreenUnits& units() const { return units_; }
  Fl_Window& window() const;

  // Shows the pointer that the form, or else the control under the mouse, asks for.
  void UpdateCursor();
  // Moves the keyboard focus to the form's next (or previous) tab stop, as Tab and
  // Shift+Tab do.
  void MoveFocus(bool forward);
  // Gives the focus to the control the form last had focused, else the first in tab order.
  bool FocusPreferredControl();
  // The widget that mirrors the control in this view, or null.
  ControlWidget* WidgetOf(const ui::Control* control) const;

 private:
  void BuildWidgets();
  // The control widget that a widget (or one of its parts) belongs to.
  ControlWidget* Owning(Fl_Widget* widget) const;

  ui::Form& form_;
  ScreenUnits units_;
  std::unique_ptr<FltkFormWindow> window_;
  std::map<const ui::Control*, ControlWidget*> widgets_;  // owned by the window's groups
  bool attached_ = true;
  bool placed_ = false;
  int cursorShown_ = -1;  // the cursor last set, to set it again only when it changes
};

}  // namespace views::fltk
