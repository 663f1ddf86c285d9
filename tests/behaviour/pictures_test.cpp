// The program's own pictures, which every view draws from the same pixels.
#include <gtest/gtest.h>

#include <algorithm>

#include "pictures/pictures.h"
#include "ui/hand_cursor.h"

namespace {

namespace pictures = belvosta::pictures;

bool HasOpaquePixels(const platform::Bitmap& bitmap) {
  return std::any_of(bitmap.argb.begin(), bitmap.argb.end(),
                     [](std::uint32_t pixel) { return (pixel >> 24) != 0; });
}

TEST(Pictures, EveryPictureHasAllItsPixelsAndSomethingToShow) {
  struct Named {
    const char* name;
    const platform::Picture& picture;
  };
  for (const Named& e :
       {Named{"AppIcon", pictures::AppIcon}, Named{"ComputerIcon", pictures::ComputerIcon},
        Named{"Tick", pictures::Tick}, Named{"Busy", pictures::Busy},
        Named{"Arrow", pictures::Arrow}, Named{"Smile", pictures::Smile},
        Named{"Frown", pictures::Frown}}) {
    const platform::Bitmap& bitmap = e.picture.Pixels();
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
  const platform::Bitmap& tick = pictures::Tick.Pixels();
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
