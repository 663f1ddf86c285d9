#include <FL/Fl.H>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "platform/kernel32.h"
#include "views/fltk/control_widgets.h"
#include "views/fltk/fl_drawing.h"

namespace views::fltk {
namespace {

// An entry as the browser shows it literally: one line, and a leading '@' escaped with
// "@.", which ends FLTK's formatting codes.
std::string EntryText(std::string_view item) {
  std::string line;
  for (char c : item) {
    if (c == '\t') {
      line.push_back(' ');
    } else if (static_cast<unsigned char>(c) >= 0x20) {
      line.push_back(c);
    }
  }
  if (!line.empty() && line.front() == '@') line.insert(0, "@.");
  return line;
}

void Ignore(Fl_Widget*, void*) {}

}  // namespace

// ---- ListBoxWidget ----

ListBoxWidget::ListBoxWidget(FltkFormView& view, ui::Control& control)
    : Fl_Hold_Browser(0, 0, 0, 0), ControlWidget(view, control) {
  end();
  box(FL_DOWN_BOX);
  has_scrollbar(VERTICAL);
  // Selection changes go to the model from handle(), not through FLTK's callback queue.
  callback(Ignore);
  when(FL_WHEN_NEVER);
}

void ListBoxWidget::Apply(ui::Property what) {
  auto* list = dynamic_cast<ui::ListBox*>(&control());
  switch (what) {
    case ui::Property::Items:
      clear();
      if (list) {
        for (const std::string& item : list->Items()) add(EntryText(item).c_str());
      }
      ShowSelection();
      break;
    case ui::Property::Selection:
      ShowSelection();
      break;
    case ui::Property::Colors:
    case ui::Property::Font:
      ApplyTextLooks(*this, what);
      break;
    default:
      ControlWidget::Apply(what);
      break;
  }
}

void ListBoxWidget::ShowSelection() {
  auto* list = dynamic_cast<ui::ListBox*>(&control());
  const int line = list ? list->ListIndex() + 1 : 0;
  if (line >= 1 && line <= size()) {
    select(line);
    if (!displayed(line)) make_visible(line);
  } else {
    deselect();
  }
  redraw();
}

void ListBoxWidget::SelectInModel(int line) {
  if (!Live()) return;
  if (auto* list = dynamic_cast<ui::ListBox*>(&control())) list->SetListIndex(line - 1);
}

int ListBoxWidget::handle(int event) {
  switch (event) {
    case FL_ENTER:
    case FL_MOVE:
      Fl_Hold_Browser::handle(event);
      RaiseMouseMove();
      return 1;
    case FL_FOCUS: {
      const int taken = Fl_Hold_Browser::handle(event);
      if (taken) TookFocus();
      return taken;
    }
    case FL_PUSH: {
      if (Fl::event_button() != FL_LEFT_MOUSE) break;
      int X, Y, W, H;
      bbox(X, Y, W, H);
      void* item = Fl::event_inside(X, Y, W, H) ? find_item(Fl::event_y()) : nullptr;
      const bool isDouble = Fl::event_clicks() > 0;
      const int used = Fl_Hold_Browser::handle(event);
      if (item) {
        // The first click selects (raising Click); the second of a double click raises
        // DblClick.
        if (isDouble) {
          RaiseDblClick();
        } else {
          SelectInModel(lineno(item));
        }
      }
      return used;
    }
    case FL_KEYBOARD: {
      const int before = value();
      const int used = Fl_Hold_Browser::handle(event);
      if (value() != before && value() > 0) SelectInModel(value());
      return used;
    }
    default:
      break;
  }
  return Fl_Hold_Browser::handle(event);
}

// ---- DriveListWidget ----

DriveListWidget::DriveListWidget(FltkFormView& view, ui::Control& control)
    : Fl_Choice(0, 0, 0, 0), ControlWidget(view, control) {
  callback(Ignore);
  when(FL_WHEN_NEVER);
  FillDrives();
}

void DriveListWidget::FillDrives() {
  // The roots come as "C:\" each ended by a NUL; the list shows them as "c:".
  std::array<char, 512> roots{};
  const unsigned length = platform::GetLogicalDriveStringsA(roots);
  if (length == 0 || length >= roots.size()) return;
  int current = -1;
  for (std::size_t i = 0; i < length; ++i) {
    const auto letter = static_cast<unsigned char>(roots[i]);
    const bool startsRoot = i == 0 || roots[i - 1] == '\0';
    if (!startsRoot || !std::isalpha(letter) || roots[i + 1] != ':') continue;
    const char name[3] = {static_cast<char>(std::tolower(letter)), ':', '\0'};
    const int index = add(name);
    if (current < 0 || name[0] == 'c') current = index;
  }
  if (current >= 0) value(current);
}

void DriveListWidget::Apply(ui::Property what) {
  switch (what) {
    case ui::Property::Colors:
    case ui::Property::Font:
      ApplyTextLooks(*this, what);
      break;
    default:
      ControlWidget::Apply(what);
      break;
  }
}

void DriveListWidget::draw() {
  const int dx = Fl::box_dx(FL_DOWN_BOX), dy = Fl::box_dy(FL_DOWN_BOX);
  draw_box(FL_DOWN_BOX, Back());
  const int innerH = h() - 2 * dy;
  const int buttonW = std::min(w() - 2 * dx, Fl::scrollbar_size());
  const int buttonX = x() + w() - dx - buttonW;
  draw_box(FL_UP_BOX, buttonX, y() + dy, buttonW, innerH, FL_BACKGROUND_COLOR);
  const Fl_Color ink = active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR);
  fl_color(ink);
  const int cx = buttonX + buttonW / 2, cy = y() + h() / 2;
  fl_polygon(cx - 3, cy - 1, cx + 3, cy - 1, cx, cy + 2);
  if (const Fl_Menu_Item* chosen = mvalue(); chosen && chosen->label()) {
    fl_font(textfont(), textsize());
    fl_color(active_r() ? Fore() : fl_inactive(Fore()));
    fl_push_clip(x() + dx, y() + dy, buttonX - x() - dx, innerH);
    const int baseline = y() + (h() + fl_height()) / 2 - fl_descent();
    fl_draw(chosen->label(), static_cast<int>(std::strlen(chosen->label())), x() + dx + 3,
            baseline);
    fl_pop_clip();
  }
  if (Fl::focus() == this) draw_focus(FL_DOWN_BOX, x(), y(), buttonX - x(), h());
}

int DriveListWidget::handle(int event) {
  switch (event) {
    case FL_ENTER:
    case FL_MOVE:
      Fl_Choice::handle(event);
      RaiseMouseMove();
      return 1;
    case FL_FOCUS: {
      // An empty choice refuses the focus in FLTK; a drive list without drives is still a
      // tab stop, as it is on Windows.
      const bool empty = menu() == nullptr || menu()->text == nullptr;
      const int taken = empty ? 1 : Fl_Choice::handle(event);
      if (empty) redraw();
      if (taken) TookFocus();
      return taken;
    }
    default:
      return Fl_Choice::handle(event);
  }
}

}  // namespace views::fltk
