// How the Windows operations fill the caller's buffers, in one place: the forwarding
// (platform_calls.cpp), both real backends and the test fake keep these conventions, so a
// caller sees the same answer whichever one runs.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/advapi32.h"

namespace platform {

// Copies text and a terminating NUL into out when both fit; otherwise leaves out untouched.
inline bool CopyWithNul(std::string_view text, std::span<char> out) {
  if (text.size() >= out.size()) return false;
  std::copy(text.begin(), text.end(), out.begin());
  out[text.size()] = '\0';
  return true;
}

// The Windows convention for a text returned in a caller's buffer: its length without the
// NUL when it fits, otherwise nothing written and the size needed, NUL included.
inline unsigned CopyOrSizeNeeded(std::string_view text, std::span<char> out) {
  if (!CopyWithNul(text, out)) return static_cast<unsigned>(text.size() + 1);
  return static_cast<unsigned>(text.size());
}

// The room a caller states for its buffer, never more than the buffer really holds.
inline std::size_t Capacity(unsigned long stated, std::span<char> buffer) {
  return std::min<std::size_t>(stated, buffer.size());
}

// GetComputerNameA's convention: size is the room on the way in; on success the name's
// length, otherwise the size needed with the NUL.
inline int CopyComputerName(std::string_view name, std::span<char> out, unsigned long& size) {
  if (!CopyWithNul(name, out.first(Capacity(size, out)))) {
    size = static_cast<unsigned long>(name.size() + 1);
    return 0;
  }
  size = static_cast<unsigned long>(name.size());
  return 1;
}

// GetUserNameA's convention: size is the room on the way in and the length with the NUL
// on the way out, whether it fitted or not.
inline int CopyUserName(std::string_view name, std::span<char> out, unsigned long& size) {
  const bool fits = CopyWithNul(name, out.first(Capacity(size, out)));
  size = static_cast<unsigned long>(name.size() + 1);
  return fits ? 1 : 0;
}

// RegEnumValueA's convention for one value whose data is given as the bytes the caller
// receives (a text with its NUL). When the name with its NUL or the data does not fit the
// room the caller stated (or the buffer's real size), nothing is written, the lengths say
// what would be needed (the name's with its NUL, as Windows counts it) and the result is
// kErrorMoreData. Otherwise nameLength is the name's length without its NUL and
// dataLength the data's size.
inline long CopyRegistryValue(std::string_view name, std::string_view data, std::span<char> nameOut,
                              unsigned long& nameLength, std::span<char> dataOut,
                              unsigned long& dataLength) {
  const std::size_t nameRoom = Capacity(nameLength, nameOut);
  const std::size_t dataRoom = Capacity(dataLength, dataOut);
  if (name.size() >= nameRoom || data.size() > dataRoom) {
    // Nothing is written: a cut name or text could match what it is not.
    nameLength = static_cast<unsigned long>(name.size() + 1);
    dataLength = static_cast<unsigned long>(data.size());
    return kErrorMoreData;
  }
  CopyWithNul(name, nameOut);
  std::copy(data.begin(), data.end(), dataOut.begin());
  nameLength = static_cast<unsigned long>(name.size());
  dataLength = static_cast<unsigned long>(data.size());
  return kErrorSuccess;
}

// The same for a text value: its data is the text and a NUL.
inline long CopyRegistryText(std::string_view name, std::string_view text, std::span<char> nameOut,
                             unsigned long& nameLength, std::span<char> dataOut,
                             unsigned long& dataLength) {
  std::string data(text);
  data += '\0';
  return CopyRegistryValue(name, data, nameOut, nameLength, dataOut, dataLength);
}

}  // namespace platform
