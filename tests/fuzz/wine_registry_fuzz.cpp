// Wine's registry files (system.reg, user.reg) as the report reads them. Wine itself reads
// the file; the program reads its keys through RegOpenKeyA and RegEnumValueA. So this
// target takes the keys and values of a .reg text (read here the simple way: [key] lines,
// "name"="text" and @="text" lines, any other value as the text after '='), serves them as
// the registry, and reads every key with the report's own reader. Whatever the values: each
// text is at most a buffer, without NUL or outer blanks; a value that fits reads back as
// stored, one that does not fit reads as empty.
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "computer/registry_values.h"
#include "fake/fake_system.h"
#include "fake/virtual_clock.h"
#include "fuzz/fuzz_checks.h"
#include "platform/backend.h"

namespace {

constexpr std::size_t kBuffer = 255;  // the reader's buffers, name and data

// A quoted .reg string starting at text[at] == '"': its text, with \\ and \" undone; `at`
// ends after the closing quote.
std::string QuotedString(std::string_view text, std::size_t& at) {
  std::string value;
  for (++at; at < text.size() && text[at] != '"'; ++at) {
    if (text[at] == '\\' && at + 1 < text.size()) ++at;
    value += text[at];
  }
  if (at < text.size()) ++at;
  return value;
}

std::string_view Trimmed(std::string_view text, std::string_view blanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

using Keys = std::vector<std::pair<std::string, fake::FakeSystem::RegistryKey>>;

Keys ReadRegText(std::string_view text) {
  Keys keys;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trimmed(text.substr(start, end - start), " \t\r");
    start = end + 1;
    if (line.empty()) continue;
    if (line.front() == '[') {
      std::size_t at = 0;
      std::string key;
      for (at = 1; at < line.size() && line[at] != ']'; ++at) {
        if (line[at] == '\\' && at + 1 < line.size() && line[at + 1] == '\\') ++at;
        key += line[at];
      }
      keys.emplace_back(key, fake::FakeSystem::RegistryKey{});
      continue;
    }
    if (keys.empty() || (line.front() != '"' && line.front() != '@')) continue;
    std::size_t at = 0;
    std::string name;
    if (line.front() == '"') {
      name = QuotedString(line, at);
    } else {
      at = 1;
    }
    if (at >= line.size() || line[at] != '=') continue;
    ++at;
    std::string data =
        at < line.size() && line[at] == '"' ? QuotedString(line, at) : std::string(line.substr(at));
    keys.back().second.values.emplace_back(std::move(name), std::move(data));
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const Keys keys = ReadRegText(std::string_view(reinterpret_cast<const char*>(bytes), size));
  fake::VirtualClock clock;
  fake::FakeSystem registry(clock);
  // Paths compare without regard to case or a trailing backslash: the first of equal ones.
  std::set<std::string> paths;
  for (const auto& [path, key] : keys) {
    std::string same = path;
    while (!same.empty() && same.back() == '\\') same.pop_back();
    for (char& c : same) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    if (paths.insert(same).second) registry.registry.emplace(path, key);
  }
  platform::SetBackend(&registry);

  for (const auto& [path, key] : registry.registry) {
    std::vector<std::pair<std::string, std::string>> read;
    belvosta::ForEachRegistryValue(path, [&](std::string_view nameBuffer, std::string text) {
      fuzz::Require(nameBuffer.size() == kBuffer, "the name buffer is handed over whole");
      fuzz::Require(text.size() < kBuffer, "a text is at most the buffer without its NUL");
      fuzz::Require(text.find('\0') == std::string::npos, "a text has no NUL");
      fuzz::Require(text.empty() || (text.front() != ' ' && text.back() != ' '),
                    "a text has no outer blanks");
      read.emplace_back(std::string(nameBuffer), std::move(text));
    });
    fuzz::Require(read.size() == key.values.size(), "every value is read once");
    for (std::size_t i = 0; i < read.size(); ++i) {
      const auto& [name, data] = key.values[i];
      const std::string& text = read[i].second;
      if (name.size() < kBuffer && data.size() < kBuffer) {
        fuzz::Require(read[i].first.compare(0, name.size() + 1, name + '\0') == 0,
                      "a name that fits reads back");
        const std::string cut = data.substr(0, data.find('\0'));
        fuzz::Require(text == Trimmed(cut, " "), "a text that fits reads back, trimmed");
        fuzz::Require(belvosta::NameStartsWith(read[i].first, name), "a name starts with itself");
      } else {
        fuzz::Require(text.empty(), "a value too long for the buffers reads as empty");
      }
    }
  }
  fuzz::Require(registry.keysOpen == 0, "every key opened is closed");
  platform::SetBackend(nullptr);
  return 0;
}
