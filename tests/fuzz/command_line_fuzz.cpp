// The command line: an argument vector made of the fuzz data (arguments split at NUL bytes,
// the first byte choosing the POSIX or the Windows spelling). Whatever the arguments, the
// options are understood or refused with one printable line of bounded length, and every
// accepted argument is one of the options.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "fuzz/fuzz_checks.h"
#include "platform/console.h"

namespace {

bool IsOption(std::string argument, bool windows) {
  if (windows) {
    argument = fuzz::AsciiLower(argument);
    if (argument == "/?") return true;
    if (argument.size() > 1 && argument[0] == '/') argument = "--" + argument.substr(1);
  }
  const std::set<std::string> options = {"--help", "--version", "--check", "--report", "--json"};
  return options.count(argument) == 1;
}

// The message names at most 100 characters of the argument, each at most 4 bytes.
constexpr std::size_t kLongestError = 200 + 4 * 100;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const bool windows = provider.ConsumeBool();
  const std::string rest = provider.ConsumeRemainingBytesAsString();
  std::vector<std::string> arguments;
  std::istringstream words(rest);
  for (std::string word; std::getline(words, word, '\0');) arguments.push_back(word);

  // The words as a C argument vector, as main receives them, read back as the program reads
  // its arguments.
  std::vector<char*> argv{const_cast<char*>("belvosta")};
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  fuzz::Require(
      platform::CommandLineArguments(static_cast<int>(argv.size() - 1), argv.data()) == arguments,
      "every argument arrives whole");

  const belvosta::CommandLineOptions options = belvosta::ParseCommandLine(arguments, windows);
  if (options.error.empty()) {
    for (const std::string& argument : arguments) {
      fuzz::Require(IsOption(argument, windows), "only options are accepted");
    }
    fuzz::Require(
        !options.json || options.check || options.report || options.help || options.version,
        "--json alone is refused");
  } else {
    fuzz::Require(fuzz::IsTerminalSafe(options.error), "the error is one printable line");
    fuzz::Require(options.error.size() <= kLongestError, "the error's length is bounded");
    fuzz::Require(options.error.rfind("belvosta: ", 0) == 0, "the error names the program");
  }
  return 0;
}
