// What every fuzz target shares: a property that must hold, the UTF-8 rules the
// properties are stated in, and small text helpers written here independently of the
// program's own.
#pragma once

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace fuzz {

// Stops the run when a property fails, so that libFuzzer saves the input as a crash.
inline void Require(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "fuzz property failed: %s\n", property);
  std::abort();
}

// The code points of well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF), decoded here independently of the program's own decoder; nothing otherwise.
inline std::optional<std::u32string> Decoded(std::string_view text) {
  std::u32string decoded;
  for (std::size_t i = 0; i < text.size();) {
    const auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char lead = at(0);
    const int ones = std::countl_one(lead);  // 0 for ASCII, else the sequence's length
    const std::size_t length = ones == 0 ? 1 : static_cast<std::size_t>(ones);
    if (ones == 1 || ones > 4 || text.size() - i < length) return std::nullopt;
    char32_t point = lead & (0xFF >> (ones + 1));
    for (std::size_t k = 1; k < length; ++k) {
      if ((at(k) & 0xC0) != 0x80) return std::nullopt;
      point = point << 6 | (at(k) & 0x3F);
    }
    const char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < shortest[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
      return std::nullopt;
    decoded += point;
    i += length;
  }
  return decoded;
}

inline bool IsUtf8(std::string_view text) {
  return Decoded(text).has_value();
}

// Whether the text shows on a terminal as it is: well-formed UTF-8 without a control
// character (C0, DEL or C1) other than the line ends and tabs allowed, nor a direction
// override (U+202A-U+202E, U+2066-U+2069).
inline bool IsTerminalSafe(std::string_view text, std::string_view allowedControls = "") {
  const auto decoded = Decoded(text);
  if (!decoded) return false;
  for (const char32_t c : *decoded) {
    const bool control = c < 0x20 || (c >= 0x7F && c <= 0x9F);
    if (control && allowedControls.find(static_cast<char>(c)) == std::string_view::npos)
      return false;
    if ((c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069)) return false;
  }
  return true;
}

// ASCII letters lowered, as the program compares names and options.
inline std::string AsciiLower(std::string text) {
  for (char& c : text) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return text;
}

// Decimal digits whose number a DWORD holds.
inline bool IsDword(std::string_view text) {
  return !text.empty() && text.size() <= 10 &&
         text.find_first_not_of("0123456789") == std::string_view::npos &&
         std::stoull(std::string(text)) <= 0xFFFFFFFFull;
}

// Text as a shell writes it between double quotes (os-release, user-dirs.dirs): \ before
// ", \, $ and `.
inline std::string ShellEscaped(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    if (c == '"' || c == '\\' || c == '$' || c == '`') escaped += '\\';
    escaped += c;
  }
  return escaped;
}

}  // namespace fuzz
