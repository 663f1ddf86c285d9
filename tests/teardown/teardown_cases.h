// The teardown cases every view runs (teardown_cases.cpp): forms, views and the program torn
// down in every order, with the pointer over a control. Destroying a window moves the focus
// and the pointer's window and repaints what lay beneath: none of the events that follow may
// reach a form or control that is gone. The forms live in fenced pages, so that any read of
// one after its end faults at once.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "support/fenced.h"
#include "ui/view_side.h"

namespace teardown {

// A window with a label across its top, where a message box centred on the window leaves
// it uncovered, a button and a timer. What its label heard is counted outside the form, so
// that it can be read after the form is gone.
class HoverForm : public ui::Form {
 public:
  explicit HoverForm(int& moves)
      : Form("HoverForm", {.caption = "Schwebe", .clientWidth = 4500, .clientHeight = 3000}) {
    Target.MouseMove = [&moves] { ++moves; };
  }

  ui::Label Target{
      *this, "Target", {.caption = "Ziel", .left = 0, .top = 0, .width = 4500, .height = 600}};
  ui::CommandButton Button{
      *this, "Button", {.caption = "OK", .left = 0, .top = 2400, .width = 1500, .height = 600}};
  ui::Timer Clock{*this, "Clock", {.enabled = false, .interval = 1}};
};

// What each view's test supplies: its window system and the user's pointer and button.
class View {
 public:
  virtual ~View() = default;
  virtual ui::UiBackend& Native() = 0;
  // Puts the pointer over the middle of the control (its form shown) and runs the events
  // until its handler has heard of it (moves grew); false when it never does.
  virtual bool PointAt(const ui::Control& control, const int& moves) = 0;
  // Moves the pointer a little and back, running the events after each move.
  virtual void JigglePointer() = 0;
  // Presses the button in its form's current view, as the window system does.
  virtual void Press(const ui::CommandButton& button) = 0;
  // Closes the open message box without a button, as another handler may.
  virtual void CloseMessageBox() = 0;
  // Whether a window of a form is still on the screen.
  virtual bool AWindowIsShown() = 0;
};

std::unique_ptr<View> MakeView();

class Teardown : public ::testing::Test {
 protected:
  Teardown() { ui::SetUiBackend(&view_->Native()); }
  ~Teardown() override {
    ui::SetUiBackend(nullptr);
    ui::CollectRetiredViews();
  }
  // No event handler read a destroyed form, even where the system swallowed the fault.
  void TearDown() override { EXPECT_EQ(support::FencedFaults(), faultsBefore_); }

  // Collects the views of unloaded forms between runs of the events, as the event loop does.
  void RunEvents() {
    view_->JigglePointer();
    ui::CollectRetiredViews();
    view_->JigglePointer();
  }

  std::unique_ptr<View> view_ = MakeView();
  const int faultsBefore_ = support::FencedFaults();
};

// The program as static objects, with its windows shown at exit: the program goes first,
// then the window system, then the views that waited to be collected. Exits with 0, or
// with 2 when the pointer never got over the main window.
[[noreturn]] void ExitWithTheProgramShown();

}  // namespace teardown
