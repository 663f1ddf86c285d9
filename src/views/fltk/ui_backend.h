// The window system's native side on FLTK: views of forms, modal message boxes, the event
// loop with the model's timers, and the end of the program.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "ui/view_side.h"
#include "views/fltk/screen_units.h"

namespace views::fltk {

class FltkUi final : public ui::UiBackend {
 public:
  explicit FltkUi(const ScreenUnits& units) : units_(units) {}

  std::unique_ptr<ui::FormView> CreateView(ui::Form& form) override;
  int MessageBox(ui::Form* owner, std::string_view text, int style,
                 std::string_view title) override;
  void DoEvents() override;
  void WaitEvents(std::int64_t maxMs) override;
  void Run() override;
  void End() override;
  std::int64_t NowMs() override;

  // Waits until input arrives or the next timer is due, handles the input, then runs the
  // timers that are due. Every wait of the program goes through here.
  void WaitOnce();

 private:
  ScreenUnits units_;
};

}  // namespace views::fltk
