// The desktop window and the screen.
#pragma once

#include <cstdint>

#include "platform/operations.h"
#include "platform/window_handle.h"

namespace platform {

struct RECT {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The screen in twips.
struct ScreenTwips {
  double width = 0;
  double height = 0;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

// The operations themselves, described in operations.h.
BELVOSTA_USER32_OPERATIONS(BELVOSTA_DECLARE_FUNCTION, BELVOSTA_NO_FUNCTION)

}  // namespace platform
