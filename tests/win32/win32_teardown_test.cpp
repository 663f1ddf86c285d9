// Forms, views and the program torn down in every order, real windows under Wine, with the
// pointer over a control or off the windows. Destroying a window activates another, moves
// the focus and the pointer's window, and repaints what lay beneath: none of the messages
// that follow may reach a form or control that is gone. The forms live in fenced pages,
// so that any read of one after its end faults at once.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/program.h"
#include "support/fenced.h"
#include "tab_order/tab_walk.h"
#include "views/win32/form_view.h"
#include "views/win32/ui_backend.h"

namespace views::win32 {
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
      : ui::Form("HoverForm", {.caption = "Schwebe", .clientWidth = 4500, .clientHeight = 3000}) {
    Target.MouseMove = [&heard] { ++heard.moves; };
  }

  ui::Label Target{
      *this, "Target", {.caption = "Ziel", .left = 0, .top = 0, .width = 4500, .height = 600}};
  ui::CommandButton Button{
      *this, "Button", {.caption = "OK", .left = 0, .top = 2400, .width = 1500, .height = 600}};
  ui::Timer Clock{*this, "Clock", {.enabled = false, .interval = 1}};
};

// The native window of a control in its form's current view: its number is 1000 plus its
// place in the form.
HWND NativeOf(const ui::Control& control) {
  const auto& controls = control.Owner().Controls();
  ui::FormView* view = ui::ViewOf(control.Owner());
  for (std::size_t i = 0; view && i < controls.size(); ++i) {
    if (controls[i] != &control) continue;
    struct Search {
      int id;
      HWND found;
    } search{Win32FormView::kFirstControlId + static_cast<int>(i), nullptr};
    // All descendants: controls inside a frame are its children, not the form's.
    EnumChildWindows(
        reinterpret_cast<HWND>(view->Handle()),
        [](HWND window, LPARAM data) CALLBACK -> BOOL {
          auto* s = reinterpret_cast<Search*>(data);
          if (GetDlgCtrlID(window) != s->id) return TRUE;
          s->found = window;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  return nullptr;
}

// Runs the messages of a while, pointer moves and repaints included, which Wine delivers
// as its X server sends them.
void Pump(ui::UiBackend& ui) {
  for (int round = 0; round < 20; ++round) {
    ui.DoEvents();
    Sleep(2);
  }
}

// Moves the pointer a pixel and back, running the messages after each move.
void JigglePointer(ui::UiBackend& ui) {
  POINT at{};
  GetCursorPos(&at);
  SetCursorPos(at.x + 1, at.y + 1);
  Pump(ui);
  SetCursorPos(at.x, at.y);
  Pump(ui);
}

enum class Pointer { OverTheControl, OffTheWindows };

std::string PointerName(const ::testing::TestParamInfo<Pointer>& info) {
  return info.param == Pointer::OverTheControl ? "OverTheControl" : "OffTheWindows";
}

class Win32Teardown : public ::testing::TestWithParam<Pointer> {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
  }
  Win32Teardown() { ui::SetUiBackend(&native_); }
  ~Win32Teardown() override {
    ui::SetUiBackend(nullptr);
    ui::CollectRetiredViews();
  }
  // No window procedure read a destroyed form, even where the system swallowed the fault.
  void TearDown() override { EXPECT_EQ(support::FencedFaults(), faultsBefore_); }

  // Puts the pointer over the middle of the control (its form shown) or in the bottom right
  // corner of the screen, where no window is; true once the control's window has heard of it (moves
  // counts what its handler heard; the bound is the messages' way through Wine).
  bool PlacePointer(const ui::Control& control, const int& moves) {
    if (GetParam() == Pointer::OffTheWindows) {
      SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
      Pump(native_);
      return true;
    }
    const HWND window = NativeOf(control);
    RECT area{};
    if (!window || !GetWindowRect(window, &area)) return false;
    const int before = moves;
    for (int attempt = 0; attempt < 200 && moves == before; ++attempt) {
      // Windows sends no move for a pointer that stays where it is.
      SetCursorPos((area.left + area.right) / 2 + attempt % 2, (area.top + area.bottom) / 2);
      Pump(native_);
    }
    return moves > before;
  }

  // Collects the views of unloaded forms between runs of the messages, as the message
  // loop does.
  void RunEvents() {
    JigglePointer(native_);
    ui::CollectRetiredViews();
    JigglePointer(native_);
  }

  Win32Ui native_;
  const int faultsBefore_ = support::FencedFaults();
};

TEST_P(Win32Teardown, AFormUnloadedAndShownAgainByItsOwnHandlerThenDestroyedBeforeItsViews) {
  Heard heard;
  Fenced<HoverForm> form(heard);
  form->Button.Click = [&form] {
    form->Unload();
    // Unloading never frees: the handler goes on with its form, which loads again.
    form->Show();
  };
  form->Show();
  const HWND oldWindow = reinterpret_cast<HWND>(form->hWnd());
  SendMessageW(NativeOf(form->Button), BM_CLICK, 0, 0);
  EXPECT_TRUE(form->IsShown());
  const HWND newWindow = reinterpret_cast<HWND>(form->hWnd());
  EXPECT_NE(newWindow, oldWindow);

  ASSERT_TRUE(PlacePointer(form->Target, heard.moves));
  const int heardBefore = heard.moves;
  // A fixture's wrong order: the form goes while its old view waits to be collected and
  // its new one is shown below the pointer.
  form.Destroy();
  EXPECT_FALSE(IsWindow(newWindow)) << "a destroyed form's window goes with it";
  RunEvents();
  EXPECT_FALSE(IsWindow(oldWindow));
  EXPECT_EQ(heard.moves, heardBefore);
}

TEST_P(Win32Teardown, TwoFormsDestroyedWithTheirWindowsShownTheActiveOneFirst) {
  Heard behindHeard, activeHeard;
  Fenced<HoverForm> behind(behindHeard);
  Fenced<HoverForm> active(activeHeard);
  behind->Show();
  active->Show();
  // Side by side, so that the pointer can be over the one behind.
  const HWND behindWindow = reinterpret_cast<HWND>(behind->hWnd());
  SetWindowPos(behindWindow, nullptr, 0, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(reinterpret_cast<HWND>(active->hWnd()), nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(PlacePointer(behind->Target, behindHeard.moves));
  const int heardBefore = behindHeard.moves;
  // Destroying the active window activates the one behind it, whose form is gone too.
  active.Destroy();
  behind.Destroy();
  RunEvents();
  EXPECT_FALSE(IsWindow(behindWindow));
  EXPECT_EQ(behindHeard.moves, heardBefore);
}

TEST_P(Win32Teardown, AMessageBoxOpenWhileItsOwnerIsDestroyed) {
  Heard heard, keeperHeard;
  Fenced<HoverForm> owner(heard);
  // A form that stays: its timer ends the owner while the owner's box is open.
  HoverForm keeper(keeperHeard);
  owner->Show();
  ASSERT_TRUE(PlacePointer(owner->Target, heard.moves));
  int answer = 0;
  owner->Clock.Tick = [&] {
    owner->Clock.SetEnabled(false);
    keeper.Clock.SetEnabled(true);
    // The handler of a destroyed form may go on, but must not touch its form after this.
    answer = ui::MsgBox("Noch offen?", ui::vbYesNoCancel, "Belvosta");
  };
  keeper.Clock.Tick = [&] {
    keeper.Clock.SetEnabled(false);
    const HWND box = FindWindowW(L"#32770", L"Belvosta");
    owner.Destroy();
    JigglePointer(native_);
    if (IsWindow(box)) PostMessageW(box, WM_CLOSE, 0, 0);
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

INSTANTIATE_TEST_SUITE_P(Pointer, Win32Teardown,
                         ::testing::Values(Pointer::OverTheControl, Pointer::OffTheWindows),
                         PointerName);

// The program's three windows, shown, and the pointer over a control of the one on top.
class Win32ProgramTeardown : public Win32Teardown {
 protected:
  Win32ProgramTeardown() { ui::SetUiBackend(&boxesAnswered_); }

  void ShowAllWindows() {
    program_->FormS.Show();
    program_->Form3.Show();
    program_->sucher1.Show();  // last, so active and on top
    int moves = 0;
    program_->sucher1.Label12.MouseMove = [&moves] { ++moves; };
    ASSERT_TRUE(PlacePointer(program_->sucher1.Label12, moves));
    program_->sucher1.Label12.MouseMove = nullptr;
  }

  // Loading a window may show a box, which no one would answer here.
  tab_order::BoxesAnswered boxesAnswered_{native_};
  Fenced<belvosta::Program> program_;
};

TEST_P(Win32ProgramTeardown, FormsDestroyedWithTheirWindowsShownTheViewsCollectedAfter) {
  ShowAllWindows();
  const HWND main = reinterpret_cast<HWND>(program_->sucher1.hWnd());
  // The order the tab-order fixture had: the program, the views, the window system.
  program_.Destroy();
  RunEvents();
  EXPECT_FALSE(IsWindow(main));
}

TEST_P(Win32ProgramTeardown, WindowsUnloadedAndCollectedBeforeTheProgramGoes) {
  ShowAllWindows();
  const HWND main = reinterpret_cast<HWND>(program_->sucher1.hWnd());
  // Not the main window: unloading it ends the program.
  program_->FormS.Unload();
  program_->Form3.Unload();
  RunEvents();
  program_.Destroy();
  EXPECT_FALSE(IsWindow(main));
  RunEvents();
}

INSTANTIATE_TEST_SUITE_P(Pointer, Win32ProgramTeardown,
                         ::testing::Values(Pointer::OverTheControl, Pointer::OffTheWindows),
                         PointerName);

// The program as static objects, with its windows shown at exit: the program goes first,
// then the window system, then the views that waited to be collected.
[[noreturn]] void ExitWithTheProgramShown() {
  static Win32Ui native;
  static tab_order::BoxesAnswered ui{native};
  ui::SetUiBackend(&ui);
  static belvosta::Program program;
  program.FormS.Show();
  program.sucher1.Show();
  static int moves = 0;
  program.sucher1.Label12.MouseMove = [] { ++moves; };
  const HWND label = NativeOf(program.sucher1.Label12);
  RECT area{};
  if (!label || !GetWindowRect(label, &area)) ExitProcess(2);
  for (int attempt = 0; attempt < 200 && moves == 0; ++attempt) {
    SetCursorPos((area.left + area.right) / 2 + attempt % 2, (area.top + area.bottom) / 2);
    Pump(ui);
  }
  if (moves == 0) ExitProcess(3);
  std::exit(0);
}

TEST(Win32TeardownAtExit, TheProgramsStaticObjectsWithWindowsShown) {
  EXPECT_EXIT(ExitWithTheProgramShown(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace views::win32
