// Writes the program's window icons as .ico files for the Windows resource script, from
// the same bitmaps the windows draw (src/pictures/pictures.cpp): 32 by 32 and, averaged
// down, 16 by 16, both with 8-bit alpha. The .ico files are committed; run this again
// whenever the icon bitmaps change:
//
//   c++ -std=c++20 -Isrc tools/make_icons.cpp src/pictures/pictures.cpp src/ui/forms.cpp \
//       -o /tmp/make_icons
//   /tmp/make_icons src/app/res
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "pictures/pictures.h"

namespace {

using ui::Bitmap;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::uint32_t Pixel(const Bitmap& bitmap, int x, int y) {
  return bitmap.argb[static_cast<std::size_t>(y * bitmap.width + x)];
}

// Halves the size, averaging each 2 by 2 block with the colours weighted by their alpha.
Bitmap HalfSize(const Bitmap& source) {
  Bitmap half{source.width / 2, source.height / 2, {}};
  half.argb.resize(static_cast<std::size_t>(half.width * half.height));
  for (int y = 0; y < half.height; ++y) {
    for (int x = 0; x < half.width; ++x) {
      std::uint32_t a = 0, r = 0, g = 0, b = 0;
      for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
          const std::uint32_t p = Pixel(source, 2 * x + dx, 2 * y + dy);
          const std::uint32_t alpha = p >> 24;
          a += alpha;
          r += ((p >> 16) & 0xFF) * alpha;
          g += ((p >> 8) & 0xFF) * alpha;
          b += (p & 0xFF) * alpha;
        }
      }
      std::uint32_t out = 0;
      if (a > 0) out = (a / 4) << 24 | (r / a) << 16 | (g / a) << 8 | (b / a);
      half.argb[static_cast<std::size_t>(y * half.width + x)] = out;
    }
  }
  return half;
}

// One icon image: a BITMAPINFOHEADER of double height, the colour rows bottom up (BGRA),
// then the 1-bit AND mask (1 where fully transparent), rows padded to 32 bits.
std::vector<std::uint8_t> IconImage(const Bitmap& bitmap) {
  const int w = bitmap.width, h = bitmap.height;
  const int maskRow = ((w + 31) / 32) * 4;
  std::vector<std::uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(w));
  Put32(out, static_cast<std::uint32_t>(2 * h));
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, static_cast<std::uint32_t>(w * h * 4 + maskRow * h));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) Put32(out, Pixel(bitmap, x, y));
  }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(maskRow), 0);
    for (int x = 0; x < w; ++x) {
      if ((Pixel(bitmap, x, y) >> 24) == 0) row[static_cast<std::size_t>(x / 8)] |= 0x80 >> (x % 8);
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

bool WriteIcon(const std::string& path, const Bitmap& bitmap) {
  if (bitmap.width != 32 || bitmap.height != 32) {
    std::fprintf(stderr, "%s: the bitmap is not 32 by 32\n", path.c_str());
    return false;
  }
  const std::vector<std::vector<std::uint8_t>> images{IconImage(bitmap),
                                                      IconImage(HalfSize(bitmap))};
  const int sizes[] = {32, 16};
  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    file.push_back(static_cast<std::uint8_t>(sizes[i]));
    file.push_back(static_cast<std::uint8_t>(sizes[i]));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  const bool written =
      WriteIcon(folder + "/belvosta.ico", belvosta::pictures::AppIcon.Pixels()) &&
      WriteIcon(folder + "/computer.ico", belvosta::pictures::ComputerIcon.Pixels());
  return written ? 0 : 1;
}
