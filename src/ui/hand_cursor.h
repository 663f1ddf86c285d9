// The pointing hand that the views show for MousePointer::Hand, the same on every system.
#pragma once

#include "ui/forms.h"

namespace ui {

// 32 by 32, black outline on white, the rest transparent; the hot spot is the fingertip.
const Bitmap& HandCursorBitmap();
inline constexpr int kHandHotSpotX = 5;
inline constexpr int kHandHotSpotY = 0;

}  // namespace ui
