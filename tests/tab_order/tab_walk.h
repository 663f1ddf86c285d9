// What the tab-order tests of every view share: the model's sequence of tab stops, a walk
// with real Tab presses through each of the program's windows, and a window system that
// answers message boxes at once (a window's load may show one) while a native view draws.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "ui/view_side.h"

namespace tab_order {

// A control's name as the sequences show it: "Picture2(3)" for a member of an array.
inline std::string StopName(const ui::Control* control) {
  if (control == nullptr) return "(none)";
  if (control->Index() < 0) return control->Name();
  return control->Name() + "(" + std::to_string(control->Index()) + ")";
}

// The model's tab stops, from the first round to the first again.
inline std::vector<std::string> ModelRound(const ui::Form& form) {
  std::vector<std::string> names;
  for (const ui::Control* stop : form.TabStops()) names.push_back(StopName(stop));
  if (!names.empty()) names.push_back(names.front());
  return names;
}

// Starts at the first stop and presses Tab (through pressTab) once per stop, so that the
// walk comes round to the first again; records where the model says the focus is.
inline std::vector<std::string> WalkRound(ui::Form& form, const std::function<void()>& pressTab) {
  std::vector<std::string> names;
  ui::Control* first = form.NextTabStop(nullptr, true);
  if (first == nullptr || !first->SetFocus()) return names;
  names.push_back(StopName(FocusedControl(form)));
  const std::size_t stops = form.TabStops().size();
  for (std::size_t press = 0; press < stops; ++press) {
    pressTab();
    names.push_back(StopName(FocusedControl(form)));
  }
  return names;
}

// The native window system with every message box answered OK without showing it.
class BoxesAnswered final : public ui::UiBackend {
 public:
  explicit BoxesAnswered(ui::UiBackend& native) : native_(native) {}
  std::unique_ptr<ui::FormView> CreateView(ui::Form& form) override {
    return native_.CreateView(form);
  }
  int MessageBox(ui::Form*, std::string_view, int, std::string_view) override { return ui::vbOK; }
  void DoEvents() override { native_.DoEvents(); }
  void WaitEvents(std::int64_t maxMs) override { native_.WaitEvents(maxMs); }
  void Run() override { native_.Run(); }
  void End() override { native_.End(); }
  std::int64_t NowMs() override { return native_.NowMs(); }

 private:
  ui::UiBackend& native_;
};

// Shows each of the program's windows in the native view and walks it with the view's Tab
// (pressTab, given the form): the focus must visit the model's stops and come round.
inline void ExpectEveryWindowFollowsTheModel(ui::UiBackend& native,
                                             const std::function<void(ui::Form&)>& pressTab) {
  BoxesAnswered ui{native};
  ui::SetUiBackend(&ui);
  auto program = std::make_unique<belvosta::Program>();
  for (ui::Form* form :
       std::initializer_list<ui::Form*>{&program->sucher1, &program->FormS, &program->Form3}) {
    SCOPED_TRACE(form->Name());
    form->Show();
    ui.DoEvents();
    EXPECT_EQ(WalkRound(*form, [&] { pressTab(*form); }), ModelRound(*form));
  }
  // The views of unloaded forms first, then the program, whose forms take their views
  // with them while the window system that made them is still installed.
  ui::CollectRetiredViews();
  program.reset();
  ui::SetUiBackend(nullptr);
}

}  // namespace tab_order
