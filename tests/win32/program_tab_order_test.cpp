// Tab through every window of the program in the Win32 view, real windows under Wine: the
// focus must visit the stops in the model's order and come round to the first.
#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "app/program.h"
#include "tab_order/tab_walk.h"
#include "views/win32/ui_backend.h"

namespace views::win32 {
namespace {

class Win32TabOrder : public ::testing::Test {
 protected:
  Win32TabOrder() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ui::SetUiBackend(&ui_);
  }
  ~Win32TabOrder() override {
    // The views of unloaded forms first, then the program, whose forms take their views
    // with them while the window system that made them is still installed.
    ui::CollectRetiredViews();
    program_.reset();
    ui::SetUiBackend(nullptr);
  }

  // Shows the form and walks it with Tab as the keyboard sends it, through the message
  // loop; the view's own record of the focus must agree with Windows'.
  std::vector<std::string> Walk(ui::Form& form) {
    form.Show();
    ui_.DoEvents();
    return tab_order::WalkRound(form, [&] {
      const HWND focus = GetFocus();
      PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
      PostMessageW(focus, WM_KEYUP, VK_TAB, 0xC0000001);
      ui_.DoEvents();
      EXPECT_NE(GetFocus(), focus);
    });
  }

  Win32Ui native_;
  tab_order::BoxesAnswered ui_{native_};
  std::unique_ptr<belvosta::Program> program_ = std::make_unique<belvosta::Program>();
};

TEST_F(Win32TabOrder, EveryWindowFollowsTheModel) {
  for (ui::Form* form :
       {static_cast<ui::Form*>(&program_->sucher1), static_cast<ui::Form*>(&program_->FormS),
        static_cast<ui::Form*>(&program_->Form3)}) {
    SCOPED_TRACE(form->Name());
    EXPECT_EQ(Walk(*form), tab_order::ModelRound(*form));
  }
}

}  // namespace
}  // namespace views::win32
