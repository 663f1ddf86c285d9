// What every FLTK widget that mirrors a control shares: its control, the view that made it,
// and the way user input goes back to the model.
#pragma once

#include <FL/Fl_Widget.H>

#include "ui/view_side.h"
#include "views/fltk/looks.h"

namespace views::fltk {

class FltkFormView;

class ControlWidget {
 public:
  ControlWidget(FltkFormView& view, ui::Control& control) : view_(view), control_(control) {}
  virtual ~ControlWidget() = default;
  ControlWidget(const ControlWidget&) = delete;
  ControlWidget& operator=(const ControlWidget&) = delete;

  virtual Fl_Widget& Widget() = 0;
  // Mirrors one changed property of the control (reads Control::Current, never loads).
  virtual void Apply(ui::Property what);
  // Mirrors every property, once after the widget is placed.
  void ApplyAll();
  // The pointer this control shows when neither it nor the form asks for another.
  virtual Fl_Cursor DefaultCursor() const { return FL_CURSOR_DEFAULT; }

  ui::Control& control() const { return control_; }
  FltkFormView& view() const { return view_; }
  const ScreenUnits& units() const;

 protected:
  // Input from the user reaches the model only while this widget's view is the form's
  // current one: a retired view (its form unloaded meanwhile) stays alive but is deaf.
  bool Live() const;
  bool TakesMouse();
  void RaiseClick();
  void RaiseDblClick();
  void RaiseMouseMove();
  void TookFocus();
  // Mouse input of the controls that are not buttons or text fields: a left press and
  // release over the control is a click (a double click when the press was the second of
  // two), moving over it is a mouse move. Returns 1 when the event was used.
  int HandlePointer(int event);

  // A redraw that also repaints what lies behind a control without a background.
  void Repaint();
  FlFont CurrentFont() const { return ToFlFont(ui::CurrentValues(control_).font, units()); }
  Fl_Color Fore() const { return ToFlColor(ui::CurrentValues(control_).foreColor); }
  Fl_Color Back() const { return ToFlColor(ui::CurrentValues(control_).backColor); }

  // Colours and font of a widget that draws its own text (list, text field, drive list);
  // true when `what` was one of them.
  template <class TextWidget>
  bool ApplyTextLooks(TextWidget& widget, ui::Property what) {
    if (what == ui::Property::Colors) {
      widget.color(Back());
      widget.textcolor(Fore());
    } else if (what == ui::Property::Font) {
      const FlFont font = CurrentFont();
      widget.textfont(font.face);
      widget.textsize(font.size);
    } else {
      return false;
    }
    widget.redraw();
    return true;
  }

 private:
  FltkFormView& view_;
  ui::Control& control_;
  bool pressIsDouble_ = false;
};

}  // namespace views::fltk
