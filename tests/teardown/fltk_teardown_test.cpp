// Forms, views and the program torn down in every order, in the FLTK view on a virtual
// display, with the pointer over a control or off the windows: hiding and deleting a window
// moves FLTK's pointer and focus and sends the widgets below the mouse their events, and
// none of them may reach a form or control that is gone. The forms live in fenced pages,
// so that any read of one after its end faults at once, with or without AddressSanitizer.
#include <FL/Fl.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/program.h"
#include "support/fenced.h"
#include "tab_order/tab_walk.h"
#include "teardown/x_pointer.h"
#include "views/fltk/control_widget.h"
#include "views/fltk/form_view.h"
#include "views/fltk/ui_backend.h"
#include "views/fltk/x11_display.h"

namespace {

using support::Fenced;

// What reached a form's handlers, kept outside the form so that it can be read after the
// form is gone.
struct Heard {
  int moves = 0;
};

// A window with a label across its top, where a message box centred on the window leaves
// it uncovered, a button and a timer.
class HoverForm : public ui::Form {
 public:
  explicit HoverForm(Heard& heard)
      : Form("HoverForm", {.caption = "Schwebe", .clientWidth = 4500, .clientHeight = 3000}) {
    Target.MouseMove = [&heard] { ++heard.moves; };
  }

  ui::Label Target{
      *this, "Target", {.caption = "Ziel", .left = 0, .top = 0, .width = 4500, .height = 600}};
  ui::CommandButton Button{
      *this, "Button", {.caption = "OK", .left = 0, .top = 2400, .width = 1500, .height = 600}};
  ui::Timer Clock{*this, "Clock", {.enabled = false, .interval = 1}};
};

Fl_Widget* FindWidget(Fl_Group& group, const ui::Control& control) {
  for (int i = 0; i < group.children(); ++i) {
    Fl_Widget* child = group.child(i);
    auto* mirror = dynamic_cast<views::fltk::ControlWidget*>(child);
    if (mirror && &mirror->control() == &control) return child;
    if (Fl_Group* inner = child->as_group()) {
      if (Fl_Widget* found = FindWidget(*inner, control)) return found;
    }
  }
  return nullptr;
}

// The widget that shows the control in its form's current view.
Fl_Widget* WidgetOf(const ui::Control& control) {
  auto* view = dynamic_cast<views::fltk::FltkFormView*>(ViewOf(control.Owner()));
  return view ? FindWidget(view->window(), control) : nullptr;
}

enum class Pointer { OverTheControl, OffTheWindows };

std::string PointerName(const ::testing::TestParamInfo<Pointer>& info) {
  return info.param == Pointer::OverTheControl ? "OverTheControl" : "OffTheWindows";
}

// Puts the pointer over the control (its form shown) or in a corner of the screen, where
// no window is: windows come up in the middle.
bool PlacePointer(Pointer where, const ui::Control& control) {
  if (where == Pointer::OffTheWindows) {
    teardown::ParkPointer(1, 1);
    return true;
  }
  Fl_Widget* widget = WidgetOf(control);
  return widget && teardown::PointAt(*widget);
}

class FltkTeardown : public ::testing::TestWithParam<Pointer> {
 protected:
  FltkTeardown() { ui::SetUiBackend(&native_); }
  ~FltkTeardown() override {
    ui::SetUiBackend(nullptr);
    ui::CollectRetiredViews();
    teardown::Settle();
  }

  // Moves the pointer a little and runs the events, with the views of unloaded forms
  // collected in between, as the event loop does.
  void RunEvents() {
    teardown::JigglePointer();
    ui::CollectRetiredViews();
    teardown::JigglePointer();
  }

  views::fltk::FltkUi native_{views::fltk::ScreenUnits::FromDisplay()};
};

TEST_P(FltkTeardown, AFormUnloadedAndShownAgainByItsOwnHandlerThenDestroyedBeforeItsViews) {
  Heard heard;
  Fenced<HoverForm> form(heard);
  form->Button.Click = [&form] {
    form->Unload();
    // Unloading never frees: the handler goes on with its form, which loads again.
    form->Show();
  };
  form->Show();
  Fl_Widget* button = WidgetOf(form->Button);
  ASSERT_NE(button, nullptr);
  button->do_callback();  // the toolkit presses the button
  EXPECT_TRUE(form->IsShown());
  EXPECT_NE(WidgetOf(form->Button), button) << "the form shows through a new view";

  ASSERT_TRUE(PlacePointer(GetParam(), form->Target));
  if (GetParam() == Pointer::OverTheControl) {
    EXPECT_GT(heard.moves, 0);
  }
  const int heardBefore = heard.moves;
  // A fixture's wrong order: the form goes while its old view waits to be collected and
  // its new one is shown below the pointer.
  form.Destroy();
  RunEvents();
  EXPECT_EQ(heard.moves, heardBefore);
}

// The program's three windows, shown, and the pointer over a control of the one on top.
class FltkProgramTeardown : public FltkTeardown {
 protected:
  FltkProgramTeardown() { ui::SetUiBackend(&boxesAnswered_); }

  void ShowAllWindows() {
    program_->FormS.Show();
    program_->Form3.Show();
    program_->sucher1.Show();  // last, so on top
    ASSERT_TRUE(PlacePointer(GetParam(), program_->sucher1.Label12));
  }

  // Loading a window may show a box, which no one would answer here.
  tab_order::BoxesAnswered boxesAnswered_{native_};
  Fenced<belvosta::Program> program_;
};

TEST_P(FltkProgramTeardown, FormsDestroyedWithTheirWindowsShownTheViewsCollectedAfter) {
  ShowAllWindows();
  // The order the tab-order fixture had: the program, the window system, the views.
  program_.Destroy();
  ui::SetUiBackend(nullptr);
  RunEvents();
  EXPECT_EQ(Fl::first_window(), nullptr) << "no window of a destroyed form stays on screen";
}

TEST_P(FltkProgramTeardown, WindowsUnloadedAndCollectedBeforeTheProgramGoes) {
  ShowAllWindows();
  // Not the main window: unloading it ends the program.
  program_->FormS.Unload();
  program_->Form3.Unload();
  RunEvents();
  program_.Destroy();
  EXPECT_EQ(Fl::first_window(), nullptr);
  ui::SetUiBackend(nullptr);
  RunEvents();
}

TEST_P(FltkTeardown, AMessageBoxOpenWhileItsOwnerIsDestroyed) {
  Heard heard, keeperHeard;
  Fenced<HoverForm> owner(heard);
  // A form that stays: its timer ends the owner while the owner's box is open.
  HoverForm keeper(keeperHeard);
  owner->Show();
  ASSERT_TRUE(PlacePointer(GetParam(), owner->Target));
  int answer = 0;
  owner->Clock.Tick = [&] {
    owner->Clock.SetEnabled(false);
    keeper.Clock.SetEnabled(true);
    // The handler of a destroyed form may go on, but must not touch its form after this.
    answer = ui::MsgBox("Noch offen?", ui::vbYesNoCancel, "Belvosta");
  };
  keeper.Clock.Tick = [&] {
    keeper.Clock.SetEnabled(false);
    owner.Destroy();
    teardown::JigglePointer();
    if (Fl_Window* box = Fl::modal()) box->hide();
  };
  owner->Clock.SetEnabled(true);
  const int heardBefore = heard.moves;
  for (int round = 0; round < 1000 && answer == 0; ++round) native_.WaitEvents(10);
  EXPECT_EQ(answer, ui::vbCancel) << "a box closed without a button answers Cancel";
  EXPECT_FALSE(owner);
  RunEvents();
  EXPECT_EQ(heard.moves, heardBefore);
  EXPECT_TRUE(keeper.IsLoaded());
}

INSTANTIATE_TEST_SUITE_P(Pointer, FltkTeardown,
                         ::testing::Values(Pointer::OverTheControl, Pointer::OffTheWindows),
                         PointerName);
INSTANTIATE_TEST_SUITE_P(Pointer, FltkProgramTeardown,
                         ::testing::Values(Pointer::OverTheControl, Pointer::OffTheWindows),
                         PointerName);

// The program as static objects, with its windows shown at exit: the program goes first,
// then the window system, then the views that waited to be collected.
[[noreturn]] void ExitWithTheProgramShown() {
  static views::fltk::FltkUi native{views::fltk::ScreenUnits::FromDisplay()};
  static tab_order::BoxesAnswered ui{native};
  ui::SetUiBackend(&ui);
  static belvosta::Program program;
  program.FormS.Show();
  program.sucher1.Show();
  Fl_Widget* widget = WidgetOf(program.sucher1.Label12);
  if (!widget || !teardown::PointAt(*widget)) std::_Exit(2);
  std::exit(0);
}

TEST(FltkTeardownAtExit, TheProgramsStaticObjectsWithWindowsShown) {
  // This process keeps a connection while the child runs: Xvfb under xvfb-run resets when
  // its last client leaves, and would refuse the next test's connection for a moment.
  views::fltk::OpenDisplay();
  // A child process of its own, with its own connection to the display.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitWithTheProgramShown(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
