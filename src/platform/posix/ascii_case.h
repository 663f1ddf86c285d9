// How Windows compares names (drive roots, verbs, host names, file names in the tree
// search): ASCII letters without regard to case, every other byte exactly. Shared by the
// POSIX backend and the test fake.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::posix {

inline char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

// Equality of two texts with ASCII letters compared without regard to case; other bytes
// (UTF-8 sequences included) must match exactly.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace platform::posix
