#include "views/win32/gdi_cache.h"

#include <cmath>

#include "platform/win32/utf8.h"

namespace views::win32 {

COLORREF ToColorRef(ui::Color color) {
  if (color.systemWindow) return GetSysColor(COLOR_WINDOW);
  if (color.systemButtonFace) return GetSysColor(COLOR_BTNFACE);
  return RGB(color.r, color.g, color.b);
}

GdiCache::~GdiCache() {
  for (const auto& [key, font] : fonts_) DeleteObject(font);
  for (const auto& [key, brush] : brushes_) DeleteObject(brush);
}

HFONT GdiCache::FontFor(const ui::Font& font, unsigned dpi) {
  // Points are kept in hundredths, so 8.25 and 9.75 stay apart from their neighbours.
  const int hundredths = static_cast<int>(std::lround(font.points * 100));
  const FontKey key{font.name, hundredths, font.bold, dpi};
  const auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;

  LOGFONTW description{};
  description.lfHeight =
      -static_cast<LONG>(std::lround(hundredths * static_cast<double>(dpi) / 7200.0));
  description.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  description.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring face = platform::win32::Widen(font.name);
  lstrcpynW(description.lfFaceName, face.c_str(), LF_FACESIZE);
  HFONT created = CreateFontIndirectW(&description);
  if (!created)
    created = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  else
    fonts_.emplace(key, created);
  return created;
}

HBRUSH GdiCache::BrushFor(COLORREF color) {
  const auto found = brushes_.find(color);
  if (found != brushes_.end()) return found->second;
  HBRUSH created = CreateSolidBrush(color);
  if (!created) return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  brushes_.emplace(color, created);
  return created;
}

}  // namespace views::win32
