#include <FL/Fl.H>

#include "views/fltk/control_widgets.h"

namespace views::fltk {
namespace {

// A single-line box shows no line breaks or other control characters.
std::string SingleLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20) out.push_back(c);
  }
  return out;
}

// The byte offset of a character position in UTF-8 text.
int ByteOffset(const std::string& text, int characters) {
  int seen = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (startsCharacter && seen++ == characters) return static_cast<int>(i);
  }
  return static_cast<int>(text.size());
}

}  // namespace

TextBoxWidget::TextBoxWidget(FltkFormView& view, ui::Control& control)
    : Fl_Input(0, 0, 0, 0), ControlWidget(view, control) {
  box(FL_DOWN_BOX);
  when(FL_WHEN_CHANGED);
  callback(Edited);
}

void TextBoxWidget::Edited(Fl_Widget* widget, void*) {
  auto* self = static_cast<TextBoxWidget*>(widget);
  if (self->Live()) self->control().SetText(self->value());
}

void TextBoxWidget::Apply(ui::Property what) {
  const ui::Design& state = ui::CurrentValues(control());
  switch (what) {
    case ui::Property::Caption: {
      const std::string shown = SingleLine(state.caption);
      if (shown != value()) value(shown.c_str());
      break;
    }
    case ui::Property::Colors:
      cursor_color(Fore());
      ApplyTextLooks(*this, what);
      break;
    case ui::Property::Font:
      ApplyTextLooks(*this, what);
      break;
    case ui::Property::Selection: {
      if (auto* box = dynamic_cast<ui::TextBox*>(&control())) {
        position(ByteOffset(value(), box->SelStart()));
      }
      break;
    }
    default:
      ControlWidget::Apply(what);
      break;
  }
}

int TextBoxWidget::handle(int event) {
  switch (event) {
    case FL_ENTER:
    case FL_MOVE:
      // The window sets the pointer; FLTK's text field would set its own here.
      RaiseMouseMove();
      return 1;
    case FL_LEAVE:
      return 1;
    case FL_FOCUS: {
      const int taken = Fl_Input::handle(event);
      if (taken) TookFocus();
      return taken;
    }
    case FL_RELEASE: {
      // Text boxes have click events too; the field first handles its selection.
      const int used = Fl_Input::handle(event);
      if (Fl::event_button() == FL_LEFT_MOUSE && Fl::event_inside(this)) {
        if (Fl::event_clicks() > 0) {
          RaiseDblClick();
        } else {
          RaiseClick();
        }
      }
      return used;
    }
    default:
      return Fl_Input::handle(event);
  }
}

}  // namespace views::fltk
