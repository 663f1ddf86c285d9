// /proc/cpuinfo as the processor key's values: whatever the text, the values are the known
// ones, each at most once, one line each, and the clock a whole number a DWORD can hold,
// as Windows keeps it.
#include <set>
#include <string>

#include "fuzz/fuzz_checks.h"
#include "platform/posix/windows_mapping.h"

using platform::posix::ProcessorValues;
using platform::posix::RegistryValue;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  for (const auto& [key, value] : platform::posix::ParseFirstProcessor(text)) {
    fuzz::Require(key.find('\n') == std::string::npos && value.find('\n') == std::string::npos,
                  "a field is one line");
    fuzz::Require(key.size() + value.size() < size, "a field comes from one line of the text");
  }

  const std::set<std::string> known = {"Identifier", "ProcessorNameString", "VendorIdentifier",
                                       "~MHz"};
  std::set<std::string> seen;
  for (const RegistryValue& value : ProcessorValues(text)) {
    fuzz::Require(known.count(value.name) == 1, "only the processor key's value names");
    fuzz::Require(seen.insert(value.name).second, "each value at most once");
    fuzz::Require(value.data.find('\n') == std::string::npos, "a value is one line");
    fuzz::Require(!value.data.empty(), "no empty value");
    if (value.name == "~MHz") {
      fuzz::Require(fuzz::IsDword(value.data),
                    "the clock is a whole number of MHz that fits a DWORD");
    }
  }
  return 0;
}
