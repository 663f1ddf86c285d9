// The program's own pictures, which every view draws from the same pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/images.h"

namespace {

using platform::Image;

bool HasOpaquePixels(const platform::Bitmap& bitmap) {
  return std::any_of(bitmap.argb.begin(), bitmap.argb.end(),
                     [](std::uint32_t pixel) { return (pixel >> 24) != 0; });
}

TEST(Images, EveryPictureHasItsSizeAndSomethingToShow) {
  struct Expected {
    Image image;
    int width, height;
  };
  for (const Expected& e : {Expected{Image::AppIcon, 32, 32}, Expected{Image::ComputerIcon, 32, 32},
                            Expected{Image::Tick, 32, 32}, Expected{Image::Busy, 32, 32},
                            Expected{Image::Arrow, 33, 27}, Expected{Image::Smile, 32, 32},
                            Expected{Image::Frown, 32, 32}}) {
    const platform::Bitmap& bitmap = platform::ImageBitmap(e.image);
    EXPECT_EQ(bitmap.width, e.width) << static_cast<int>(e.image);
    EXPECT_EQ(bitmap.height, e.height) << static_cast<int>(e.image);
    EXPECT_EQ(bitmap.argb.size(), static_cast<std::size_t>(e.width * e.height));
    EXPECT_TRUE(HasOpaquePixels(bitmap)) << static_cast<int>(e.image);
  }
  EXPECT_TRUE(platform::ImageBitmap(Image::None).argb.empty());
  // The same bitmap object every time: drawn once, shared by every view.
  EXPECT_EQ(&platform::ImageBitmap(Image::Tick), &platform::ImageBitmap(Image::Tick));
}

TEST(Images, TheTickFitsTheShortFirstRowAndTheHandPointsWithItsHotSpot) {
  // The first tick's box is 375 twips (25 pixels) high: nothing may lie below that.
  const platform::Bitmap& tick = platform::ImageBitmap(Image::Tick);
  for (int y = 25; y < tick.height; ++y) {
    for (int x = 0; x < tick.width; ++x) {
      EXPECT_EQ(tick.argb[static_cast<std::size_t>(y * tick.width + x)] >> 24, 0u) << x << "," << y;
    }
  }
  const platform::Bitmap& hand = platform::HandCursorBitmap();
  ASSERT_EQ(hand.width, 32);
  ASSERT_EQ(hand.height, 32);
  const std::uint32_t hotSpot =
      hand.argb[static_cast<std::size_t>(platform::kHandHotSpotY * 32 + platform::kHandHotSpotX)];
  EXPECT_NE(hotSpot >> 24, 0u);
}

}  // namespace
