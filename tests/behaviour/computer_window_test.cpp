// The computer information window as the user meets it: opened from the main window's
// speed-test button and its "Ihre Computer-Infos" label, reopened, closed.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

const std::string kReport = "Rechnerdaten auslesen";
const std::string kVerdict = "Belvosta ";
const std::string kSpeedText = "Prozessor Geschwindigkeit: 2,40 GHz\r\n";

class ComputerWindow : public fake::ProgramTest {
 protected:
  belvosta::Form3& form3() { return program->Form3; }
};

// Reopened after EXIT, the window reports again but neither measures nor judges again; its
// face and the main window's tick still tell the first verdict (1 GHz is shown as
// "1000,00 MHz": too slow).
TEST_F(ComputerWindow, ReopeningAfterExitOnlyReportsAgainAndKeepsTheFirstVerdict) {
  for (const bool fast : {true, false}) {
    SCOPED_TRACE(fast ? "2.4 GHz" : "1 GHz");
    fake.system.tscHz = fast ? 2'400'000'000 : 1'000'000'000;
    program = std::make_unique<belvosta::Program>();
    main().Show();
    fake.ui.boxes.clear();
    fake.system.tscReads = 0;
    main().Command13.RaiseClick();
    main().Command13.RaiseClick();  // already loaded: only shown
    ASSERT_EQ(fake.ui.boxes.size(), 2u);

    form3().Command1.RaiseClick();  // EXIT closes this window only
    EXPECT_FALSE(form3().IsLoaded());
    EXPECT_TRUE(main().IsShown());
    EXPECT_FALSE(fake.ui.ended);
    main().Command13.RaiseClick();

    EXPECT_EQ(BoxTitles(), (std::vector<std::string>{kReport, kVerdict, kReport}));
    EXPECT_EQ(fake.system.tscReads, 2);
    EXPECT_TRUE(form3().IsShown());
    EXPECT_EQ(form3().Label3.Caption(), "..................");
    EXPECT_EQ(form3().Label2.Caption(), "Label2");
    EXPECT_EQ(form3().Picture1.Visible(), fast);
    EXPECT_EQ(form3().Picture2.Visible(), !fast);
    EXPECT_EQ(main().Picture3[5].Visible(), !fast);
  }
  EXPECT_EQ(form3().Text3.Text(), "Prozessor Geschwindigkeit: 1000,00 MHz\r\n");
}

TEST_F(ComputerWindow, ClosedWhileItsLoadReportsItStaysClosedAndLoadsAnewNextTime) {
  fake.ui.whileBoxOpen = [&](const fake::RecordedBox&) {
    if (fake.ui.boxes.size() == 1) form3().Command1_Click();
  };

  main().Command13.RaiseClick();
  EXPECT_FALSE(form3().IsLoaded());
  EXPECT_FALSE(form3().IsShown());

  main().Command13.RaiseClick();
  EXPECT_EQ(BoxTitles(), (std::vector<std::string>{kReport, kVerdict, kReport}));
  EXPECT_TRUE(form3().IsShown());
  EXPECT_EQ(form3().Text3.Text(), kSpeedText);
}

}  // namespace
