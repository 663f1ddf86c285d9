// What every fuzz target shares: a property that must hold, and the UTF-8 rules the
// properties are stated in.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

// Stops the run when a property fails, so that libFuzzer saves the input as a crash.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property failed: %s\n", property);
  std::abort();
}

// Whether the text is well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF), decoded here independently of the program's own decoder.
inline bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = at(0);
    std::size_t length = 1;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (text.size() - i < length || at(1) < low || at(1) > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if ((at(k) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

// Whether the text shows on a terminal as it is: well-formed UTF-8 without a control
// character other than the line ends and tabs allowed, nor a direction override.
inline bool IsTerminalSafe(std::string_view text, std::string_view allowedControls = "") {
  if (!IsUtf8(text)) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte < 0x20 || byte == 0x7F) && allowedControls.find(text[i]) == std::string_view::npos)
      return false;
    // C1 controls (U+0080-U+009F) are C2 80..C2 9F.
    if (byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F)
      return false;
    // U+202A-U+202E (E2 80 AA-AE) and U+2066-U+2069 (E2 81 A6-A9).
    if (byte == 0xE2 && i + 2 < text.size()) {
      const auto b1 = static_cast<unsigned char>(text[i + 1]);
      const auto b2 = static_cast<unsigned char>(text[i + 2]);
      if ((b1 == 0x80 && b2 >= 0xAA && b2 <= 0xAE) || (b1 == 0x81 && b2 >= 0xA6 && b2 <= 0xA9))
        return false;
    }
  }
  return true;
}

}  // namespace fuzz
