// Runs the steps of a scenario against the program. An action (click, press, ...) acts on
// it; a check is a probe, which says whether its condition holds now: the step waits until
// it does (after `not`, until it does not) and throws StepFailure with what it saw instead.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "control_finder.h"
#include "opened_log.h"
#include "program_windows.h"
#include "scenario.h"
#include "text.h"
#include "user_input.h"

namespace e2e {

struct StepFailure {
  std::string expected;
  std::string seen;
};

struct DriverOptions {
  std::wstring program;    // the program under test
  std::wstring openedLog;  // where the logger writes what the shell opened
  std::wstring shots;      // where to keep a picture of the screen when a step fails
  bool verbose = false;
};

// What a check looks at.
struct Probe {
  // How a check waits: Poll looks until the probe settles as wanted, up to the timeout; Once
  // looks once (the probe watches for a while itself); Event is something that comes (a
  // box, an opened address), which after `not` must not come while the driver watches.
  enum class Wait { Poll, Once, Event };
  std::string what;  // the condition, for a failure message
  // Whether the condition holds, with what was seen; nothing while it cannot be judged
  // (the control is not there), which settles neither way.
  std::function<std::optional<bool>(std::string& seen)> holds;
  Wait wait = Wait::Poll;
  bool needsProgram = true;      // whether the program's end fails the check at once
  std::function<void()> passed;  // what a passed check (without `not`) takes note of
};

class StepRunner {
 public:
  StepRunner(const Layout& layout, Variables variables, DriverOptions options);

  // Checks a setup line of the file (its DPI) before the first scenario.
  void Setup(const Step& step);
  void BeginScenario();
  void Run(const Step& step);
  // Checks for loose ends (an open box, an opened address nobody expected), then ends the
  // program.
  void EndScenario();
  // Keeps a picture of the screen (before Abort), named after the file and line; returns
  // its path, or nothing when no folder was given or the screen cannot be read.
  std::wstring KeepScreen(const std::string& name, int line) const;
  // Ends the program after a failure.
  void Abort() { program_.Stop(); }

 private:
  // Actions.
  void Start(const Step& step);
  void Click(const Step& step);  // also double-click and hover
  void Press(const Step& step);
  void TabTo(const Step& step);
  void Answer(const Step& step);
  void Close(const Step& step);

  // Probes.
  Probe Window(const Step& step);
  Probe Text(const Step& step);
  Probe Visible(const Step& step);
  Probe List(const Step& step);
  Probe Selected(const Step& step);
  Probe Blinking(const Step& step);
  Probe Color(const Step& step);
  Probe Box(const Step& step);
  Probe Opened(const Step& step);
  Probe Exit(const Step& step);
  void Check(const Step& step, const Probe& probe);

  // Arguments.
  Matcher ToMatcher(const Token& token) const;
  // The control a step names first (FORM.NAME), followed by exactly `extra` arguments.
  const ControlEntry& ToControl(const Step& step, std::size_t extra, const char* usage) const;

  // Waits until the condition holds, up to the timeout; with needsProgram, fails at once
  // when the program has ended.
  bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, bool needsProgram = true);
  HWND FocusedWindow() const;
  HWND CurrentBox() const;
  // The control's window once it is there and can be clicked.
  HWND ClickableControl(const ControlEntry& ref, std::string& whyNot);

  const Layout& layout_;
  Variables variables_;
  DriverOptions options_;
  Program program_;
  ControlFinder finder_;
  UserInput input_;
  OpenedLog opened_;
  DWORD timeoutMs_ = 0;
};

}  // namespace e2e
