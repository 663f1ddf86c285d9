// The scenario language: plain text, one step per line.
//
//   # a comment
//   setup file 'C:\windows\system32\MSCOMCTL.OCX'     prepares the prefix before the first
//   scenario "Full scan, everything present"           scenario; each scenario starts a new
//   start                                              run of the program
//   click sucher1.Label12
//   expect-box title="Belvosta " text="Flash Player ist installiert: OK!" buttons=OK
//   answer OK
//
// A token is a bare word, a "quoted text" (escapes \t \r \n \" \\), a 'raw text' (no escapes:
// for paths), a ~"regular expression" (only \" is an escape there; the rest goes to the
// expression as written) or ~'raw expression', or key=value, key="text", key~"expression".
// ${NAME} stands for a value the driver knows (COMPUTERNAME).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

struct Token {
  std::string key;  // "title" in title="..."; empty for a positional token
  std::string text;
  bool quoted = false;
  bool pattern = false;
};

struct Step {
  int line = 0;
  std::string source;  // the line as written
  std::string verb;
  std::vector<Token> args;
  bool negated = false;  // "not": the check passes when its condition does not hold
  bool only64 = false;   // "win64": the 32-bit program's run skips the step
};

struct Scenario {
  std::string name;
  int line = 0;
  std::vector<Step> steps;
};

struct ScenarioFile {
  std::vector<Step> setup;
  std::vector<Scenario> scenarios;
};

class ParseError : public std::runtime_error {
 public:
  ParseError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// Splits one line into tokens; throws std::runtime_error on an unterminated quote.
std::vector<Token> Tokenize(std::string_view line);

// Reads a whole scenario file; throws ParseError.
ScenarioFile ParseScenarioFile(std::string_view content);

// The lines of a text, without line ends, numbered from 1 by their position.
std::vector<std::string_view> Lines(std::string_view content);

}  // namespace e2e
