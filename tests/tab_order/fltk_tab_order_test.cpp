// Tab through every window of the program in the FLTK view, on a real (virtual) display:
// the focus must visit the stops in the model's order and come round to the first.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/fltk/form_view.h"
#include "platform/fltk/ui_backend.h"
#include "tab_order/tab_walk.h"

namespace {

class FltkTabOrder : public ::testing::Test {
 protected:
  FltkTabOrder() { platform::SetUiBackend(&ui_); }
  ~FltkTabOrder() override {
    // The views of unloaded forms first, then the program, whose forms take their views
    // with them while the window system that made them is still installed.
    platform::CollectRetiredViews();
    program_.reset();
    platform::SetUiBackend(nullptr);
  }

  // Shows the form and walks it with Tab key events, as the keyboard sends them.
  std::vector<std::string> Walk(platform::Form& form) {
    form.Show();
    auto* view = dynamic_cast<platform::fltk::FltkFormView*>(ViewOf(form));
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

  platform::fltk::FltkUi native_{platform::fltk::ScreenUnits::FromDisplay()};
  tab_order::BoxesAnswered ui_{native_};
  std::unique_ptr<belvosta::Program> program_ = std::make_unique<belvosta::Program>();
};

TEST_F(FltkTabOrder, EveryWindowFollowsTheModel) {
  for (platform::Form* form : {static_cast<platform::Form*>(&program_->sucher1),
                               static_cast<platform::Form*>(&program_->FormS),
                               static_cast<platform::Form*>(&program_->Form3)}) {
    SCOPED_TRACE(form->Name());
    EXPECT_EQ(Walk(*form), tab_order::ModelRound(*form));
  }
}

}  // namespace
