// User name and the registry, read only.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace platform {

using HKEY = std::uintptr_t;
inline constexpr HKEY kHkeyLocalMachine = 0x80000002u;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;

// size: in, the buffer's size; out, the name's length including its NUL on success.
// Nonzero on success.
int GetUserNameA(std::span<char> buffer, unsigned long& size);

long RegOpenKeyA(HKEY key, std::string_view subKey, HKEY& result);
// Enumerates the values of an open key. On kErrorSuccess the name buffer holds the value's
// name and a NUL (nameLength: its length without NUL) and the data buffer its data
// (dataLength: bytes, a text's NUL included). kErrorMoreData: a buffer was too small and
// holds nothing to rely on. kErrorNoMoreItems: index is past the last value.
long RegEnumValueA(HKEY key, unsigned long index, std::span<char> valueName,
                   unsigned long& valueNameLength, std::span<char> data, unsigned long& dataLength);
long RegCloseKey(HKEY key);

}  // namespace platform
