// Tab through every window of the program in the FLTK view, on a real (virtual) display:
// the focus must visit the stops in the model's order and come round to the first.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include "app/program.h"
#include "tab_order/tab_walk.h"
#include "views/fltk/form_view.h"
#include "views/fltk/ui_backend.h"

namespace {

class FltkTabOrder : public ::testing::Test {
 protected:
  FltkTabOrder() { ui::SetUiBackend(&ui_); }
  ~FltkTabOrder() override {
    // The views of unloaded forms first, then the program, whose forms take their views
    // with them while the window system that made them is still installed.
    ui::CollectRetiredViews();
    program_.reset();
    ui::SetUiBackend(nullptr);
  }

  // Shows the form and walks it with Tab key events, as the keyboard sends them.
  std::vector<std::string> Walk(ui::Form& form) {
    form.Show();
    auto* view = dynamic_cast<views::fltk::FltkFormView*>(ViewOf(form));
    if (view == nullptr) return {};
    Fl_Window& window = view->window();
    ui_.DoEvents();
    return tab_order::WalkRound(form, [&] {
      Fl::e_keysym = FL_Tab;
      Fl::e_state = 0;
      Fl::handle(FL_KEYBOARD, &window);
      ui_.DoEvents();
    });
  }

  views::fltk::FltkUi native_{views::fltk::ScreenUnits::FromDisplay()};
  tab_order::BoxesAnswered ui_{native_};
  std::unique_ptr<belvosta::Program> program_ = std::make_unique<belvosta::Program>();
};

TEST_F(FltkTabOrder, EveryWindowFollowsTheModel) {
  for (ui::Form* form :
       {static_cast<ui::Form*>(&program_->sucher1), static_cast<ui::Form*>(&program_->FormS),
        static_cast<ui::Form*>(&program_->Form3)}) {
    SCOPED_TRACE(form->Name());
    EXPECT_EQ(Walk(*form), tab_order::ModelRound(*form));
  }
}

}  // namespace
