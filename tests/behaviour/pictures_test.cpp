// The program's own pictures, which every view draws from the same pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "pictures/pictures.h"
#include "ui/hand_cursor.h"

namespace {

namespace pictures = belvosta::pictures;

bool HasOpaquePixels(const ui::Bitmap& bitmap) {
  return std::any_of(bitmap.argb.begin(), bitmap.argb.end(),
                     [](std::uint32_t pixel) { return (pixel >> 24) != 0; });
}

TEST(Pictures, EveryPictureHasAllItsPixelsAndSomethingToShow) {
  struct Named {
    const char* name;
    const ui::Picture& picture;
  };
  for (const Named& e :
       {Named{"AppIcon", pictures::AppIcon}, Named{"ComputerIcon", pictures::ComputerIcon},
        Named{"Tick", pictures::Tick}, Named{"Busy", pictures::Busy},
        Named{"Arrow", pictures::Arrow}, Named{"Smile", pictures::Smile},
        Named{"Frown", pictures::Frown}}) {
    const ui::Bitmap& bitmap = e.picture.Pixels();
    EXPECT_GT(bitmap.width, 0) << e.name;
    EXPECT_EQ(bitmap.argb.size(), static_cast<std::size_t>(bitmap.width * bitmap.height)) << e.name;
    EXPECT_TRUE(HasOpaquePixels(bitmap)) << e.name;
  }
  // The same bitmap object every time: drawn once, shared by every view.
  EXPECT_EQ(&pictures::Tick.Pixels(), &pictures::Tick.Pixels());
  // Only the window icons come as icon resources of the Windows program, each its own.
  EXPECT_NE(pictures::AppIcon.IconResource(), 0);
  EXPECT_NE(pictures::ComputerIcon.IconResource(), 0);
  EXPECT_NE(pictures::AppIcon.IconResource(), pictures::ComputerIcon.IconResource());
  EXPECT_EQ(pictures::Tick.IconResource(), 0);
}

TEST(Pictures, TheTickFitsTheShortFirstRowAndTheHandPointsWithItsHotSpot) {
  // The first tick's box is 375 twips (25 pixels) high: nothing may lie below that.
  const ui::Bitmap& tick = pictures::Tick.Pixels();
  for (int y = 25; y < tick.height; ++y) {
    for (int x = 0; x < tick.width; ++x) {
      EXPECT_EQ(tick.argb[static_cast<std::size_t>(y * tick.width + x)] >> 24, 0u) << x << "," << y;
    }
  }
  const ui::Bitmap& hand = ui::HandCursorBitmap();
  ASSERT_EQ(hand.width, 32);
  ASSERT_EQ(hand.height, 32);
  const auto pixel = [&](int x, int y) -> std::uint32_t {
    if (x < 0 || y < 0 || x >= 32 || y >= 32) return 0;
    return hand.argb[static_cast<std::size_t>(y * 32 + x)];
  };
  constexpr std::uint32_t black = 0xFF000000u, white = 0xFFFFFFFFu;
  EXPECT_EQ(pixel(ui::kHandHotSpotX, ui::kHandHotSpotY), black);
  // A black outline round a white hand: every pixel is black, white or clear, and white
  // never touches the clear outside.
  int whites = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const std::uint32_t colour = pixel(x, y);
      ASSERT_TRUE(colour == 0 || colour == black || colour == white) << x << "," << y;
      if (colour != white) continue;
      ++whites;
      for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        EXPECT_NE(pixel(x + dx, y + dy), 0u) << x << "," << y;
      }
    }
  }
  EXPECT_GT(whites, 100);
}

// The faces: yellow, opaque wherever the face is (its features drawn over it included), and
// smoothed at the rim, where a pixel is only partly covered.
TEST(Pictures, TheFacesAreYellowAndOpaqueInsideAndSmoothAtTheirRim) {
  for (const ui::Picture* picture : {&pictures::Smile, &pictures::Frown}) {
    const ui::Bitmap& face = picture->Pixels();
    ASSERT_EQ(face.width, 32);
    ASSERT_EQ(face.height, 32);
    const auto at = [&](int x, int y) { return face.argb[static_cast<std::size_t>(y * 32 + x)]; };
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 32; ++x) {
        if (std::hypot(x + 0.5 - 16, y + 0.5 - 16) < 12) {
          EXPECT_EQ(at(x, y) >> 24, 255u) << x << "," << y;
        }
      }
    }
    const std::uint32_t middle = at(16, 16);
    const std::uint32_t red = (middle >> 16) & 0xFF, green = (middle >> 8) & 0xFF,
                        blue = middle & 0xFF;
    EXPECT_GE(red, green);
    EXPECT_GT(green, blue);
    const std::uint32_t rim = at(16, 1) >> 24;  // the circle's edge crosses this pixel
    EXPECT_GT(rim, 0u);
    EXPECT_LT(rim, 255u);
  }
}

// The mouth: the smile's middle lies below its corners, the frown's above them.
TEST(Pictures, TheSmileCurvesUpAndTheFrownDown) {
  // The mean height of the dark mouth pixels in column x, below the eyes.
  const auto mouthAt = [](const ui::Bitmap& face, int x) {
    double sum = 0;
    int count = 0;
    for (int y = 16; y < 32; ++y) {
      const std::uint32_t pixel = face.argb[static_cast<std::size_t>(y * 32 + x)];
      if ((pixel >> 24) == 255 && ((pixel >> 16) & 0xFF) < 100) {
        sum += y;
        ++count;
      }
    }
    EXPECT_GT(count, 0) << "no mouth in column " << x;
    return count > 0 ? sum / count : 0.0;
  };
  const ui::Bitmap& smile = pictures::Smile.Pixels();
  const ui::Bitmap& frown = pictures::Frown.Pixels();
  EXPECT_GT(mouthAt(smile, 16), mouthAt(smile, 10) + 1);
  EXPECT_GT(mouthAt(smile, 16), mouthAt(smile, 22) + 1);
  EXPECT_LT(mouthAt(frown, 16), mouthAt(frown, 10) - 1);
  EXPECT_LT(mouthAt(frown, 16), mouthAt(frown, 22) - 1);
}

// A fingerprint of every pixel (FNV-1a over the size and the ARGB words).
std::uint64_t Fingerprint(const ui::Bitmap& bitmap) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  const auto mix = [&](std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
      hash = (hash ^ ((word >> shift) & 0xFF)) * 0x100000001B3u;
    }
  };
  mix(static_cast<std::uint32_t>(bitmap.width));
  mix(static_cast<std::uint32_t>(bitmap.height));
  for (std::uint32_t pixel : bitmap.argb) mix(pixel);
  return hash;
}

// The pictures as they were looked at and approved, pixel for pixel: a change to a colour, a
// shape or a size anywhere shows here, not only where the other tests look.
TEST(Pictures, EveryPictureIsTheApprovedOne) {
  struct Approved {
    const char* name;
    const ui::Bitmap& bitmap;
    std::uint64_t fingerprint;
  };
  for (const Approved& e : {
           Approved{"AppIcon", pictures::AppIcon.Pixels(), 0xF43983B49A2B9FBDu},
           Approved{"ComputerIcon", pictures::ComputerIcon.Pixels(), 0x9789B2358F3AB440u},
           Approved{"Banner", pictures::Banner.Pixels(), 0x6A1FCB89670BAA0Eu},
           Approved{"Tick", pictures::Tick.Pixels(), 0x0B5A4BD17EDFC0BFu},
           Approved{"Busy", pictures::Busy.Pixels(), 0x9BB1B7C8E813EC71u},
           Approved{"Arrow", pictures::Arrow.Pixels(), 0x27A8E30DD5032080u},
           Approved{"Smile", pictures::Smile.Pixels(), 0xDB69BDCFBF49D54Fu},
           Approved{"Frown", pictures::Frown.Pixels(), 0xE23A4DF6E977E84Au},
           Approved{"HandCursor", ui::HandCursorBitmap(), 0x2EDBDCFD867AAD98u},
       }) {
    EXPECT_EQ(Fingerprint(e.bitmap), e.fingerprint)
        << std::hex << std::showbase << e.name << " changed: if that is meant, look at it in the "
        << "running program and approve its new fingerprint " << Fingerprint(e.bitmap);
  }
}

}  // namespace
