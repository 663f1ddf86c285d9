// The fonts and brushes the native views draw with, made once and shared by every window
// of the program until it ends.
#pragma once

#include <map>
#include <string>
#include <tuple>

#include "platform/win32/windows_api.h"
#include "ui/view_side.h"

namespace views::win32 {

// The colour as Windows draws it; the system colours follow the user's settings.
COLORREF ToColorRef(ui::Color color);

class GdiCache {
 public:
  GdiCache() = default;
  ~GdiCache();
  GdiCache(const GdiCache&) = delete;
  GdiCache& operator=(const GdiCache&) = delete;

  // The font at its point size for a DPI. Windows substitutes the face where it lacks it.
  HFONT FontFor(const ui::Font& font, unsigned dpi);
  HBRUSH BrushFor(COLORREF color);

 private:
  using FontKey = std::tuple<std::string, int, bool, unsigned>;
  std::map<FontKey, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace views::win32
