#include "teardown/teardown_cases.h"

#include <cstdlib>

#include "app/program.h"
#include "tab_order/tab_walk.h"

namespace teardown {
namespace {

using support::Fenced;

TEST_F(Teardown, AFormUnloadedAndShownAgainByItsOwnHandlerThenDestroyedBeforeItsViews) {
  int moves = 0;
  Fenced<HoverForm> form(moves);
  form->Button.Click = [&form] {
    form->Unload();
    // Unloading never frees: the handler goes on with its form, which loads again.
    form->Show();
  };
  form->Show();
  const platform::WindowHandle oldWindow = form->hWnd();
  view_->Press(form->Button);
  EXPECT_TRUE(form->IsShown());
  EXPECT_NE(form->hWnd(), oldWindow) << "the form shows through a new view";

  ASSERT_TRUE(view_->PointAt(form->Target, moves));
  const int heardBefore = moves;
  // A fixture's wrong order: the form goes while its old view waits to be collected and
  // its new one is shown below the pointer.
  form.Destroy();
  EXPECT_FALSE(view_->AWindowIsShown()) << "a destroyed form's window goes with it";
  RunEvents();
  EXPECT_EQ(moves, heardBefore);
}

TEST_F(Teardown, AMessageBoxOpenWhileItsOwnerIsDestroyed) {
  int moves = 0, keeperMoves = 0;
  Fenced<HoverForm> owner(moves);
  // A form that stays: its timer ends the owner while the owner's box is open.
  HoverForm keeper(keeperMoves);
  owner->Show();
  ASSERT_TRUE(view_->PointAt(owner->Target, moves));
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
    view_->JigglePointer();
    view_->CloseMessageBox();
  };
  owner->Clock.SetEnabled(true);
  const int heardBefore = moves;
  for (int round = 0; round < 1000 && answer == 0; ++round) view_->Native().WaitEvents(10);
  EXPECT_EQ(answer, ui::vbCancel) << "a box closed without a button answers Cancel";
  EXPECT_FALSE(owner);
  RunEvents();
  EXPECT_EQ(moves, heardBefore);
  EXPECT_TRUE(keeper.IsLoaded());
}

// The program's three windows shown, the pointer over a control of the one on top: one is
// unloaded and collected before the program goes, the other two go with it while shown, the
// active one first, so that destroying it activates the other, whose form goes next.
TEST_F(Teardown, TheProgramDestroyedWithItsWindowsShownTheViewsCollectedAfter) {
  // Loading a window may show a box, which no one would answer here.
  tab_order::BoxesAnswered boxesAnswered{view_->Native()};
  ui::SetUiBackend(&boxesAnswered);
  Fenced<belvosta::Program> program;
  program->FormS.Show();
  program->sucher1.Show();
  program->Form3.Show();  // last, so active and on top; the program destroys it first
  int moves = 0;
  program->Form3.Label1.MouseMove = [&moves] { ++moves; };
  ASSERT_TRUE(view_->PointAt(program->Form3.Label1, moves));
  program->Form3.Label1.MouseMove = nullptr;
  program->FormS.Unload();  // not the main window: unloading that ends the program
  RunEvents();
  // The order the tab-order fixture had: the program, the window system, the views.
  program.Destroy();
  EXPECT_FALSE(view_->AWindowIsShown()) << "no window of a destroyed form stays on screen";
  ui::SetUiBackend(nullptr);
  RunEvents();
}

}  // namespace

void ExitWithTheProgramShown() {
  static const std::unique_ptr<View> view = MakeView();
  static tab_order::BoxesAnswered ui{view->Native()};
  ui::SetUiBackend(&ui);
  static belvosta::Program program;
  program.FormS.Show();
  program.sucher1.Show();
  static int moves = 0;
  program.sucher1.Label12.MouseMove = [] { ++moves; };
  if (!view->PointAt(program.sucher1.Label12, moves)) std::_Exit(2);
  std::exit(0);
}

}  // namespace teardown
