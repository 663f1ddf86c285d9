// The Linux view's conversion of twips and points into the screen's pixels.
#include "views/fltk/screen_units.h"

#include <gtest/gtest.h>

namespace {

using views::fltk::ScreenUnits;

TEST(ScreenUnits, TwipsAndPointsRoundToTheNearestPixel) {
  const ScreenUnits normal{96, 96};
  EXPECT_EQ(normal.X(1440), 96);
  EXPECT_EQ(normal.X(1434), 96);  // 95.6 pixels
  EXPECT_EQ(normal.Y(1426), 95);  // 95.07 pixels
  EXPECT_EQ(normal.FontPixels(8.25), 11);

  const ScreenUnits large{144, 120};  // different resolutions across and down
  EXPECT_EQ(large.X(1000), 100);
  EXPECT_EQ(large.Y(1000), 83);         // 83.3 pixels
  EXPECT_EQ(large.Y(1010), 84);         // 84.2 pixels
  EXPECT_EQ(large.X(1005), 101);        // 100.5 pixels: half rounds away from zero
  EXPECT_EQ(large.FontPixels(0.1), 1);  // never a font of no pixels
  EXPECT_EQ(large.FontPixels(12), 20);  // points are heights: the resolution down counts
}

}  // namespace
