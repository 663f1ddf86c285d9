// One FLTK widget class per kind of control. Each draws itself from the control's current
// values and passes the user's input to the model through ControlWidget.
#pragma once

#include <FL/Fl_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Widget.H>

#include <string>
#include <vector>

#include "views/fltk/control_widget.h"

namespace views::fltk {

// A label: text on its background colour, or on whatever lies behind it when transparent.
class LabelWidget final : public Fl_Widget, public ControlWidget {
 public:
  LabelWidget(FltkFormView& view, ui::Control& control);
  Fl_Widget& Widget() override { return *this; }
  void draw() override;
  int handle(int event) override;
};

// A push button; the graphical style has a face in the control's own background colour.
class ButtonWidget final : public Fl_Button, public ControlWidget {
 public:
  ButtonWidget(FltkFormView& view, ui::Control& control);
  Fl_Widget& Widget() override { return *this; }
  void draw() override;
  int handle(int event) override;

 private:
  static void Pressed(Fl_Widget* widget, void*);
};

// Picture boxes and frames hold other controls; their children are clipped to them.
class ContainerWidget : public Fl_Group, public ControlWidget {
 public:
  ContainerWidget(FltkFormView& view, ui::Control& control);
  Fl_Widget& Widget() override { return *this; }
  void draw() override;
  int handle(int event) override;
  // Where the children's coordinates start, inside any border.
  virtual int Inset() const { return 0; }

 protected:
  // The container's own looks, drawn beneath its children.
  virtual void DrawOwn() = 0;
};

class PictureWidget final : public ContainerWidget {
 public:
  using ContainerWidget::ContainerWidget;
  int Inset() const override;

 protected:
  void DrawOwn() override;
};

// A frame looks like a Windows group box: an etched border with the caption set into its
// top edge.
class FrameWidget final : public ContainerWidget {
 public:
  using ContainerWidget::ContainerWidget;

 protected:
  void DrawOwn() override;
};

// A single-line text box; what the user types reaches the model, whose change handler runs.
class TextBoxWidget final : public Fl_Input, public ControlWidget {
 public:
  TextBoxWidget(FltkFormView& view, ui::Control& control);
  Fl_Widget& Widget() override { return *this; }
  void Apply(ui::Property what) override;
  Fl_Cursor DefaultCursor() const override { return FL_CURSOR_INSERT; }
  int handle(int event) override;

 private:
  static void Edited(Fl_Widget* widget, void*);
};

// A list box with one selectable entry; a click selects through the model, which raises
// the list's click event.
class ListBoxWidget final : public Fl_Hold_Browser, public ControlWidget {
 public:
  ListBoxWidget(FltkFormView& view, ui::Control& control);
  Fl_Widget& Widget() override { return *this; }
  void Apply(ui::Property what) override;
  int handle(int event) override;

 private:
  void SelectInModel(int line);
  void ShowSelection();
};

// The drive selector, filled with the drives the system reports.
class DriveListWidget final : public Fl_Choice, public ControlWidget {
 public:
  DriveListWidget(FltkFormView& view, ui::Control& control);
  Fl_Widget& Widget() override { return *this; }
  void Apply(ui::Property what) override;
  // Drawn as a Windows drop-down list: the whole field in the control's colours.
  void draw() override;
  int handle(int event) override;

 private:
  void FillDrives();
};

// The widget for a control, or nullptr for controls without one (timers).
ControlWidget* MakeControlWidget(FltkFormView& view, ui::Control& control);

}  // namespace views::fltk
