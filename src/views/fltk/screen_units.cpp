#include "views/fltk/screen_units.h"

#include <FL/Fl.H>

#include <algorithm>
#include <cmath>

#include "views/fltk/x11_display.h"

namespace views::fltk {
namespace {

// X servers derive the resolution from a size in whole millimetres, so 96 DPI arrives as
// 95.9; like Windows, we count in whole dots per inch. Displays without a physical size
// (or with a wrong one) report resolutions far outside what any screen has; those fall
// back to 96 DPI.
double Believable(float dpi) {
  if (!std::isfinite(dpi) || dpi < 48 || dpi > 480) return kFallbackDpi;
  return std::round(static_cast<double>(dpi));
}

int Round(double value) {
  return static_cast<int>(std::lround(value));
}

}  // namespace

ScreenUnits ScreenUnits::FromDisplay() {
  OpenDisplay();
  float h = 0, v = 0;
  Fl::screen_dpi(h, v, 0);
  return {Believable(h), Believable(v)};
}

int ScreenUnits::X(platform::Twips twips) const {
  return platform::TwipsToPixels(twips, dpiX);
}
int ScreenUnits::Y(platform::Twips twips) const {
  return platform::TwipsToPixels(twips, dpiY);
}

int ScreenUnits::FontPixels(double points) const {
  return std::max(1, Round(points * dpiY / kPointsPerInch));
}

}  // namespace views::fltk
