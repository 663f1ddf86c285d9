// The main window at start, its blink, its hover highlight, its hint and its exit.
#include <gtest/gtest.h>

#include <algorithm>

#include "fake/fixture.h"
#include "pictures/pictures.h"
#include "platform/twips.h"

namespace {

using ui::Color;

class MainWindowTest : public fake::ProgramTest {};

TEST_F(MainWindowTest, StartsInItsDesignedState) {
  auto& w = main();
  EXPECT_TRUE(w.IsShown());
  EXPECT_EQ(w.Caption(), "Belvosta: Dorvane");
  EXPECT_EQ(w.Label12.Caption(), "Gesamt suche  scan...");
  EXPECT_EQ(w.Label12.ForeColor(), Color::Black());
  EXPECT_EQ(w.Label7.Caption(), "Fehlende Dateien");
  EXPECT_EQ(w.Label9.Caption(), "0");
  EXPECT_EQ(w.List1.ListCount(), 0);
  EXPECT_TRUE(w.Picture1.Visible());
  EXPECT_TRUE(w.Picture4.Visible());
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(w.Picture3[i].Visible()) << "cover " << i;
  EXPECT_FALSE(w.Timer1.Enabled());
  EXPECT_FALSE(w.Timer2.Enabled());
  EXPECT_EQ(w.Command5.Caption(), "eintäge");
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
  EXPECT_EQ(pixels.width, platform::TwipsToPixels(banner.Width(), 96));
  EXPECT_EQ(pixels.height, platform::TwipsToPixels(banner.Height(), 96));
}

TEST_F(MainWindowTest, HiddenControlsLieOutsideTheClientAreaAndHiddenButtonsKeepTheTabOrder) {
  auto& w = main();
  const std::vector<ui::Control*> hidden = {&w.Text1,     &w.Label9,   &w.Command7,
                                            &w.Command11, &w.Command4, &w.Command8};
  for (ui::Control* c : hidden) {
    EXPECT_GE(c->Top(), 4500) << c->Name();
    EXPECT_TRUE(c->Visible()) << c->Name();
  }
  EXPECT_GE(w.Text3S.Top(), w.Frame3.Height());
  const auto order = w.TabOrder();
  EXPECT_NE(std::find(order.begin(), order.end(), &w.Command11), order.end());
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
