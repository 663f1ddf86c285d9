#include "ui/hand_cursor.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace ui {
namespace {

constexpr int kSize = 32;
constexpr std::uint32_t kOutline = 0xFF000000u;
constexpr std::uint32_t kInside = 0xFFFFFFFFu;

// One character a pixel: X outline, . inside, anything else transparent.
constexpr std::array<std::string_view, 22> kRows = {"     XX",            //
                                                    "    X..X",           //
                                                    "    X..X",           //
                                                    "    X..X",           //
                                                    "    X..X",           //
                                                    "    X..XXX",         //
                                                    "    X..X..XXX",      //
                                                    "    X..X..X..XX",    //
                                                    "    X..X..X..X.X",   //
                                                    " XX X..X..X..X..X",  //
                                                    "X..XX...........X",  //
                                                    "X...X...........X",  //
                                                    " X..X...........X",  //
                                                    " X..............X",  //
                                                    "  X.............X",  //
                                                    "  X............X",   //
                                                    "   X...........X",   //
                                                    "   X..........X",    //
                                                    "    X.........X",    //
                                                    "    X.........X",    //
                                                    "     X.......X",     //
                                                    "     XXXXXXXXX"};

Bitmap DrawHand() {
  Bitmap hand{kSize, kSize, std::vector<std::uint32_t>(kSize * kSize, 0)};
  for (std::size_t y = 0; y < kRows.size(); ++y) {
    for (std::size_t x = 0; x < kRows[y].size(); ++x) {
      const char pixel = kRows[y][x];
      if (pixel == 'X' || pixel == '.') {
        hand.argb[y * kSize + x] = pixel == 'X' ? kOutline : kInside;
      }
    }
  }
  return hand;
}

}  // namespace

const Bitmap& HandCursorBitmap() {
  static const Bitmap hand = DrawHand();
  return hand;
}

}  // namespace ui
