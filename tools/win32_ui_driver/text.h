// Texts in failure messages, and the matchers that compare what a window shows with what a step
// expects.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32/utf8.h"

namespace e2e {

using platform::win32::Narrow;
using platform::win32::Widen;

// A whole file's bytes; nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// A text shown in a failure message: quoted, with control characters spelled out, so that
// a tab, a line break or a trailing blank can be seen.
std::string Quoted(std::string_view text);

// Adds an item to a list of items written one after the other.
void AppendItem(std::string& list, std::string_view separator, std::string_view item);

// Values a scenario may name as ${NAME}, such as the computer's name.
using Variables = std::map<std::string, std::string>;
std::string Expand(std::string_view text, const Variables& variables);

// An expected text: exactly this, or anything a regular expression (ECMAScript) matches
// in full.
class Matcher {
 public:
  static Matcher Exact(std::string text) { return Matcher(std::move(text), false); }
  static Matcher Pattern(std::string pattern) { return Matcher(std::move(pattern), true); }

  bool Matches(std::string_view seen) const;
  // How the expectation reads in a failure message.
  std::string Describe() const;

 private:
  Matcher(std::string text, bool pattern) : text_(std::move(text)), pattern_(pattern) {}
  std::string text_;
  bool pattern_;
};

}  // namespace e2e
