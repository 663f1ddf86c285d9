// What the screen shows: the pixels of a rectangle, to check a colour that a user sees (a
// highlighted link) and to keep a picture of the screen when a step fails.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, row by row from the top
};

// The pixels inside a rectangle of the screen; nothing when the screen cannot be read.
std::optional<Capture> CaptureScreen(const RECT& area);
bool Contains(const Capture& capture, std::uint32_t rgb);
// Writes the capture as a 24-bit BMP file.
bool SaveBitmap(const Capture& capture, const std::wstring& path);

}  // namespace e2e
