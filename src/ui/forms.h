// The window system as the program's handlers see it: forms, their controls, events,
// timers, modal message boxes and event processing. What the native views and the window
// system's backends use besides is in ui/view_side.h; the program's windows never need it.
//
// It is a retained model that works without any screen. A native view (Win32 or FLTK)
// mirrors a loaded form onto a real window and feeds real input back as events; tests run
// the model with no view at all. The rules every part keeps:
//
//  1. Change events are synchronous and fire only on change.
//  2. A form loads on first use: showing it, or touching any property of any of its
//     controls, loads it (design values, then Form_Load).
//  3. Unloading never frees: the C++ form and its controls stay alive.
//  4. Handlers never throw; failing steps return a status that callers may ignore.
//  5. Modal message boxes keep timers running; DoEvents runs every pending event.
//  6. One thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/twips.h"
#include "platform/window_handle.h"

namespace ui {

struct Color {
  std::uint8_t r = 0, g = 0, b = 0;
  // The platform's colour for window backgrounds; r, g, b are ignored when set.
  bool systemWindow = false;
  // The platform's colour for button faces; r, g, b are ignored when set.
  bool systemButtonFace = false;

  static constexpr Color Rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color{r, g, b, false, false};
  }
  static constexpr Color Black() { return Rgb(0, 0, 0); }
  static constexpr Color White() { return Rgb(255, 255, 255); }
  static constexpr Color SystemWindow() { return Color{255, 255, 255, true, false}; }
  static constexpr Color ButtonFace() { return Color{240, 240, 240, false, true}; }
  friend constexpr bool operator==(const Color&, const Color&) = default;
};

struct Font {
  std::string name = "MS Sans Serif";
  double points = 8.25;
  bool bold = false;
  friend bool operator==(const Font&, const Font&) = default;
};

// The mouse pointer styles the program uses, with their conventional numbers.
enum class MousePointer : int { Default = 0, Hourglass = 11, Hand = 99 };

enum class Alignment { Left, Center };

// Pixels row by row from the top left, each 0xAARRGGBB; alpha 0 is transparent.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// A picture that the program shows in a control or as a window's icon: its pixels, painted
// the first time a view asks for them, so that every view draws the same. The program
// defines its pictures; the views only show them. Where the executable carries the picture
// as an icon resource (Windows), iconResource is its number, 0 otherwise.
class Picture {
 public:
  using Painter = Bitmap (*)();
  constexpr explicit Picture(Painter paint, int iconResource = 0)
      : paint_(paint), iconResource_(iconResource) {}
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  const Bitmap& Pixels() const;
  int IconResource() const { return iconResource_; }

 private:
  Painter paint_;
  int iconResource_;
  mutable std::optional<Bitmap> pixels_;
};

enum class ControlKind { Label, TextBox, ListBox, Button, PictureBox, Frame, Timer, DriveList };

class Control;
class Form;

// Every design-time property of a control. Controls are declared with designated
// initialisers, so the fields follow the order of a control table: where, what, how.
struct Design {
  Control* container = nullptr;  // a frame or picture box of the same form, or the form itself
  std::string caption{};         // caption of labels, buttons and frames; text of text boxes
  std::string toolTip{};
  platform::Twips left = 0;
  platform::Twips top = 0;
  platform::Twips width = 0;
  platform::Twips height = 0;
  Color foreColor = Color::Black();
  Color backColor = Color::SystemWindow();
  bool transparent = false;  // labels: draw no background
  Font font{};
  Alignment alignment = Alignment::Left;
  bool border = false;
  bool graphical = false;  // buttons: the style that allows a background colour of its own
  MousePointer mousePointer = MousePointer::Default;
  const Picture* picture = nullptr;
  bool visible = true;
  bool enabled = true;
  int interval = 0;  // timers, in milliseconds
};

// The program's title, which boxes without a title of their own show; empty until set.
void SetAppTitle(std::string_view title);

// Message box styles and answers.
inline constexpr int vbOKOnly = 0;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

// Shows a modal box owned by the active form; an empty title shows the program's title.
int MsgBox(std::string_view text, int style = vbOKOnly, std::string_view title = {});
// Runs every pending event, clicks included, nested in the caller.
void DoEvents();
// The same after sleeping until there is an event, a timer is due or maxMs have passed.
void WaitEvents(std::int64_t maxMs);
// Ends the program at once, closing every window without running further handlers.
void End();

// One control of a form. Every property access loads the form first (rule 2).
class Control {
 public:
  Control(Form& form, std::string name, ControlKind kind, Design design, int index = -1);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // Identity; these never load the form.
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // position in a control array, -1 for none
  ControlKind Kind() const { return kind_; }
  Form& Owner() const { return form_; }
  const Design& DesignValues() const { return design_; }
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int tabIndex) { tabIndex_ = tabIndex; }

  // Caption of labels, buttons and frames; text of text boxes. Both names reach one value.
  const std::string& Caption();
  void SetCaption(std::string caption);
  const std::string& Text() { return Caption(); }
  void SetText(std::string text) { SetCaption(std::move(text)); }

  const std::string& ToolTipText();
  void SetToolTipText(std::string toolTip);
  Color ForeColor();
  void SetForeColor(Color color);
  Color BackColor();
  void SetBackColor(Color color);
  bool Visible();
  void SetVisible(bool visible);
  bool Enabled();
  void SetEnabled(bool enabled);
  ui::MousePointer MousePointer();
  void SetMousePointer(ui::MousePointer pointer);
  platform::Twips Left();
  platform::Twips Top();
  platform::Twips Width();
  platform::Twips Height();

  // Gives the control the keyboard focus; false when it cannot take it (its form is not
  // shown, or it is a label, picture or frame).
  bool SetFocus();
  bool HasFocus();

  // Events; a handler that is not set does nothing.
  std::function<void()> Click;
  std::function<void()> DblClick;
  std::function<void()> MouseMove;
  std::function<void()> Change;

  // Raising events, for views and for code that presses a button.
  void RaiseClick();
  void RaiseDblClick();
  void RaiseMouseMove();

 protected:
  void Touch();  // loads the form if needed
  virtual void ResetToDesign();
  Design& State() { return state_; }

 private:
  friend class Form;
  friend class ViewAccess;
  Form& form_;
  std::string name_;
  ControlKind kind_;
  int index_;
  int tabIndex_ = 0;
  Design design_;
  Design state_;
};

class Label : public Control {
 public:
  Label(Form& form, std::string name, Design design, int index = -1)
      : Control(form, std::move(name), ControlKind::Label, std::move(design), index) {}
};

class Frame : public Control {
 public:
  Frame(Form& form, std::string name, Design design)
      : Control(form, std::move(name), ControlKind::Frame, std::move(design)) {}
};

class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name, Design design, int index = -1)
      : Control(form, std::move(name), ControlKind::PictureBox, std::move(design), index) {}
};

class CommandButton : public Control {
 public:
  CommandButton(Form& form, std::string name, Design design)
      : Control(form, std::move(name), ControlKind::Button, std::move(design)) {}
  // Setting the value to pressed runs the click handler, as a press in code does.
  void SetValue(bool pressed) {
    Touch();
    if (pressed) RaiseClick();
  }
};

class TextBox : public Control {
 public:
  TextBox(Form& form, std::string name, Design design)
      : Control(form, std::move(name), ControlKind::TextBox, std::move(design)) {}
  // The insertion point, in characters from the start.
  int SelStart();
  void SetSelStart(int position);

 protected:
  void ResetToDesign() override;

 private:
  int selStart_ = 0;
};

class ListBox : public Control {
 public:
  ListBox(Form& form, std::string name, Design design)
      : Control(form, std::move(name), ControlKind::ListBox, std::move(design)) {}
  void AddItem(std::string item);
  void Clear();
  int ListCount();
  // The entry at index, or the empty text for an index outside the list.
  std::string List(int index);
  const std::vector<std::string>& Items();
  int ListIndex();  // -1 when nothing is selected
  // Selects an entry and runs the click handler; on an index outside the list it fails
  // silently (returns false, raises nothing).
  bool SetListIndex(int index);

 protected:
  void ResetToDesign() override;

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

// The platform's standard drive selector; the view fills it, the model only places it.
class DriveListBox : public Control {
 public:
  DriveListBox(Form& form, std::string name, Design design)
      : Control(form, std::move(name), ControlKind::DriveList, std::move(design)) {}
};

class Timer : public Control {
 public:
  Timer(Form& form, std::string name, Design design);
  ~Timer() override;
  // Enabled starts the interval afresh; disabled stops it.
  using Control::Enabled;
  void SetEnabled(bool enabled);
  int Interval();
  std::function<void()> Tick;  // the Timer event

 protected:
  void ResetToDesign() override;

 private:
  friend class Form;
  friend class ViewAccess;
  std::int64_t dueMs_ = -1;  // -1: not running
};

struct FormDesign {
  std::string caption;
  platform::Twips clientWidth = 0;
  platform::Twips clientHeight = 0;
  Color backColor = Color::SystemWindow();
  // Dialog border (no minimise or maximise box) or fixed single border; neither resizes.
  bool dialogBorder = false;
  const Picture* icon = nullptr;
};

// A window. Subclasses declare their controls as members and wire their handlers.
class Form {
 public:
  Form(std::string name, FormDesign design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }
  const FormDesign& DesignValues() const { return design_; }

  // State without side effects.
  bool IsLoaded() const { return loaded_; }
  bool IsShown() const { return loaded_ && shown_; }

  // Loads the form if needed, then shows it modeless.
  void Show();
  // Hides the form; it stays loaded.
  void Hide();
  // Runs Form_QueryUnload, then hides and drops the native window and marks the form not
  // loaded. The form and its controls stay alive; the next use loads it again.
  void Unload();
  // Loads the form if it is not loaded (design values, then Form_Load).
  void EnsureLoaded();

  const std::string& Caption();
  void SetCaption(std::string caption);
  ui::MousePointer MousePointer();
  void SetMousePointer(ui::MousePointer pointer);
  // The native window handle, 0 without a view. Loads the form.
  platform::WindowHandle hWnd();

  // The controls in declaration order, and the tab order.
  const std::vector<Control*>& Controls() const { return controls_; }
  std::vector<Control*> TabOrder() const;
  // Sets the tab order explicitly; controls not named keep their places after these.
  void SetTabOrder(std::initializer_list<Control*> order);
  // Whether Tab stops at the control now: a kind that takes the focus, visible and enabled
  // together with every container it lies in. Where it lies does not count, so controls
  // placed below the client area, or below the visible part of their frame, are stops.
  bool IsTabStop(const Control& control) const;
  // The stops in tab order: the sequence Tab walks through in every view.
  std::vector<Control*> TabStops() const;
  // The stop that Tab (forward) or Shift+Tab reaches from `from`, going round the tab
  // order; `from` need not be a stop itself (nullptr: the first or the last stop).
  // nullptr when the form has no stop.
  Control* NextTabStop(const Control* from, bool forward) const;

 protected:
  virtual void Form_Load() {}
  virtual void Form_QueryUnload() {}

 private:
  friend class Control;
  friend class ViewAccess;
  // The native view of the loaded form, kept where the views' interface is known.
  struct Native;
  void Register(Control* control);
  void Unregister(Control* control);
  // Moves the view, if any, to the retired views.
  void RetireView();
  // Cuts every view of this form off from it, the current one (which retires) and those
  // it retired, before the form or one of its controls goes.
  void DetachViews();
  bool SetFocusTo(Control* control);

  std::string name_;
  FormDesign design_;
  std::vector<Control*> controls_;
  std::unique_ptr<Native> native_;
  std::string caption_;
  ui::MousePointer pointer_ = ui::MousePointer::Default;
  Control* focused_ = nullptr;
  bool loaded_ = false;
  bool loading_ = false;
  bool unloading_ = false;
  bool shown_ = false;
};

}  // namespace ui
