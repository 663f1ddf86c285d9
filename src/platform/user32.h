// The desktop window and the screen.
#pragma once

#include <cstdint>

#include "platform/forms.h"

namespace platform {

struct RECT {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

WindowHandle GetDesktopWindow();
// Nonzero on success.
int GetWindowRect(WindowHandle window, RECT& rect);

// The screen as the window system measures it in twips.
struct ScreenTwips {
  double width = 0;
  double height = 0;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};
ScreenTwips GetScreenTwips();

}  // namespace platform
