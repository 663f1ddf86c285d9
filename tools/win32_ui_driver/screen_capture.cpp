#include "screen_capture.h"

#include <algorithm>

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

std::optional<Capture> CaptureWholeScreen() {
  const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return CaptureScreen(screen);
}

bool Contains(const Capture& capture, std::uint32_t rgb) {
  return std::find(capture.pixels.begin(), capture.pixels.end(), rgb) != capture.pixels.end();
}

bool SaveBitmap(const Capture& capture, const std::wstring& path) {
  const DWORD rowBytes = static_cast<DWORD>((capture.width * 3 + 3) & ~3);
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(capture.height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + imageBytes;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = capture.width;
  header.biHeight = capture.height;  // bottom row first
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = imageBytes;
  std::vector<BYTE> image(imageBytes, 0);
  for (int y = 0; y < capture.height; ++y) {
    BYTE* row = image.data() + static_cast<std::size_t>(capture.height - 1 - y) * rowBytes;
    for (int x = 0; x < capture.width; ++x) {
      const std::uint32_t pixel = capture.pixels[static_cast<std::size_t>(y) * capture.width + x];
      row[x * 3] = static_cast<BYTE>(pixel);
      row[x * 3 + 1] = static_cast<BYTE>(pixel >> 8);
      row[x * 3 + 2] = static_cast<BYTE>(pixel >> 16);
    }
  }
  const HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && written == sizeof file;
  ok = ok && WriteFile(out, &header, sizeof header, &written, nullptr) && written == sizeof header;
  ok = ok && WriteFile(out, image.data(), imageBytes, &written, nullptr) && written == imageBytes;
  CloseHandle(out);
  return ok;
}

}  // namespace e2e
