#include "platform/fltk/screen_units.h"

#include <FL/Fl.H>

#include <algorithm>
#include <cmath>

#include "platform/fltk/x11_display.h"

namespace platform::fltk {
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

int ScreenUnits::X(Twips twips) const {
  return TwipsToPixels(twips, dpiX);
}
int ScreenUnits::Y(Twips twips) const {
  return TwipsToPixels(twips, dpiY);
}

int ScreenUnits::FontPixels(double points) const {
  return std::max(1, Round(points * dpiY / kPointsPerInch));
}

}  // namespace platform::fltk
