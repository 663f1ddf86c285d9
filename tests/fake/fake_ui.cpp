#include "fake/fake_ui.h"

#include <algorithm>

namespace fake {
namespace {

// A view with no window: it ignores every change and only gives a handle.
class FakeView : public ui::FormView {
 public:
  explicit FakeView(std::uintptr_t handle) : handle_(handle) {}
  void ControlChanged(ui::Control&, ui::Property) override {}
  void FormChanged(ui::Property) override {}
  void SetShown(bool) override {}
  platform::WindowHandle Handle() const override { return handle_; }
  void Detach() override {}

 private:
  std::uintptr_t handle_;
};

}  // namespace

std::unique_ptr<ui::FormView> FakeUi::CreateView(ui::Form&) {
  return std::make_unique<FakeView>(nextHandle_++);
}

void FakeUi::Schedule(std::int64_t atMs, std::function<void()> input) {
  scheduled_.emplace_back(atMs, std::move(input));
  std::stable_sort(scheduled_.begin(), scheduled_.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
}

void FakeUi::RunDueInput() {
  // Input may schedule more input or run nested event processing: take one at a time.
  while (!scheduled_.empty() && scheduled_.front().first <= clock_.nowMs) {
    auto input = std::move(scheduled_.front().second);
    scheduled_.erase(scheduled_.begin());
    input();
  }
}

void FakeUi::Advance(std::int64_t ms) {
  const std::int64_t target = clock_.nowMs + std::max<std::int64_t>(ms, 0);
  // A timer that stays due for ever keeps this loop running: the test's time limit ends it.
  for (;;) {
    std::int64_t next = ui::NextTimerDueMs();
    if (!scheduled_.empty() && (next < 0 || scheduled_.front().first < next)) {
      next = scheduled_.front().first;
    }
    if (next < 0 || next > target) break;
    clock_.nowMs = std::max(clock_.nowMs, next);
    RunDueInput();
    ui::RunDueTimers(clock_.nowMs);
  }
  clock_.nowMs = target;
  RunDueInput();
  ui::RunDueTimers(clock_.nowMs);
}

int FakeUi::MessageBox(ui::Form* owner, std::string_view text, int style, std::string_view title) {
  // Recorded when it opens, so that boxes opened while it is open come after it.
  boxes.push_back(RecordedBox{owner ? owner->Name() : std::string(), std::string(title),
                              std::string(text), style, snapshot ? snapshot() : std::string(), 0});
  const std::size_t index = boxes.size() - 1;
  if (whileBoxOpen) whileBoxOpen(RecordedBox(boxes[index]));
  if (boxOpenMs > 0) Advance(boxOpenMs);
  int answer = style == ui::vbYesNoCancel ? defaultChoice : ui::vbOK;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  boxes[index].answer = answer;
  return answer;
}

void FakeUi::DoEvents() {
  ++doEventsCalls;
  Advance(kDoEventsStepMs);
}

void FakeUi::WaitEvents(std::int64_t maxMs) {
  ++doEventsCalls;
  std::int64_t until = clock_.nowMs + maxMs;
  const std::int64_t timer = ui::NextTimerDueMs();
  if (timer >= 0) until = std::min(until, timer);
  if (!scheduled_.empty()) until = std::min(until, scheduled_.front().first);
  Advance(std::max(kDoEventsStepMs, until - clock_.nowMs));
}

void FakeUi::Run() {
  // Idle until no input is left to come.
  while (!scheduled_.empty() && !ended) Advance(scheduled_.front().first - clock_.nowMs);
}

}  // namespace fake
