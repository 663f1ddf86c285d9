// How Windows operations fill the caller's buffers, and how it compares names: shared by
// the POSIX backend and the test fake so that both keep the same conventions.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string_view>

namespace platform::posix {

// Copies text and a terminating NUL into out when both fit; otherwise leaves out untouched.
inline bool CopyWithNul(std::string_view text, std::span<char> out) {
  if (text.size() >= out.size()) return false;
  std::copy(text.begin(), text.end(), out.begin());
  out[text.size()] = '\0';
  return true;
}

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

// The Windows convention for a text returned in a caller's buffer: its length without the
// NUL when it fits, otherwise nothing written and the size needed, NUL included.
inline unsigned CopyOrSizeNeeded(std::string_view text, std::span<char> out) {
  if (!CopyWithNul(text, out)) return static_cast<unsigned>(text.size() + 1);
  return static_cast<unsigned>(text.size());
}

// GetComputerNameA's convention: size is the room on the way in; on success the name's
// length, otherwise the size needed with the NUL.
inline int CopyComputerName(std::string_view name, std::span<char> out, unsigned long& size) {
  if (!CopyWithNul(name, out.first(std::min<std::size_t>(size, out.size())))) {
    size = static_cast<unsigned long>(name.size() + 1);
    return 0;
  }
  size = static_cast<unsigned long>(name.size());
  return 1;
}

// GetUserNameA's convention: size is the room on the way in and the length with the NUL
// on the way out, whether it fitted or not.
inline int CopyUserName(std::string_view name, std::span<char> out, unsigned long& size) {
  const bool fits = CopyWithNul(name, out.first(std::min<std::size_t>(size, out.size())));
  size = static_cast<unsigned long>(name.size() + 1);
  return fits ? 1 : 0;
}

// RegEnumValueA's convention for one text value. When the name or the data does not fit
// the room the caller stated (or the buffer's real size), nothing is written, the lengths
// say what would be needed and the result is 234 (more data).
inline long CopyRegistryValue(std::string_view name, std::string_view data, std::span<char> nameOut,
                              unsigned long& nameLength, std::span<char> dataOut,
                              unsigned long& dataLength) {
  constexpr long kSuccess = 0;
  constexpr long kMoreData = 234;
  const std::size_t nameRoom = std::min<std::size_t>(nameLength, nameOut.size());
  const std::size_t dataRoom = std::min<std::size_t>(dataLength, dataOut.size());
  nameLength = static_cast<unsigned long>(name.size());
  dataLength = static_cast<unsigned long>(data.size() + 1);
  if (name.size() >= nameRoom || data.size() >= dataRoom) return kMoreData;
  CopyWithNul(name, nameOut);
  CopyWithNul(data, dataOut);
  return kSuccess;
}

}  // namespace platform::posix
