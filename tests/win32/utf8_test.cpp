// Texts between the program's UTF-8 and Windows' wide strings and code pages.
#include "platform/win32/utf8.h"

#include <gtest/gtest.h>

namespace platform::win32 {
namespace {

TEST(Utf8, TextsWithAnyLettersSurviveTheWayThroughWindows) {
  for (const std::string text : {"", "Temporär Internet:", "C:\\Benutzer\\Jürgen\\Документы",
                                 "\xF0\x9F\x98\x80 und \xE2\x82\xAC"})
    EXPECT_EQ(Narrow(Widen(text)), text);
  EXPECT_EQ(Widen("Größe"), L"Gr\u00f6\u00dfe");
  // A character outside the basic plane is one surrogate pair in Windows' strings.
  EXPECT_EQ(Widen("\xF0\x9F\x98\x80").size(), 2u);

  // cmd.exe's German code page 850 and the ANSI page 1252 place ü differently.
  EXPECT_EQ(Narrow(Widen("Prüfung gewährleisten"), 850), "Pr\201fung gew\204hrleisten");
  EXPECT_EQ(Narrow(Widen("Prüfung"), 1252), "Pr\374fung");
  // A letter the code page lacks becomes one stand-in byte (its look-alike or "?"); the
  // text around it is never cut.
  const std::string omega = Narrow(Widen("a\xCE\xA9z"), 1252);
  ASSERT_EQ(omega.size(), 3u);
  EXPECT_EQ(omega.front(), 'a');
  EXPECT_EQ(omega.back(), 'z');

  // A prefix cut to a number of bytes ends at a whole character.
  const std::string text = "aäb";  // ä takes two bytes
  EXPECT_EQ(PrefixThatFits(text, 0), "");
  EXPECT_EQ(PrefixThatFits(text, 2), "a");
  EXPECT_EQ(PrefixThatFits(text, 3), "aä");
  EXPECT_EQ(PrefixThatFits(text, 10), text);
}

}  // namespace
}  // namespace platform::win32
