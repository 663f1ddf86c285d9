// Outside text made safe for a terminal: every edge of every range it keeps or replaces.
#include <gtest/gtest.h>

#include <string>

#include "app/printable_text.h"

namespace {

using belvosta::Printable;
using belvosta::PrintableStart;

// The UTF-8 form of a code point, written out here so that the test does not trust the
// code under test to encode (surrogates and values past U+10FFFF included, which are no
// valid UTF-8 but have an obvious byte pattern).
std::string Utf8(char32_t point) {
  std::string bytes;
  const auto add = [&](unsigned value) { bytes += static_cast<char>(value); };
  if (point < 0x80) {
    add(point);
  } else if (point < 0x800) {
    add(0xC0 | (point >> 6)), add(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    add(0xE0 | (point >> 12)), add(0x80 | ((point >> 6) & 0x3F)), add(0x80 | (point & 0x3F));
  } else {
    add(0xF0 | (point >> 18)), add(0x80 | ((point >> 12) & 0x3F));
    add(0x80 | ((point >> 6) & 0x3F)), add(0x80 | (point & 0x3F));
  }
  return bytes;
}

TEST(PrintableText, EachRangeEndsExactlyWhereItShould) {
  // Controls and direction changes become one "?", their neighbours stay.
  struct Edge {
    char32_t kept, replaced;
  };
  for (const Edge& e : {Edge{0x20, 0x1F}, Edge{0x7E, 0x7F}, Edge{0xA0, 0x9F}, Edge{0x2029, 0x202A},
                        Edge{0x202F, 0x202E}, Edge{0x2065, 0x2066}, Edge{0x206A, 0x2069}}) {
    EXPECT_EQ(Printable(Utf8(e.kept)), Utf8(e.kept)) << std::hex << unsigned(e.kept);
    EXPECT_EQ(Printable(Utf8(e.replaced) + "x"), "?x") << std::hex << unsigned(e.replaced);
  }
  EXPECT_EQ(Printable(Utf8(0x00)), "?");
  EXPECT_EQ(Printable(Utf8(0x80)), "?");

  // Surrogates are no UTF-8: each of their three bytes is shown as "?".
  for (char32_t kept : {0xD7FF, 0xE000, 0xFFFF, 0x10000, 0x10FFFF}) {
    EXPECT_EQ(Printable(Utf8(kept)), Utf8(kept)) << std::hex << unsigned(kept);
  }
  for (char32_t surrogate : {0xD800, 0xDBFF, 0xDC00, 0xDFFF}) {
    EXPECT_EQ(Printable(Utf8(surrogate)), "???") << std::hex << unsigned(surrogate);
  }
  EXPECT_EQ(Printable(Utf8(0x110000)), "????");
}

TEST(PrintableText, OnlyTheShortestFormOfEachLengthIsUtf8) {
  // The lead bytes just below each length's valid range and the overlong forms just under
  // each length's smallest code point are bytes to replace, one by one.
  EXPECT_EQ(Printable("\xC1\xBF"), "??");                // U+7F in two bytes
  EXPECT_EQ(Printable("\xC2\x80x"), "?x");               // U+80, the shortest two-byte form
  EXPECT_EQ(Printable("\xDF\xBF"), "\xDF\xBF");          // U+7FF, the last two-byte form
  EXPECT_EQ(Printable("\xE0\x9F\xBF"), "???");           // U+7FF in three bytes
  EXPECT_EQ(Printable("\xE0\xA0\x80"), "\xE0\xA0\x80");  // U+800
  EXPECT_EQ(Printable("\xEF\xBF\xBF"), "\xEF\xBF\xBF");  // U+FFFF, the last three-byte form
  EXPECT_EQ(Printable("\xF0\x8F\xBF\xBF"), "????");      // U+FFFF in four bytes
  EXPECT_EQ(Printable("\xF0\x90\x80\x80"), "\xF0\x90\x80\x80");
  EXPECT_EQ(Printable("\xF4\x8F\xBF\xBF"), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(Printable("\xF5\x80\x80\x80"), "????");
  EXPECT_EQ(Printable("\x80\xBF\xFE\xFF"), "????");

  // A sequence cut by the end of the text, or by a byte that does not continue it: the cut
  // part is replaced byte by byte and what follows stays.
  EXPECT_EQ(Printable("a\xC3"), "a?");
  EXPECT_EQ(Printable("a\xE2\x82"), "a??");
  EXPECT_EQ(Printable("a\xF0\x9F\x98"), "a???");
  EXPECT_EQ(Printable("\xE2(\xA4"), "?(?");
  EXPECT_EQ(Printable("\xC3\xA4\xC3"), "\xC3\xA4?");
  EXPECT_EQ(Printable(std::string("a\0b", 3)), "a?b");
  EXPECT_EQ(Printable(""), "");
}

TEST(PrintableText, TheStartCountsCharactersNotBytes) {
  EXPECT_EQ(PrintableStart("abc", 3), "abc");
  EXPECT_EQ(PrintableStart("abcd", 3), "abc...");
  EXPECT_EQ(PrintableStart("abc", 0), "...");
  EXPECT_EQ(PrintableStart("", 0), "");
  // A replaced character counts once however many bytes it had.
  EXPECT_EQ(PrintableStart("\xE2\x80\xAE\xF0\x9F\x98\x80z", 2), "?\xF0\x9F\x98\x80...");
  EXPECT_EQ(PrintableStart("\xFF\xFFz", 2), "??...");
  EXPECT_EQ(PrintableStart("\xFF\xFFz", 3), "??z");
}

}  // namespace
