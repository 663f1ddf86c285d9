// Wine's registry as the report reads it, through RegOpenKeyA and RegEnumValueA (Wine itself
// reads its .reg files): keys whose names and values are any bytes of the fuzz data are
// served as the registry, and every key is read with the report's own reader. Whatever the
// values: each text is at most a buffer, without NUL or outer blanks; a value that fits
// reads back as stored, one that does not fit reads as empty.
#include <fuzzer/FuzzedDataProvider.h>

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

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  fake::VirtualClock clock;
  fake::FakeSystem registry(clock);
  // Paths compare without regard to case or a trailing backslash: the first of equal ones.
  std::set<std::string> paths;
  while (provider.remaining_bytes() > 0) {
    const std::string path = provider.ConsumeRandomLengthString(64);
    fake::FakeSystem::RegistryKey key;
    for (int i = provider.ConsumeIntegralInRange(0, 6); i > 0; --i) {
      std::string name = provider.ConsumeRandomLengthString(300);
      key.values.emplace_back(std::move(name), provider.ConsumeRandomLengthString(300));
    }
    if (paths.insert(fuzz::AsciiLower(path.substr(0, path.find_last_not_of('\\') + 1))).second)
      registry.registry.emplace(path, std::move(key));
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
        fuzz::Require(text == Trimmed(cut), "a text that fits reads back, trimmed");
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
