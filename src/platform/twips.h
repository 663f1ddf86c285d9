// Positions and sizes of the window model are twips, 1/1440 inch, so that the windows keep
// their design at any screen resolution. The one conversion between twips and pixels.
#pragma once

#include <cmath>

namespace platform {

using Twips = int;

inline constexpr double kTwipsPerInch = 1440.0;

// Twips to pixels at a resolution in dots per inch, rounded to the nearest pixel.
inline int TwipsToPixels(Twips twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

// The twips that one pixel covers at a resolution in dots per inch.
inline constexpr double TwipsPerPixel(double dpi) {
  return kTwipsPerInch / dpi;
}

}  // namespace platform
