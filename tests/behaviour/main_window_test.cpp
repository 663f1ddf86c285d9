// The main window at start, its blink, its hover highlight, its hint and its exit.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

using ui::Color;

class MainWindowTest : public fake::ProgramTest {};

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

// EXIT, with another window open, and the close box end the program at once, never asking.
TEST_F(MainWindowTest, ExitAndTheCloseBoxEndTheProgramAtOnce) {
  program->FormS.Show();
  main().Command14.RaiseClick();
  EXPECT_TRUE(fake.ui.ended);
  EXPECT_FALSE(main().IsLoaded());

  program = std::make_unique<belvosta::Program>();
  main().Show();
  fake.ui.ended = false;
  ui::CloseRequested(main());
  EXPECT_TRUE(fake.ui.ended);
  EXPECT_TRUE(fake.ui.boxes.empty());
}

}  // namespace
