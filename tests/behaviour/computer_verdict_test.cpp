// The speed verdict: boxes, verdict line, faces, the main window's tick, the hover legends,
// and the text replacement it judges with.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

using Clock = std::pair<std::uint64_t, std::string>;

// Above 1 GHz is sufficient and uncovers the speed tick; megahertz is too slow and leaves the
// main window alone.
class Verdicts : public fake::ProgramTest, public ::testing::WithParamInterface<Clock> {
 protected:
  belvosta::Form3& form3() { return program->Form3; }
};

TEST_P(Verdicts, JudgeTheClockOnFacesAndTheSpeedTick) {
  const auto& [hertz, caption] = GetParam();
  const bool fast = hertz > 1'000'000'000;
  fake.system.tscHz = hertz;

  form3().EnsureLoaded();

  ASSERT_EQ(fake.ui.boxes.size(), 2u);
  EXPECT_EQ(fake.ui.boxes[1].text, fast
                                       ? "Ihre Computer Geschwindichkeit [" + caption + "] ist OK !"
                                       : "Ihr Computer ist leider zu Langsam [" + caption +
                                             " ]. Um eine Optimale Funktion zu gewährleisten!");
  EXPECT_EQ(fake.ui.boxes[1].title, "Belvosta ");
  EXPECT_EQ(fake.ui.boxes[1].style, ui::vbOKOnly);
  EXPECT_EQ(form3().Label3.Caption(), fast ? "Ihre Computer Geschwindichkeit ist OK !"
                                           : "Ihr Computer ist leider zu Langsam !");
  EXPECT_EQ(form3().Picture1.Visible(), fast);
  EXPECT_EQ(form3().Picture2.Visible(), !fast);
  EXPECT_EQ(main().Picture3[5].Visible(), !fast);

  auto& face = fast ? form3().Picture1 : form3().Picture2;
  EXPECT_EQ(face.ToolTipText(), fast ? "OK !" : "Nicht, No:  OK!");
  face.RaiseMouseMove();
  EXPECT_EQ(face.ToolTipText(), caption + (fast ? " = OK!" : " = No\\Nein!"));
}

INSTANTIATE_TEST_SUITE_P(Clocks, Verdicts,
                         ::testing::Values(Clock{2'400'000'000, "2,40 GHz"},
                                           Clock{800'000'000, "800,00 MHz"},
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
