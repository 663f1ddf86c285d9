// Conversion between the program's UTF-8 strings and Windows' UTF-16, at the edge of every
// call into the wide (W) API, so that texts with any letters survive unchanged.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace platform::win32 {

// Invalid UTF-8 or UTF-16 sequences become U+FFFD (Windows XP drops them); valid text is
// never cut short.
std::wstring Widen(std::string_view utf8);
// To UTF-8 (65001), or to another code page, where a letter the code page lacks becomes its
// default character ("?").
std::string Narrow(std::wstring_view utf16, unsigned codePage = 65001);

// The longest start of text that has at most maxBytes bytes and ends at a whole character.
std::string_view PrefixThatFits(std::string_view text, std::size_t maxBytes);

}  // namespace platform::win32
