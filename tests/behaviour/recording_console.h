// A console for the command line's tests: what was written, stream by stream, and streams
// that can be made to fail.
#pragma once

#include <string>
#include <string_view>

#include "platform/console.h"

namespace command_line_test {

// What the command line wrote, stream by stream.
class RecordingConsole : public platform::Console {
 public:
  explicit RecordingConsole(std::string lineEnd = "\n", bool windows = false)
      : lineEnd_(std::move(lineEnd)), windows_(windows) {}
  bool WriteText(std::string_view utf8) override { return Take(text, utf8, textWorks); }
  bool WriteUtf8(std::string_view utf8) override { return Take(utf8Bytes, utf8, textWorks); }
  bool WriteError(std::string_view utf8) override { return Take(error, utf8, errorWorks); }
  std::string_view LineEnd() const override { return lineEnd_; }
  bool WindowsOptions() const override { return windows_; }

  std::string text, utf8Bytes, error;
  bool textWorks = true;  // false: stdout takes nothing (a full disk, a reader gone)
  bool errorWorks = true;

 private:
  static bool Take(std::string& stream, std::string_view utf8, bool works) {
    if (works) stream += utf8;
    return works;
  }

  std::string lineEnd_;
  bool windows_;
};

}  // namespace command_line_test
