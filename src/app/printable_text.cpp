#include "app/printable_text.h"

namespace belvosta {
namespace {

// The length of the valid UTF-8 sequence at text[at], and its code point; 0 when the bytes
// there are no valid sequence (overlong forms, surrogates and values past U+10FFFF
// included).
std::size_t Sequence(std::string_view text, std::size_t at, char32_t& point) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    point = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, point = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, point = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, point = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - at < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    point = (point << 6) | (byte(i) & 0x3F);
  }
  if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
  return length;
}

bool IsHostile(char32_t point) {
  return point < 0x20 || (point >= 0x7F && point <= 0x9F) || (point >= 0x202A && point <= 0x202E) ||
         (point >= 0x2066 && point <= 0x2069);
}

}  // namespace

std::string Printable(std::string_view text) {
  return PrintableStart(text, text.size());
}

std::string PrintableStart(std::string_view text, std::size_t characters) {
  std::string printable;
  printable.reserve(text.size());
  std::size_t at = 0;
  for (std::size_t count = 0; at < text.size() && count < characters; ++count) {
    char32_t point = 0;
    const std::size_t length = Sequence(text, at, point);
    if (length == 0 || IsHostile(point)) {
      printable += '?';
      at += length == 0 ? 1 : length;
    } else {
      printable.append(text, at, length);
      at += length;
    }
  }
  if (at < text.size()) printable += "...";
  return printable;
}

}  // namespace belvosta
