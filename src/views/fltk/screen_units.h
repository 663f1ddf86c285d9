// Converting the window system's twips and points into this screen's pixels.
#pragma once

#include "platform/twips.h"

namespace views::fltk {

inline constexpr double kPointsPerInch = 72.0;
inline constexpr double kFallbackDpi = 96.0;

struct ScreenUnits {
  double dpiX = kFallbackDpi;
  double dpiY = kFallbackDpi;

  // The primary screen's resolution as the display reports it; 96 DPI where it reports
  // nothing believable. Opens the display.
  static ScreenUnits FromDisplay();

  int X(platform::Twips twips) const;
  int Y(platform::Twips twips) const;
  // Font size in pixels for a size in points.
  int FontPixels(double points) const;
  double TwipsPerPixelX() const { return platform::TwipsPerPixel(dpiX); }
  double TwipsPerPixelY() const { return platform::TwipsPerPixel(dpiY); }
};

}  // namespace views::fltk
