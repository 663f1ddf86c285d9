// Runs the steps of a scenario against the program: each step waits until what it expects
// shows (or its time is up) and throws StepFailure with what it saw instead.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "control_finder.h"
#include "layout.h"
#include "message_boxes.h"
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

class StepRunner {
 public:
  StepRunner(const Layout& layout, Variables variables, DriverOptions options);

  // Prepares the prefix before the first scenario of a file.
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
  // Whether clicks and keys go through SendInput (else they are posted to the windows).
  bool RealInput() const { return input_.Real(); }

 private:
  using Handler = void (StepRunner::*)(const Step&);
  static const std::map<std::string, Handler>& Handlers();

  // Steps.
  void Start(const Step& step);
  void ExpectWindow(const Step& step);
  void ExpectNoWindow(const Step& step);
  void ExpectText(const Step& step);
  void ExpectVisible(const Step& step);
  void ExpectHidden(const Step& step);
  void ExpectList(const Step& step);
  void ExpectSelected(const Step& step);
  void ExpectBlinking(const Step& step);
  void ExpectSteady(const Step& step);
  void ExpectColor(const Step& step);
  void ExpectNoColor(const Step& step);
  void Click(const Step& step);
  void DoubleClick(const Step& step);
  void Hover(const Step& step);
  void Press(const Step& step);
  void TabTo(const Step& step);
  void ExpectBox(const Step& step);
  void Answer(const Step& step);
  void ExpectNoBox(const Step& step);
  void ExpectOpened(const Step& step);
  void ExpectNothingOpened(const Step& step);
  void ExpectExit(const Step& step);
  void Close(const Step& step);
  void SetTimeout(const Step& step);

  // Arguments.
  Matcher ToMatcher(const Token& token) const;
  ControlRef ToControl(const Step& step, std::size_t& index) const;
  ControlRef OnlyControl(const Step& step) const;
  double Seconds(const Token& token) const;

  // Waits until the condition holds, up to the step timeout; fails at once when the
  // program has ended.
  bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
  bool WaitUntil(const std::function<bool()>& condition) {
    return WaitUntil(condition, timeoutMs_);
  }
  HWND Control(const ControlRef& ref, std::string& whyNot) const;
  HWND FocusedWindow() const;
  HWND CurrentBox() const;
  void CheckVisibility(const Step& step, bool visible);
  void CheckColor(const Step& step, bool shown);
  void Sample(const ControlRef& ref, DWORD durationMs, bool& sawShown, bool& sawHidden,
              std::string& samples);
  [[noreturn]] void ProgramEnded() const;

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
