#include "views/win32/native_images.h"

#include <cstdint>
#include <vector>

#include "platform/win32/later_windows.h"

namespace views::win32 {
namespace {

std::uint8_t Blend(std::uint32_t over, std::uint32_t under, std::uint32_t alpha) {
  return static_cast<std::uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

bool IsOpaque(std::uint32_t argb) {
  return (argb >> 24) >= 128;
}

bool IsLight(std::uint32_t argb) {
  const std::uint32_t r = (argb >> 16) & 0xFF;
  const std::uint32_t g = (argb >> 8) & 0xFF;
  const std::uint32_t b = argb & 0xFF;
  return r * 299 + g * 587 + b * 114 >= 128 * 1000;
}

}  // namespace

void DrawBitmap(HDC dc, const ui::Bitmap& bitmap, COLORREF background, int x, int y, unsigned dpi) {
  const int width = bitmap.width;
  const int height = bitmap.height;
  if (width <= 0 || height <= 0) return;
  if (bitmap.argb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
    return;
  }
  // Composed over the background here, so the copy to the screen needs no alpha support
  // (which Windows XP's GDI lacks).
  const std::uint32_t backR = GetRValue(background);
  const std::uint32_t backG = GetGValue(background);
  const std::uint32_t backB = GetBValue(background);
  std::vector<std::uint32_t> pixels(bitmap.argb.size());
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const std::uint32_t p = bitmap.argb[i];
    const std::uint32_t a = p >> 24;
    pixels[i] = static_cast<std::uint32_t>(Blend((p >> 16) & 0xFF, backR, a)) << 16 |
                static_cast<std::uint32_t>(Blend((p >> 8) & 0xFF, backG, a)) << 8 |
                Blend(p & 0xFF, backB, a);
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  const int shownWidth = MulDiv(width, static_cast<int>(dpi), platform::win32::kDefaultDpi);
  const int shownHeight = MulDiv(height, static_cast<int>(dpi), platform::win32::kDefaultDpi);
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, shownWidth, shownHeight, 0, 0, width, height, pixels.data(), &info,
                DIB_RGB_COLORS, SRCCOPY);
}

HCURSOR CreateHandCursor() {
  const ui::Bitmap& hand = ui::HandCursorBitmap();
  constexpr int kSize = 32;
  if (hand.width != kSize || hand.height != kSize ||
      hand.argb.size() < static_cast<std::size_t>(kSize * kSize)) {
    return nullptr;
  }
  // A monochrome cursor is one bitmap twice as high: the AND mask (1 keeps the screen),
  // then the XOR mask (1 inverts, here: white). Rows are 32 bits, leftmost pixel first.
  std::vector<std::uint8_t> bits(kSize * 2 * 4, 0);
  for (int row = 0; row < kSize; ++row) {
    for (int column = 0; column < kSize; ++column) {
      const std::uint32_t pixel = hand.argb[static_cast<std::size_t>(row * kSize + column)];
      const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (column % 8));
      const std::size_t byte = static_cast<std::size_t>(row * 4 + column / 8);
      if (!IsOpaque(pixel))
        bits[byte] |= bit;
      else if (IsLight(pixel))
        bits[kSize * 4 + byte] |= bit;
    }
  }
  HBITMAP mask = CreateBitmap(kSize, kSize * 2, 1, 1, bits.data());
  if (!mask) return nullptr;
  ICONINFO cursor{};
  cursor.fIcon = FALSE;
  cursor.xHotspot = ui::kHandHotSpotX;
  cursor.yHotspot = ui::kHandHotSpotY;
  cursor.hbmMask = mask;
  cursor.hbmColor = nullptr;
  HCURSOR created = CreateIconIndirect(&cursor);
  DeleteObject(mask);
  return created;
}

HICON WindowIcon(const ui::Picture* picture, int size) {
  const int id = picture != nullptr ? picture->IconResource() : 0;
  if (id == 0) return nullptr;
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                       size, size, LR_SHARED));
}

}  // namespace views::win32
