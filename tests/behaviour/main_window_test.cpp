// The main window at start, its blink, its hover highlight, its hint and its exit.
#include <gtest/gtest.h>

#include "fake/fixture.h"
#include "pictures/pictures.h"

namespace {

using ui::Color;

class MainWindowTest : public fake::ProgramTest {};

TEST_F(MainWindowTest, StartsAloneAndSilent) {
  // The other windows load only on first use.
  EXPECT_FALSE(program->FormS.IsLoaded());
  EXPECT_FALSE(program->Form3.IsLoaded());
  EXPECT_TRUE(fake.ui.boxes.empty());
}

TEST_F(MainWindowTest, EachTickLiesUnderTheCoverOfItsOwnRow) {
  auto& w = main();
  for (std::size_t i = 0; i < 6; ++i) {
    auto& tick = w.Picture2[i];
    auto& cover = w.Picture3[i];
    // Its top edge, at least, is hidden by its cover (the last tick reaches lower).
    EXPECT_GE(tick.Top(), cover.Top()) << "row " << i;
    EXPECT_LT(tick.Top(), cover.Top() + cover.Height()) << "row " << i;
    EXPECT_EQ(tick.Left(), cover.Left()) << "row " << i;
  }
}

TEST_F(MainWindowTest, TheBannerFillsItsBoxAtTheStandardResolution) {
  auto& banner = main().Picture9;
  const ui::Bitmap& pixels = belvosta::pictures::Banner.Pixels();
  // 15 twips a pixel at 96 dpi: the bitmap covers the box to within half a pixel.
  EXPECT_NEAR(pixels.width * 15, banner.Width(), 7);
  EXPECT_NEAR(pixels.height * 15, banner.Height(), 7);
}

TEST_F(MainWindowTest, TheBusyPictureBlinksEveryHalfSecondOnceTimer1IsEnabled) {
  auto& w = main();
  w.Timer1.SetEnabled(true);
  fake.ui.Advance(499);
  EXPECT_TRUE(w.Picture1.Visible());
  fake.ui.Advance(1);
  EXPECT_FALSE(w.Picture1.Visible());
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_TRUE(w.Timer2.Enabled());
  fake.ui.Advance(500);
  EXPECT_TRUE(w.Picture1.Visible());
  EXPECT_TRUE(w.Timer1.Enabled());
  EXPECT_FALSE(w.Timer2.Enabled());
  fake.ui.Advance(500);
  EXPECT_FALSE(w.Picture1.Visible());
  // Stopping both timers leaves the picture as the last tick left it.
  w.Timer1.SetEnabled(false);
  w.Timer2.SetEnabled(false);
  fake.ui.Advance(5000);
  EXPECT_FALSE(w.Picture1.Visible());
}

TEST_F(MainWindowTest, TheFullScanLinkLightsUpUnderTheMouse) {
  auto& w = main();
  w.Label12.RaiseMouseMove();
  EXPECT_EQ(w.Label12.ForeColor(), Color::Rgb(0, 0, 255));
  w.Picture9.RaiseMouseMove();  // around the link: unchanged
  EXPECT_EQ(w.Label12.ForeColor(), Color::Rgb(0, 0, 255));
  w.Label15.RaiseMouseMove();
  EXPECT_EQ(w.Label12.ForeColor(), Color::Black());
  w.Label12.RaiseMouseMove();
  w.Frame3.RaiseMouseMove();
  EXPECT_EQ(w.Label12.ForeColor(), Color::Black());
}

TEST_F(MainWindowTest, ClickingTheBusyPictureShowsTheHint) {
  main().Picture1.RaiseClick();
  ASSERT_EQ(fake.ui.boxes.size(), 1u);
  EXPECT_EQ(fake.ui.boxes[0].text, "Klicken Sie auf [Gesamt suche  scan...] !");
  EXPECT_EQ(fake.ui.boxes[0].title, "Belvosta ");
  EXPECT_EQ(fake.ui.boxes[0].style, ui::vbOKOnly);
}

TEST_F(MainWindowTest, ExitAndClosingTheWindowEndTheProgramAtOnce) {
  program->FormS.Show();
  main().Command14.RaiseClick();
  EXPECT_TRUE(fake.ui.ended);
  EXPECT_FALSE(main().IsLoaded());
  EXPECT_TRUE(fake.ui.boxes.empty());  // never asks
}

TEST_F(MainWindowTest, TheCloseBoxEndsTheProgramWithoutAsking) {
  ui::CloseRequested(main());
  EXPECT_TRUE(fake.ui.ended);
  EXPECT_TRUE(fake.ui.boxes.empty());
}

}  // namespace
