// The fake window system: runs the real forms with no screen, on a virtual clock, and
// records every message box with a snapshot of what the windows showed at that moment.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fake/virtual_clock.h"
#include "ui/view_side.h"

namespace fake {

struct RecordedBox {
  std::string owner;  // name of the form whose handler opened it, empty for none
  std::string title;
  std::string text;
  int style = 0;
  std::string snapshot;  // what FakeUi::snapshot returned when the box opened
  int answer = 0;
};

class FakeUi : public ui::UiBackend {
 public:
  explicit FakeUi(VirtualClock& clock) : clock_(clock) {}

  // ---- Scripting ----
  // Answers for the next boxes, in order; when empty, OK boxes answer OK and Yes/No/Cancel
  // boxes answer defaultChoice.
  std::deque<int> answers;
  int defaultChoice = ui::vbNo;
  // Called when a box opens; its text is stored with the box.
  std::function<std::string()> snapshot;
  // Virtual time that passes while each box is open; due timers tick meanwhile.
  std::int64_t boxOpenMs = 0;
  // Runs while a box is open, before it is answered (the user may click elsewhere: it will
  // not reach the blocked windows, but tests may inspect state here).
  std::function<void(const RecordedBox&)> whileBoxOpen;
  // Virtual time that one pass of event processing takes.
  static constexpr std::int64_t kDoEventsStepMs = 10;

  // User input that arrives at a virtual time; it runs inside the event processing that
  // first sees that time (DoEvents, a box, or Advance).
  void Schedule(std::int64_t atMs, std::function<void()> input);
  // Moves the clock forward, ticking every timer at its due time and running input.
  void Advance(std::int64_t ms);

  // ---- What happened ----
  std::vector<RecordedBox> boxes;
  int doEventsCalls = 0;
  bool ended = false;

  // ---- UiBackend ----
  std::unique_ptr<ui::FormView> CreateView(ui::Form& form) override;
  int MessageBox(ui::Form* owner, std::string_view text, int style,
                 std::string_view title) override;
  void DoEvents() override;
  // Moves the clock to the next timer or input, at most maxMs and at least one pass.
  void WaitEvents(std::int64_t maxMs) override;
  void Run() override;
  void End() override { ended = true; }
  std::int64_t NowMs() override { return clock_.nowMs; }

 private:
  void RunDueInput();
  VirtualClock& clock_;
  std::vector<std::pair<std::int64_t, std::function<void()>>> scheduled_;
  std::uintptr_t nextHandle_ = 0x1000;
};

}  // namespace fake
