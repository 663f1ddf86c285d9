// What the native views (Win32, FLTK) and the window system's backends use of the window
// model, besides what ui/forms.h gives the program's handlers: the view and backend
// interfaces, timer scheduling, the retired views, and the views' own calls on a form and
// its controls (their current state without loading the form, the user's focus and close).
// The program's windows never include this header.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ui/forms.h"

namespace ui {

// What changed, so that a view can update only what it must.
enum class Property {
  Caption,
  ToolTip,
  Colors,
  Font,
  Visible,
  Enabled,
  MousePointer,
  Items,
  Selection,
  Focus,
  Picture
};

// A native view of one loaded form. The window system creates one when a form loads and
// retires it when the form unloads; it never deletes a view while a handler may run on it.
// A view never outlives what it shows: when the form or one of its controls is destroyed,
// the form detaches every view of it first, and deletes them with itself.
class FormView {
 public:
  // Deleting a view detaches it first: the toolkit's last calls into its windows (the
  // pointer and focus moving elsewhere) reach nothing of the form.
  virtual ~FormView() = default;
  virtual void ControlChanged(Control& control, Property what) = 0;
  virtual void FormChanged(Property what) = 0;  // caption, pointer
  virtual void SetShown(bool shown) = 0;
  virtual platform::WindowHandle Handle() const = 0;
  // Cuts the view off from its form for good: its windows go out of sight and from now on
  // nothing of it reaches the form or its controls. Detaching twice does nothing more.
  virtual void Detach() = 0;
};

// The native side of the window system. The program installs one at start (Win32 or FLTK);
// tests install a fake with a virtual clock.
class UiBackend {
 public:
  virtual ~UiBackend() = default;
  // A view for a form that has just loaded; nullptr for none.
  virtual std::unique_ptr<FormView> CreateView(Form& form) = 0;
  // A modal box: blocks input to the program's windows but keeps timers ticking.
  virtual int MessageBox(Form* owner, std::string_view text, int style, std::string_view title) = 0;
  // Processes every pending event (input, paints, due timers), then returns.
  virtual void DoEvents() = 0;
  // The same, but when nothing is pending it first sleeps until input arrives, the next
  // timer is due or maxMs have passed.
  virtual void WaitEvents(std::int64_t maxMs) = 0;
  // Runs the event loop until the program ends.
  virtual void Run() = 0;
  // Ends the program at once, closing every window without running further handlers.
  virtual void End() = 0;
  // A clock in milliseconds that only moves forward, for timers.
  virtual std::int64_t NowMs() = 0;
};

// Installs the backend; the caller keeps ownership. Passing nullptr uninstalls it.
void SetUiBackend(UiBackend* backend);
UiBackend* GetUiBackend();

// Timer bookkeeping for backends: when the next enabled timer is due (or -1 for none), and
// running every timer that is due at nowMs.
std::int64_t NextTimerDueMs();
void RunDueTimers(std::int64_t nowMs);
// Drops the views of unloaded forms; backends call it when no handler is running.
void CollectRetiredViews();
// Whether the form still exists: a handler that runs while a message box is open may
// destroy the box's owner.
bool FormExists(const Form* form);

// Whether controls of this kind ever take the keyboard focus (text boxes, lists, buttons,
// drive lists).
bool KindTakesFocus(ControlKind kind);

// The form whose handler runs or whose window is active, as the owner of message boxes.
Form* ActiveForm();

// The model's state as the views read and change it; ui/forms.h makes it a friend of the
// forms and controls, so that none of this is part of the handlers' interface.
class ViewAccess {
 public:
  static const Design& CurrentValues(const Control& control) { return control.state_; }
  static FormView* ViewOf(const Form& form);
  static const std::string& CurrentCaption(const Form& form) { return form.caption_; }
  static MousePointer CurrentMousePointer(const Form& form) { return form.pointer_; }
  static Control* FocusedControl(const Form& form) { return form.focused_; }
  static void FocusChangedByUser(Form& form, Control* control) { form.focused_ = control; }

 private:
  friend std::int64_t NextTimerDueMs();
  friend void RunDueTimers(std::int64_t nowMs);
  static std::int64_t& DueMs(Timer& timer) { return timer.dueMs_; }
};

// A control's current values without loading its form, for views that mirror a loaded form.
inline const Design& CurrentValues(const Control& control) {
  return ViewAccess::CurrentValues(control);
}
// The form's view, or nullptr while it has none.
inline FormView* ViewOf(const Form& form) {
  return ViewAccess::ViewOf(form);
}
inline const std::string& CurrentCaption(const Form& form) {
  return ViewAccess::CurrentCaption(form);
}
inline MousePointer CurrentMousePointer(const Form& form) {
  return ViewAccess::CurrentMousePointer(form);
}
// The user closes the window (close box, system menu, Alt+F4).
inline void CloseRequested(Form& form) {
  form.Unload();
}
// The control that has the keyboard focus, or nullptr.
inline Control* FocusedControl(const Form& form) {
  return ViewAccess::FocusedControl(form);
}
inline void FocusChangedByUser(Form& form, Control* control) {
  ViewAccess::FocusChangedByUser(form, control);
}

}  // namespace ui
