// User name and the registry, read only.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/operations.h"

namespace platform {

using HKEY = std::uintptr_t;
inline constexpr HKEY kHkeyLocalMachine = 0x80000002u;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;
inline constexpr long kErrorInvalidHandle = 6;

// The operations themselves, described in operations.h.
BELVOSTA_ADVAPI32_OPERATIONS(BELVOSTA_DECLARE_FUNCTION, BELVOSTA_NO_FUNCTION)

}  // namespace platform
