// The teardown cases (teardown_cases.h) in the FLTK view on a virtual display: hiding and
// deleting a window moves FLTK's pointer and focus and sends the widgets below the mouse
// their events. Without AddressSanitizer too, the fenced forms fault at any late read.
#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include "teardown/teardown_cases.h"
#include "teardown/x_pointer.h"
#include "views/fltk/control_widget.h"
#include "views/fltk/form_view.h"
#include "views/fltk/ui_backend.h"
#include "views/fltk/x11_display.h"

namespace teardown {
namespace {

// The widget that shows the control in its form's current view.
Fl_Widget* WidgetOf(const ui::Control& control) {
  auto* view = dynamic_cast<views::fltk::FltkFormView*>(ViewOf(control.Owner()));
  views::fltk::ControlWidget* mirror = view ? view->WidgetOf(&control) : nullptr;
  return mirror ? &mirror->Widget() : nullptr;
}

class FltkView final : public View {
 public:
  ~FltkView() override { Settle(); }
  ui::UiBackend& Native() override { return native_; }
  bool PointAt(const ui::Control& control, const int& moves) override {
    const int before = moves;
    Fl_Widget* widget = WidgetOf(control);
    return widget && teardown::PointAt(*widget) && moves > before;
  }
  void JigglePointer() override { teardown::JigglePointer(); }
  void Press(const ui::CommandButton& button) override {
    if (Fl_Widget* widget = WidgetOf(button)) widget->do_callback();
  }
  void CloseMessageBox() override {
    if (Fl_Window* box = Fl::modal()) box->hide();
  }
  bool AWindowIsShown() override { return Fl::first_window() != nullptr; }

 private:
  views::fltk::FltkUi native_{views::fltk::ScreenUnits::FromDisplay()};
};

TEST(FltkTeardownAtExit, TheProgramsStaticObjectsWithWindowsShown) {
  // This process keeps a connection while the child runs: Xvfb under xvfb-run resets when
  // its last client leaves, and would refuse the next test's connection for a moment.
  views::fltk::OpenDisplay();
  // A child process of its own, with its own connection to the display.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(ExitWithTheProgramShown(), ::testing::ExitedWithCode(0), "");
}

}  // namespace

std::unique_ptr<View> MakeView() {
  return std::make_unique<FltkView>();
}

}  // namespace teardown
