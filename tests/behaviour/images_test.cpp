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

TEST(Images, EveryPictureHasAllItsPixelsAndSomethingToShow) {
  for (Image image : {Image::AppIcon, Image::ComputerIcon, Image::Tick, Image::Busy, Image::Arrow,
                      Image::Smile, Image::Frown}) {
    const platform::Bitmap& bitmap = platform::ImageBitmap(image);
    EXPECT_EQ(bitmap.argb.size(), static_cast<std::size_t>(bitmap.width * bitmap.height));
    EXPECT_TRUE(HasOpaquePixels(bitmap)) << static_cast<int>(image);
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
