// The terminal text filter: whatever the bytes, the result is safe to print, bounded by
// the input, unchanged where nothing needed changing, and a fixed point of the filter.
#include <fuzzer/FuzzedDataProvider.h>

#include "app/printable_text.h"
#include "fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::size_t limit = provider.ConsumeIntegralInRange<std::size_t>(0, 300);
  const std::string text = provider.ConsumeRemainingBytesAsString();

  const std::string printable = belvosta::Printable(text);
  fuzz::Require(fuzz::IsTerminalSafe(printable), "Printable gives terminal-safe UTF-8");
  fuzz::Require(printable.size() <= text.size(), "Printable never grows the text");
  fuzz::Require(belvosta::Printable(printable) == printable, "Printable is idempotent");
  if (fuzz::IsTerminalSafe(text)) {
    fuzz::Require(printable == text, "safe text passes unchanged");
  }

  const std::string start = belvosta::PrintableStart(text, limit);
  fuzz::Require(fuzz::IsTerminalSafe(start), "PrintableStart gives terminal-safe UTF-8");
  // Either the whole printable text, or exactly `limit` characters of it and "...".
  if (start != printable) {
    const bool marked = start.size() >= 3 && start.compare(start.size() - 3, 3, "...") == 0;
    fuzz::Require(marked, "a cut start ends with ...");
    const std::string_view shown = std::string_view(start).substr(0, start.size() - 3);
    fuzz::Require(fuzz::Decoded(shown)->size() == limit,
                  "a cut start has the asked number of characters");
    fuzz::Require(printable.compare(0, shown.size(), shown) == 0,
                  "the start is the start of the printable text");
  }
  return 0;
}
