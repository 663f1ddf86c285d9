// What the command line writes to: the process's standard output and error, or, on
// Windows, the console of the program that started it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/output_stall.h"

namespace platform {

class Console {
 public:
  virtual ~Console() = default;
  // Every write answers whether the text reached its stream whole; false when it failed or
  // was cut short (a full disk, a closed stream, a reader gone, a pipe that stays full), so
  // that the exit status can say the answer was lost.
  //
  // Text for a person. Windows writes it as UTF-16 to a real console, and otherwise in the
  // console's code page, so that the umlauts come out right where it is read.
  [[nodiscard]] virtual bool WriteText(std::string_view utf8) = 0;
  // UTF-8 bytes exactly as given (a JSON document).
  [[nodiscard]] virtual bool WriteUtf8(std::string_view utf8) = 0;
  // Text for a person, on the error stream.
  [[nodiscard]] virtual bool WriteError(std::string_view utf8) = 0;
  // The platform's line end: "\r\n" on Windows, "\n" elsewhere.
  virtual std::string_view LineEnd() const = 0;
  // Windows also takes options written with a slash (/check, /?) and in any letter case.
  virtual bool WindowsOptions() const = 0;
};

// The console of this process, attached on Windows where nothing is redirected. A stream
// that takes nothing is waited for at most stallBoundMs in all the run (output_stall.h).
std::unique_ptr<Console> OpenConsole(std::uint64_t stallBoundMs = kOutputStallMs);

// The program's arguments after its name, as UTF-8 (on Windows from the wide command line,
// so that no letter is lost to a code page).
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace platform
