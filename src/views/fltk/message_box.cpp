#include "views/fltk/message_box.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Double_Window.H>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "ui/view_side.h"
#include "views/fltk/fl_drawing.h"
#include "views/fltk/looks.h"
#include "views/fltk/ui_backend.h"

namespace views::fltk {
namespace {

struct Choice {
  const char* label;  // '&' marks the key that presses it
  const char* name;   // as the clipboard shows it
  int answer;
};

struct ButtonSet {
  std::vector<Choice> choices;
  int closeAnswer;  // closing the box (close box, Escape) answers this
};

ButtonSet ButtonsFor(int style) {
  if ((style & 0x0F) == ui::vbYesNoCancel) {
    return {{{"&Ja", "Ja", ui::vbYes},
             {"&Nein", "Nein", ui::vbNo},
             {"Abbrechen", "Abbrechen", ui::vbCancel}},
            ui::vbCancel};
  }
  return {{{"OK", "OK", ui::vbOK}}, ui::vbOK};
}

// Byte length of the UTF-8 sequence that starts with c (1 for stray bytes).
std::size_t SequenceLength(unsigned char c) {
  if (c >= 0xC0 && c < 0xE0) return 2;
  if (c >= 0xE0 && c < 0xF0) return 3;
  if (c >= 0xF0 && c < 0xF8) return 4;
  return 1;
}

// Lays out text in the current font: lines break at line ends and wrap at blanks to fit
// a width; tabs jump to stops every eight average character widths, as Windows does.
class TextLayout {
 public:
  TextLayout(std::string_view text, int maxWidth) : maxWidth_(maxWidth) {
    const char* sample = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    tabWidth_ = std::max(1, static_cast<int>(fl_width(sample) / 52.0 * 8.0 + 0.5));
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = text.find('\n', start);
      Wrap(text.substr(start, end == std::string_view::npos ? end : end - start));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
  }

  const std::vector<std::string>& Lines() const { return lines_; }
  int Width() const { return width_; }

  // Draws one line with its tabs expanded, its text starting at x.
  void DrawLine(const std::string& line, int x, int baseline) const {
    double at = 0;
    std::size_t start = 0;
    while (start <= line.size()) {
      const std::size_t tab = std::min(line.find('\t', start), line.size());
      fl_draw(line.data() + start, static_cast<int>(tab - start), x + static_cast<int>(at),
              baseline);
      at += fl_width(line.data() + start, static_cast<int>(tab - start));
      if (tab == line.size()) break;
      at = NextStop(at);
      start = tab + 1;
    }
  }

 private:
  double NextStop(double at) const { return (static_cast<int>(at) / tabWidth_ + 1) * tabWidth_; }

  double Measure(std::string_view line) const {
    double at = 0;
    for (std::size_t i = 0; i < line.size();) {
      const std::size_t n =
          std::min(SequenceLength(static_cast<unsigned char>(line[i])), line.size() - i);
      at = line[i] == '\t' ? NextStop(at) : at + fl_width(line.data() + i, static_cast<int>(n));
      i += n;
    }
    return at;
  }

  void Keep(std::string_view line) {
    while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
    lines_.emplace_back(line);
    width_ = std::max(width_, static_cast<int>(Measure(line) + 0.5));
  }

  // Breaks one line into pieces that fit, at the last blank that fits (or, in a word
  // longer than the width, wherever it must).
  void Wrap(std::string_view line) {
    double at = 0;
    std::size_t lastBlank = std::string_view::npos;
    for (std::size_t i = 0; i < line.size();) {
      const std::size_t n =
          std::min(SequenceLength(static_cast<unsigned char>(line[i])), line.size() - i);
      const double next =
          line[i] == '\t' ? NextStop(at) : at + fl_width(line.data() + i, static_cast<int>(n));
      if (next > maxWidth_ && i > 0) {
        const std::size_t cut = lastBlank != std::string_view::npos ? lastBlank : i;
        Keep(line.substr(0, cut));
        line.remove_prefix(cut);
        while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
        at = 0;
        lastBlank = std::string_view::npos;
        i = 0;
        continue;
      }
      if (line[i] == ' ') lastBlank = i + 1;
      at = next;
      i += n;
    }
    Keep(line);
  }

  int maxWidth_;
  int tabWidth_ = 8;
  int width_ = 0;
  std::vector<std::string> lines_;
};

// The text area of the box.
class MessageText final : public Fl_Widget {
 public:
  MessageText(int x, int y, int w, int h, const TextLayout& layout, int fontSize)
      : Fl_Widget(x, y, w, h), layout_(layout), fontSize_(fontSize) {}

  void draw() override {
    fl_font(FL_HELVETICA, fontSize_);
    fl_color(FL_FOREGROUND_COLOR);
    fl_push_clip(x(), y(), w(), h());
    int baseline = y() + fl_height() - fl_descent();
    for (const std::string& line : layout_.Lines()) {
      if (baseline - fl_height() > y() + h()) break;
      layout_.DrawLine(line, x(), baseline);
      baseline += fl_height();
    }
    fl_pop_clip();
  }

 private:
  const TextLayout& layout_;
  int fontSize_;
};

// A box button: Enter presses the focused one, as the space bar does.
class BoxButton final : public Fl_Button {
 public:
  BoxButton(int x, int y, int w, int h, const char* label) : Fl_Button(x, y, w, h, label) {}

  int handle(int event) override {
    const int key = Fl::event_key();
    if (event == FL_KEYBOARD && Fl::focus() == this && (key == FL_Enter || key == FL_KP_Enter)) {
      do_callback();
      return 1;
    }
    return Fl_Button::handle(event);
  }
};

// The box's window: Ctrl+C copies its contents.
class BoxWindow final : public Fl_Double_Window {
 public:
  BoxWindow(int w, int h, std::string clipboard)
      : Fl_Double_Window(w, h), clipboard_(std::move(clipboard)) {}

  int handle(int event) override {
    const int key = Fl::event_key();
    if ((event == FL_KEYBOARD || event == FL_SHORTCUT) && Fl::event_state(FL_CTRL) &&
        (key == 'c' || key == FL_Insert)) {
      Fl::copy(clipboard_.data(), static_cast<int>(clipboard_.size()), 1);
      return 1;
    }
    return Fl_Double_Window::handle(event);
  }

  int answer = 0;

 private:
  std::string clipboard_;
};

// The callback of the buttons and of the window itself (closing it): the answer travels
// as the callback's data, so nothing outside the window is pointed to.
void Answer(Fl_Widget* widget, void* answer) {
  Fl_Window* window = widget->as_window() ? widget->as_window() : widget->window();
  auto* box = dynamic_cast<BoxWindow*>(window);
  if (!box) return;
  box->answer = static_cast<int>(reinterpret_cast<std::intptr_t>(answer));
  box->hide();
}

void* AsData(int answer) {
  return reinterpret_cast<void*>(static_cast<std::intptr_t>(answer));
}

}  // namespace

std::string MessageBoxClipboardText(std::string_view title, std::string_view text,
                                    const std::vector<std::string>& buttons) {
  const std::string rule = "---------------------------\r\n";
  std::string out = rule;
  out.append(title).append("\r\n").append(rule);
  out.append(text).append("\r\n").append(rule);
  for (const std::string& button : buttons) out.append(button).append("   ");
  out.append("\r\n").append(rule);
  return out;
}

int RunMessageBox(FltkUi& ui, const ScreenUnits& units, const Fl_Window* owner,
                  std::string_view text, int style, std::string_view title) {
  const ButtonSet set = ButtonsFor(style);
  const double scale = units.dpiY / kFallbackDpi;
  auto px = [scale](double pixelsAt96) { return static_cast<int>(pixelsAt96 * scale + 0.5); };
  const int fontSize = units.FontPixels(9);
  const int margin = px(12), top = px(16), gap = px(6), bottom = px(11);
  const int buttonHeight = px(23);

  int screenX = 0, screenY = 0, screenW = 0, screenH = 0;
  Fl::screen_work_area(screenX, screenY, screenW, screenH, 0);

  fl_font(FL_HELVETICA, fontSize);
  const TextLayout layout(DrawableText(text), std::max(px(240), screenW * 3 / 5));
  int buttonWidth = px(75);
  for (const Choice& choice : set.choices) {
    buttonWidth = std::max(buttonWidth, static_cast<int>(fl_width(choice.name)) + px(16));
  }
  const int count = static_cast<int>(set.choices.size());
  const int rowWidth = count * buttonWidth + (count - 1) * gap;
  const std::string shownTitle = DrawableText(title);
  const int titleWidth = std::min(static_cast<int>(fl_width(shownTitle.c_str())) + px(60), screenW);
  const int width = std::max({layout.Width() + 2 * margin, rowWidth + 2 * margin, titleWidth});
  const int textHeight = static_cast<int>(layout.Lines().size()) * fl_height();
  // A text taller than the screen is cut off at the bottom rather than pushing the
  // buttons out of reach.
  const int fixedHeight = top + px(14) + buttonHeight + bottom;
  const int height = std::min(fixedHeight + textHeight, std::max(fixedHeight, screenH - px(40)));

  std::vector<std::string> names;
  for (const Choice& choice : set.choices) names.emplace_back(choice.name);
  Fl_Group::current(nullptr);
  auto window =
      std::make_unique<BoxWindow>(width, height, MessageBoxClipboardText(title, text, names));
  window->copy_label(shownTitle.c_str());
  new MessageText(margin, top, width - 2 * margin, height - fixedHeight, layout, fontSize);
  std::vector<Fl_Button*> buttons;
  int left = (width - rowWidth) / 2;
  for (const Choice& choice : set.choices) {
    auto* button = new BoxButton(left, height - bottom - buttonHeight, buttonWidth, buttonHeight,
                                 choice.label);
    button->labelsize(fontSize);
    button->callback(Answer, AsData(choice.answer));
    buttons.push_back(button);
    left += buttonWidth + gap;
  }
  window->end();
  window->callback(Answer, AsData(set.closeAnswer));
  window->answer = set.closeAnswer;

  int x = screenX + (screenW - width) / 2, y = screenY + (screenH - height) / 2;
  if (owner) {
    x = owner->x() + (owner->w() - width) / 2;
    y = owner->y() + (owner->h() - height) / 2;
  }
  x = std::clamp(x, screenX, std::max(screenX, screenX + screenW - width));
  y = std::clamp(y, screenY, std::max(screenY, screenY + screenH - height));
  window->position(x, y);
  window->set_modal();
  window->show();
  buttons.front()->take_focus();
  while (window->shown()) ui.WaitOnce();
  return window->answer;
}

}  // namespace views::fltk
