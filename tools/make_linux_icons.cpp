// Writes the program's icon for Linux desktops as PNG files in the hicolor theme's layout,
// from the same bitmap the windows draw (src/pictures/pictures.cpp):
//
//   make_linux_icons OUTPUT-FOLDER   ->   OUTPUT-FOLDER/{16x16,32x32,48x48}/apps/belvosta.png
//
// The build runs it; `cmake --install` copies the folder to share/icons/hicolor. The PNG
// files store their pixels uncompressed (zlib's "stored" blocks), so no library is needed.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pictures/pictures.h"

namespace {

using ui::Bitmap;
using Bytes = std::vector<std::uint8_t>;

// The bitmap at size x size pixels: each new pixel averages the area of the old ones it
// covers, the colours weighted by their alpha.
Bitmap Resampled(const Bitmap& source, int size) {
  Bitmap out{size, size, std::vector<std::uint32_t>(static_cast<std::size_t>(size * size))};
  const double sx = static_cast<double>(source.width) / size;
  const double sy = static_cast<double>(source.height) / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double a = 0, r = 0, g = 0, b = 0;
      const double x0 = x * sx, x1 = (x + 1) * sx, y0 = y * sy, y1 = (y + 1) * sy;
      for (int v = static_cast<int>(y0); v < source.height && v < y1; ++v) {
        const double wy = std::min<double>(v + 1, y1) - std::max<double>(v, y0);
        for (int u = static_cast<int>(x0); u < source.width && u < x1; ++u) {
          const double wx = std::min<double>(u + 1, x1) - std::max<double>(u, x0);
          const std::uint32_t p = source.argb[static_cast<std::size_t>(v * source.width + u)];
          const double weight = wx * wy * (p >> 24);
          a += weight;
          r += weight * ((p >> 16) & 0xFF);
          g += weight * ((p >> 8) & 0xFF);
          b += weight * (p & 0xFF);
        }
      }
      std::uint32_t pixel = 0;
      if (a > 0) {
        const auto channel = [](double value) {
          return static_cast<std::uint32_t>(std::clamp(value + 0.5, 0.0, 255.0));
        };
        pixel = channel(a / (sx * sy)) << 24 | channel(r / a) << 16 | channel(g / a) << 8 |
                channel(b / a);
      }
      out.argb[static_cast<std::size_t>(y * size + x)] = pixel;
    }
  }
  return out;
}

void PutBig32(Bytes& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
  }
  return ~crc;
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
  PutBig32(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored (uncompressed) blocks.
Bytes StoredZlib(const Bytes& data) {
  Bytes out{0x78, 0x01};
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min<std::size_t>(data.size() - offset, 65535);
    const bool last = offset + length == data.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<std::uint8_t>(length));
    out.push_back(static_cast<std::uint8_t>(length >> 8));
    out.push_back(static_cast<std::uint8_t>(~length));
    out.push_back(static_cast<std::uint8_t>(~length >> 8));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(offset),
               data.begin() + static_cast<std::ptrdiff_t>(offset + length));
    offset += length;
  } while (offset < data.size());
  std::uint32_t a = 1, b = 0;
  for (const std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  PutBig32(out, b << 16 | a);
  return out;
}

// An 8-bit RGBA PNG image.
Bytes Png(const Bitmap& bitmap) {
  Bytes header;
  PutBig32(header, static_cast<std::uint32_t>(bitmap.width));
  PutBig32(header, static_cast<std::uint32_t>(bitmap.height));
  header.insert(header.end(), {8, 6, 0, 0, 0});
  Bytes rows;
  for (int y = 0; y < bitmap.height; ++y) {
    rows.push_back(0);  // no filter
    for (int x = 0; x < bitmap.width; ++x) {
      const std::uint32_t p = bitmap.argb[static_cast<std::size_t>(y * bitmap.width + x)];
      rows.insert(rows.end(),
                  {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                   static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});
    }
  }
  Bytes png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", StoredZlib(rows));
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
    return 2;
  }
  const Bitmap& icon = belvosta::pictures::AppIcon.Pixels();
  for (const int size : std::array{16, 32, 48}) {
    const std::string size_name = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / size_name / "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const Bytes png = Png(size == icon.width ? icon : Resampled(icon, size));
    std::ofstream out(folder / "belvosta.png", std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!out) {
      std::fprintf(stderr, "%s: cannot write %s\n", argv[0], (folder / "belvosta.png").c_str());
      return 1;
    }
  }
  return 0;
}
