// The image help library's tree search.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "platform/operations.h"

namespace platform {

// The longest full path any platform hands back (Windows' extended-length limit).
inline constexpr std::size_t kMaxFullPath = 32768;

// The operations themselves, described in operations.h.
BELVOSTA_IMAGEHLP_OPERATIONS(BELVOSTA_DECLARE_FUNCTION, BELVOSTA_NO_FUNCTION)

}  // namespace platform
