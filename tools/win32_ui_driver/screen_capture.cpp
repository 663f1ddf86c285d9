#include "screen_capture.h"

#include <algorithm>
#include <fstream>

namespace e2e {

std::optional<Capture> CaptureScreen(const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return std::nullopt;
  const HDC screen = GetDC(nullptr);
  if (!screen) return std::nullopt;
  const HDC memory = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  std::optional<Capture> capture;
  if (memory && bitmap) {
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    Capture pixels{width, height,
                   std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    if (copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.pixels.data(),
                            &info, DIB_RGB_COLORS) == height) {
      for (std::uint32_t& pixel : pixels.pixels) pixel &= 0x00FFFFFF;
      capture = std::move(pixels);
    }
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return capture;
}

bool Contains(const Capture& capture, std::uint32_t rgb) {
  return std::find(capture.pixels.begin(), capture.pixels.end(), rgb) != capture.pixels.end();
}

bool SaveBitmap(const Capture& capture, const std::wstring& path) {
  // A 32-bit BMP with the top row first holds the capture's pixels as they are.
  const DWORD imageBytes = static_cast<DWORD>(capture.pixels.size() * sizeof(std::uint32_t));
  BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), capture.width, -capture.height, 1, 32, BI_RGB};
  BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  file.bfSize = file.bfOffBits + imageBytes;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
  bytes.append(reinterpret_cast<const char*>(capture.pixels.data()), imageBytes);
  std::ofstream out(path.c_str(), std::ios::binary);
  return out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && out.flush();
}

}  // namespace e2e
