// The speed verdict: boxes, verdict line, faces, the main window's tick, the hover legends,
// and the text replacement it judges with.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

using Clock = std::pair<std::uint64_t, std::string>;

class SpeedVerdict : public fake::ProgramTest {
 protected:
  belvosta::Form3& form3() { return program->Form3; }
};

TEST_F(SpeedVerdict, GigahertzIsSufficientAndUncoversTheSpeedTick) {
  form3().EnsureLoaded();  // the fake counts 2.4 GHz

  ASSERT_EQ(fake.ui.boxes.size(), 2u);
  EXPECT_EQ(fake.ui.boxes[1].text, "Ihre Computer Geschwindichkeit [2,40 GHz] ist OK !");
  EXPECT_EQ(fake.ui.boxes[1].title, "Belvosta ");
  EXPECT_EQ(fake.ui.boxes[1].style, ui::vbOKOnly);
  EXPECT_EQ(form3().Label3.Caption(), "Ihre Computer Geschwindichkeit ist OK !");
  EXPECT_TRUE(form3().Picture1.Visible());
  EXPECT_FALSE(form3().Picture2.Visible());
  EXPECT_FALSE(main().Picture3[5].Visible());

  EXPECT_EQ(form3().Picture1.ToolTipText(), "OK !");
  form3().Picture1.RaiseMouseMove();
  EXPECT_EQ(form3().Picture1.ToolTipText(), "2,40 GHz = OK!");
}

class TooSlow : public SpeedVerdict, public ::testing::WithParamInterface<Clock> {};

TEST_P(TooSlow, MegahertzIsTooSlowAndLeavesTheMainWindowAlone) {
  const auto& [hertz, caption] = GetParam();
  fake.system.tscHz = hertz;

  form3().EnsureLoaded();

  ASSERT_EQ(fake.ui.boxes.size(), 2u);
  EXPECT_EQ(fake.ui.boxes[1].text, "Ihr Computer ist leider zu Langsam [" + caption +
                                       " ]. Um eine Optimale Funktion zu gewährleisten!");
  EXPECT_EQ(fake.ui.boxes[1].style, ui::vbOKOnly);
  EXPECT_EQ(form3().Label3.Caption(), "Ihr Computer ist leider zu Langsam !");
  EXPECT_TRUE(form3().Picture2.Visible());
  EXPECT_FALSE(form3().Picture1.Visible());
  EXPECT_TRUE(main().Picture3[5].Visible());

  EXPECT_EQ(form3().Picture2.ToolTipText(), "Nicht, No:  OK!");
  form3().Picture2.RaiseMouseMove();
  EXPECT_EQ(form3().Picture2.ToolTipText(), caption + " = No\\Nein!");
}

INSTANTIATE_TEST_SUITE_P(Clocks, TooSlow,
                         ::testing::Values(Clock{800'000'000, "800,00 MHz"},
                                           Clock{1'000'000'000, "1000,00 MHz"}));

TEST(ZeichenErsetzen, ReplacesLeftToRightAndNeverInsideAReplacement) {
  // A replacement that forms the search text with what follows is not searched again;
  // checked first, as a search inside replacements may never end with the cases below.
  std::string text = "abb";
  ASSERT_EQ(belvosta::Form3::ZeichenErsetzen(text, "ab", "a"), "ab");
  text = "aGHzbGHz";
  EXPECT_EQ(belvosta::Form3::ZeichenErsetzen(text, "GHz", "."), "a.b.");
  EXPECT_EQ(text, "a.b.");
  text = "xAyA";
  EXPECT_EQ(belvosta::Form3::ZeichenErsetzen(text, "A", "AAA"), "xAAAyAAA");
  text = "800,00 MHz";
  EXPECT_EQ(belvosta::Form3::ZeichenErsetzen(text, "GHz", "."), "800,00 MHz");
  text = "abc";  // an empty search text is refused
  EXPECT_EQ(belvosta::Form3::ZeichenErsetzen(text, "", "x"), "abc");
}

}  // namespace
