#include "platform/win32/utf8.h"
#include "platform/buffer_rules.h"

#include <gtest/gtest.h>

#include <array>

namespace platform::win32 {
namespace {

TEST(Utf8, TextsWithAnyLettersSurviveTheWayThroughWindows) {
  for (const std::string text : {"", "Temporär Internet:", "C:\\Benutzer\\Jürgen\\Документы",
                                 "\xF0\x9F\x98\x80 und \xE2\x82\xAC"}) {
    EXPECT_EQ(Narrow(Widen(text)), text);
  }
  EXPECT_EQ(Widen("Grö\xC3\x9F"
                  "e"),
            L"Gr\u00f6\u00dfe");
  // A character outside the basic plane is one surrogate pair in Windows' strings.
  EXPECT_EQ(Widen("\xF0\x9F\x98\x80").size(), 2u);
}

TEST(Utf8, PrefixThatFitsEndsAtAWholeCharacter) {
  const std::string text =
      "a\xC3\xA4"
      "b";  // a, ä (two bytes), b
  EXPECT_EQ(PrefixThatFits(text, 0), "");
  EXPECT_EQ(PrefixThatFits(text, 1), "a");
  EXPECT_EQ(PrefixThatFits(text, 2), "a");
  EXPECT_EQ(PrefixThatFits(text, 3), "a\xC3\xA4");
  EXPECT_EQ(PrefixThatFits(text, 10), text);
}

TEST(Utf8, CopyWithNulWritesOnlyWhatFitsWithItsNul) {
  std::array<char, 6> memory;
  memory.fill('x');
  const std::span<char> buffer(memory.data(), 4);  // the last two bytes lie outside

  EXPECT_TRUE(CopyWithNul("abc", buffer));
  EXPECT_EQ(std::string(memory.data(), 6), std::string("abc\0xx", 6));

  memory.fill('x');
  EXPECT_FALSE(CopyWithNul("abcd", buffer));
  EXPECT_EQ(std::string(memory.data(), 6), "xxxxxx");
  EXPECT_FALSE(CopyWithNul("", std::span<char>()));
}

}  // namespace
}  // namespace platform::win32
