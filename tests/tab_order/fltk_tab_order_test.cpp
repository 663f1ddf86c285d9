// Tab through every window of the program in the FLTK view, on a real (virtual) display,
// with Tab key events as the keyboard sends them.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "tab_order/tab_walk.h"
#include "views/fltk/form_view.h"
#include "views/fltk/ui_backend.h"

namespace {

TEST(FltkTabOrder, EveryWindowFollowsTheModel) {
  views::fltk::FltkUi native{views::fltk::ScreenUnits::FromDisplay()};
  tab_order::ExpectEveryWindowFollowsTheModel(native, [&native](ui::Form& form) {
    auto* view = dynamic_cast<views::fltk::FltkFormView*>(ViewOf(form));
    ASSERT_NE(view, nullptr);
    Fl::e_keysym = FL_Tab;
    Fl::e_state = 0;
    Fl::handle(FL_KEYBOARD, &view->window());
    native.DoEvents();
  });
}

}  // namespace
