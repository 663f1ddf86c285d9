// Reading the text values of one registry key below HKEY_LOCAL_MACHINE, the way the report
// looks for its processor and service-pack values.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace belvosta {

// Enumerates the values of the key and calls `onValue` for each with the value's name buffer
// (all 255 characters as the call left them: the name, a NUL, then blanks) and its text
// (the data up to the reported length without its NUL, cut at the first NUL, blanks
// trimmed on both sides). Does nothing when the key does not open.
void ForEachRegistryValue(
    std::string_view keyPath,
    const std::function<void(std::string_view nameBuffer, std::string text)>& onValue);

// Whether the first characters of the name buffer equal `prefix`, ignoring ASCII case.
bool NameStartsWith(std::string_view nameBuffer, std::string_view prefix);

}  // namespace belvosta
