// The Win32 UI driver: runs scenario files against a Windows program through its real
// windows and prints one line per scenario, PASS or FAIL with the step that failed.
//
//   belvosta_e2e.exe --program C:\e2e\belvosta.exe --layout LAYOUT.txt
//                    --opened-log C:\e2e\opened.log [--shots FOLDER] [--verbose]
//                    SCENARIO.txt...
//
// Exit status: 0 when every scenario passed, 1 when one failed, 2 for a bad command line
// or a file that cannot be read.
#include <windows.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "layout.h"
#include "platform/win32/later_windows.h"
#include "program_windows.h"
#include "scenario.h"
#include "step_runner.h"
#include "text.h"

namespace {

using e2e::Narrow;

std::string BaseName(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return Narrow(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &length)) return {};
  return Narrow(std::wstring_view(name, length));
}

void Report(const char* format, const std::string& a, const std::string& b = {},
            const std::string& c = {}) {
  std::printf(format, a.c_str(), b.c_str(), c.c_str());
  std::fflush(stdout);
}

// Runs one file; returns how many of its scenarios failed.
int RunFile(const std::wstring& path, const e2e::Layout& layout,
            const e2e::DriverOptions& options) {
  const std::string name = BaseName(path);
  const std::optional<std::string> content = e2e::ReadWholeFile(path);
  if (!content) {
    Report("FAIL %s: cannot read the scenario file\n", name);
    return 1;
  }
  e2e::ScenarioFile file;
  try {
    file = e2e::ParseScenarioFile(*content);
  } catch (const e2e::ParseError& error) {
    Report("FAIL %s:%s: %s\n", name, std::to_string(error.Line()), error.what());
    return 1;
  }

  e2e::StepRunner runner(layout, {{"COMPUTERNAME", ComputerName()}}, options);
  for (const e2e::Step& step : file.setup) {
    try {
      runner.Setup(step);
    } catch (const e2e::StepFailure& failure) {
      Report("FAIL %s:%s: setup: %s\n", name, std::to_string(step.line), step.source);
      Report("    expected: %s\n    seen:     %s\n", failure.expected, failure.seen);
      return static_cast<int>(file.scenarios.size());
    }
  }

  int failed = 0;
  for (const e2e::Scenario& scenario : file.scenarios) {
    if (options.verbose) Report("  %s: %s\n", name, scenario.name);
    runner.BeginScenario();
    const e2e::Step* current = nullptr;  // none: the checks at the end of the scenario
    try {
      for (const e2e::Step& step : scenario.steps) runner.Run(*(current = &step));
      current = nullptr;
      runner.EndScenario();
      Report("PASS %s: %s\n", name, scenario.name);
    } catch (const e2e::StepFailure& failure) {
      const int line = current ? current->line : scenario.line;
      const std::wstring shot = runner.KeepScreen(name, line);
      runner.Abort();
      ++failed;
      Report("FAIL %s:%s: %s\n", name, std::to_string(line), scenario.name);
      Report("    step:     %s\n    expected: %s\n",
             current ? current->source : "(end of the scenario)", failure.expected);
      Report("    seen:     %s\n", failure.seen);
      if (!shot.empty()) Report("    screen:   %s\n", Narrow(shot));
    }
  }
  return failed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // DPI aware, so that the driver sees the program's windows in real pixels.
  platform::win32::DeclareDpiAware();
  e2e::DriverOptions options;
  std::wstring layoutPath;
  std::vector<std::wstring> scenarios;
  const std::map<std::wstring, std::wstring*> values = {{L"--program", &options.program},
                                                        {L"--layout", &layoutPath},
                                                        {L"--opened-log", &options.openedLog},
                                                        {L"--shots", &options.shots}};
  for (int i = 1; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if (const auto value = values.find(argument); value != values.end() && i + 1 < argc) {
      *value->second = argv[++i];
    } else if (argument == L"--verbose") {
      options.verbose = true;
    } else if (!argument.starts_with(L"--")) {
      scenarios.push_back(argument);
    } else {
      scenarios.clear();
      break;
    }
  }
  if (options.program.empty() || layoutPath.empty() || options.openedLog.empty() ||
      scenarios.empty()) {
    std::fprintf(stderr,
                 "usage: belvosta_e2e --program EXE --layout FILE --opened-log FILE "
                 "[--shots FOLDER] [--verbose] SCENARIO...\n");
    return 2;
  }

  const std::optional<std::string> layoutText = e2e::ReadWholeFile(layoutPath);
  if (!layoutText) {
    std::fprintf(stderr, "cannot read the layout %s\n", Narrow(layoutPath).c_str());
    return 2;
  }
  e2e::Layout layout;
  try {
    layout = e2e::Layout::Parse(*layoutText);
  } catch (const e2e::ParseError& error) {
    std::fprintf(stderr, "%s:%d: %s\n", Narrow(layoutPath).c_str(), error.Line(), error.what());
    return 2;
  }

  int failed = 0;
  for (const std::wstring& path : scenarios) failed += RunFile(path, layout, options);
  return failed == 0 ? 0 : 1;
}
