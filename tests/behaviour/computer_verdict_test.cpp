// The speed verdict: boxes, verdict line, faces, the main window's tick, the hover legends,
// and the text replacement it judges with.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

class SpeedVerdict : public fake::ProgramTest {
 protected:
  belvosta::Form3& form3() { return program->Form3; }
};

// More than 1 GHz is sufficient and uncovers the main window's speed-test tick; less, or
// exactly 1 GHz (shown in MHz), is too slow and leaves the main window alone.
TEST_F(SpeedVerdict, TheMeasuredClockGivesBoxLineFaceTickAndLegend) {
  const struct {
    std::uint64_t hertz;
    const char* box;
    const char* line;
    const char* legend;
  } rows[] = {
      {2'400'000'000, "Ihre Computer Geschwindichkeit [2,40 GHz] ist OK !",
       "Ihre Computer Geschwindichkeit ist OK !", "2,40 GHz = OK!"},
      {800'000'000,
       "Ihr Computer ist leider zu Langsam [800,00 MHz ]. Um eine Optimale Funktion zu "
       "gewährleisten!",
       "Ihr Computer ist leider zu Langsam !", "800,00 MHz = No\\Nein!"},
      {1'000'000'000,
       "Ihr Computer ist leider zu Langsam [1000,00 MHz ]. Um eine Optimale Funktion zu "
       "gewährleisten!",
       "Ihr Computer ist leider zu Langsam !", "1000,00 MHz = No\\Nein!"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.hertz);
    const bool fast = row.hertz > 1'000'000'000;
    fake.system.tscHz = row.hertz;
    program = std::make_unique<belvosta::Program>();
    main().Show();
    fake.ui.boxes.clear();

    form3().EnsureLoaded();

    ASSERT_EQ(fake.ui.boxes.size(), 2u);
    EXPECT_EQ(fake.ui.boxes[1].text, row.box);
    EXPECT_EQ(fake.ui.boxes[1].title, "Belvosta ");
    EXPECT_EQ(fake.ui.boxes[1].style, ui::vbOKOnly);
    EXPECT_EQ(form3().Label3.Caption(), row.line);
    EXPECT_EQ(form3().Picture1.Visible(), fast);
    EXPECT_EQ(form3().Picture2.Visible(), !fast);
    EXPECT_EQ(main().Picture3[5].Visible(), !fast);
    ui::Control& face = fast ? form3().Picture1 : form3().Picture2;
    EXPECT_EQ(face.ToolTipText(), fast ? "OK !" : "Nicht, No:  OK!");
    face.RaiseMouseMove();
    EXPECT_EQ(face.ToolTipText(), row.legend);
  }
}

TEST_F(SpeedVerdict, OnlyTheUnitGHzInExactlyThisCaseCountsAsSufficient) {
  fake.system.performanceCounterWorks = false;  // load without a verdict of its own
  form3().EnsureLoaded();
  fake.ui.boxes.clear();

  form3().Label2.SetCaption("2,40 ghz");
  form3().Label2.SetCaption("3.10 GHz");
  form3().Label2.SetCaption("3.10 GHz");  // no change, no verdict

  ASSERT_EQ(fake.ui.boxes.size(), 2u);
  EXPECT_EQ(fake.ui.boxes[0].text.rfind("Ihr Computer ist leider zu Langsam [2,40 ghz ]", 0), 0u);
  EXPECT_EQ(fake.ui.boxes[1].text, "Ihre Computer Geschwindichkeit [3.10 GHz] ist OK !");
}

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
