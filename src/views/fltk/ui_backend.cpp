#include "views/fltk/ui_backend.h"

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "views/fltk/form_view.h"
#include "views/fltk/message_box.h"

namespace views::fltk {
namespace {

// FLTK's way of saying "no time limit".
constexpr double kForever = 1e20;

}  // namespace

std::unique_ptr<ui::FormView> FltkUi::CreateView(ui::Form& form) {
  return std::make_unique<FltkFormView>(form, units_);
}

int FltkUi::MessageBox(ui::Form* owner, std::string_view text, int style, std::string_view title) {
  const Fl_Window* ownerWindow = nullptr;
  if (owner) {
    if (auto* view = dynamic_cast<FltkFormView*>(ui::ViewOf(*owner));
        view && view->window().shown()) {
      ownerWindow = &view->window();
    }
  }
  const int answer = RunMessageBox(*this, units_, ownerWindow, text, style, title);
  // As on Windows, the owner's focused control has the focus again once the box is gone;
  // a handler that ran meanwhile may have destroyed the owner.
  if (ui::FormExists(owner)) {
    if (auto* view = dynamic_cast<FltkFormView*>(ui::ViewOf(*owner));
        view && view->window().shown()) {
      view->FocusPreferredControl();
    }
  }
  return answer;
}

std::int64_t FltkUi::NowMs() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
}

void FltkUi::WaitOnce() {
  const std::int64_t due = ui::NextTimerDueMs();
  const double seconds =
      due < 0 ? kForever : static_cast<double>(std::max<std::int64_t>(0, due - NowMs())) / 1000.0;
  Fl::wait(seconds);
  ui::RunDueTimers(NowMs());
}

void FltkUi::DoEvents() {
  Fl::check();
  ui::RunDueTimers(NowMs());
  Fl::flush();
}

void FltkUi::WaitEvents(std::int64_t maxMs) {
  std::int64_t waitMs = maxMs;
  if (const std::int64_t due = ui::NextTimerDueMs(); due >= 0) {
    waitMs = std::min(waitMs, std::max<std::int64_t>(0, due - NowMs()));
  }
  // Returns at once when events are pending, after handling them.
  Fl::wait(static_cast<double>(waitMs) / 1000.0);
  ui::RunDueTimers(NowMs());
  Fl::flush();
}

void FltkUi::Run() {
  for (;;) {
    // The only place where no handler can be running: views of unloaded forms go here.
    ui::CollectRetiredViews();
    ui::RunDueTimers(NowMs());
    WaitOnce();
  }
}

void FltkUi::End() {
  std::vector<Fl_Window*> shown;
  for (Fl_Window* window = Fl::first_window(); window; window = Fl::next_window(window)) {
    shown.push_back(window);
  }
  for (Fl_Window* window : shown) window->hide();
  Fl::flush();
  std::fflush(nullptr);
  // At once: no handler of any window runs again, and no destructor of a form that a
  // handler further up the stack is still using.
  std::_Exit(0);
}

}  // namespace views::fltk
