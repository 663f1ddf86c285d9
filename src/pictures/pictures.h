// The program's own images, drawn in code so that every view shows the same pixels.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/forms.h"

namespace platform {

// Pixels row by row from the top left, each 0xAARRGGBB; alpha 0 is transparent.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// The bitmap of an image; Image::None gives an empty bitmap.
const Bitmap& ImageBitmap(Image image);

// The pointing hand of the controls marked hand: 32 by 32, black outline on white, the rest
// transparent, hot spot at the fingertip.
const Bitmap& HandCursorBitmap();
inline constexpr int kHandHotSpotX = 5;
inline constexpr int kHandHotSpotY = 0;

}  // namespace platform
