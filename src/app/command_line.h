// The program without its windows: the component check and the computer report for
// scripts and administrators, as text or as one JSON document, with an exit status.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/console.h"

namespace belvosta {

class Program;

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitComponentMissing = 1;
inline constexpr int kExitUsage = 2;
// A component could not be checked, or the answer was lost on its way out. Usage errors
// come first, then this, then a missing component.
inline constexpr int kExitNotChecked = 3;

struct CommandLineOptions {
  bool help = false;
  bool version = false;
  bool check = false;
  bool report = false;
  bool json = false;
  std::string error;  // one line naming what was not understood; empty when all was
};

// Reads the options; with windowsOptions also "/check", "/?" and any letter case.
CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments, bool windowsOptions);

// Carries out the options on the installed platform and returns the exit status. The
// checks search with the checks' own tables and file search, below the folders the shell
// names; the report is Form3's, the clock the speed test's. Nothing is shown or opened.
int RunCommandLine(const CommandLineOptions& options, Program& program, platform::Console& console);

// The entry from main: nothing when there are no arguments (the windows start as always);
// otherwise the exit status, without opening any window or display.
std::optional<int> CommandLineMode(int argc, char** argv);

}  // namespace belvosta
