// The full scan from the banner link, the end of the chain, and the summary button.
#include <gtest/gtest.h>

#include <filesystem>

#include "behaviour/check_machine.h"

namespace {

using platform::vbYes;

class FullScanTest : public checks_test::CheckMachineTest {
 protected:
  FullScanTest() {
    fake.ui.boxOpenMs = 700;  // the user reads each box; the blink goes on meanwhile
    fake.ui.snapshot = [this] {
      auto& w = program->sucher1;
      const bool blinking = CurrentValues(w.Timer1).enabled || CurrentValues(w.Timer2).enabled;
      return Snapshot() + (blinking ? " blink" : "");
    };
  }
  // Answers Yes to the speed-test offer, OK to everything else.
  void AcceptTheSpeedTest() {
    fake.ui.answerer = [](const fake::RecordedBox& box) {
      return box.title == "Ihre Computer Hardware testen!" ? vbYes : platform::vbOK;
    };
  }
  std::vector<std::string> Snapshots() const {
    std::vector<std::string> shots;
    for (const auto& box : fake.ui.boxes) shots.push_back(box.text + " @ " + box.snapshot);
    return shots;
  }
};

TEST_F(FullScanTest, EverythingPresentRevealsEachTickBeforeItsBoxThenOffersTheSpeedTest) {
  InstallEverything();
  fake.system.tscHz = 2'400'000'000;
  AcceptTheSpeedTest();
  main().Label12.RaiseClick();

  const std::string none = " list= label7=( 0 nicht installiert)";
  const std::vector<std::string> expected = {
      "Flash Player ist installiert: OK! @ ticks=0 list= label7=Fehlende Dateien blink",
      "Die Visual-Basic Runtime-Dateien sind: OK! @ ticks=01" + none + " blink",
      "Windows Service-Pack Dateien: OK! @ ticks=012" + none + " blink",
      "Internet-Explorer ist: OK! @ ticks=0123" + none + " blink",
      "Media Player Steuerelement ist: OK! @ ticks=0123" + none + " blink",
      "Die Datei suche ist beendet! @ ticks=01234" + none + " blink",
      "Wollen Sie Ihre Computer Geschwindigkeit testen? @ ticks=01234" + none,
  };
  const std::vector<std::string> shots = Snapshots();
  ASSERT_GE(shots.size(), expected.size() + 2);
  EXPECT_EQ(std::vector<std::string>(shots.begin(), shots.begin() + 7), expected);
  // Yes loaded Form3: its report, then its verdict, which reveals tick 5.
  EXPECT_EQ(fake.ui.boxes[7].title, "Rechnerdaten auslesen");
  EXPECT_EQ(fake.ui.boxes[8].text, "Ihre Computer Geschwindichkeit [2,40 GHz] ist OK !");
  EXPECT_EQ(shots.size(), 9u);
  // Each box belongs to the window whose handler opened it.
  std::vector<std::string> owners;
  for (const auto& box : fake.ui.boxes) owners.push_back(box.owner);
  const std::vector<std::string> expectedOwners(7, "sucher1");
  EXPECT_EQ(std::vector<std::string>(owners.begin(), owners.begin() + 7), expectedOwners);
  EXPECT_EQ(owners[7], "Form3");
  EXPECT_EQ(owners[8], "Form3");
  EXPECT_TRUE(program->Form3.IsShown());
  EXPECT_FALSE(main().Picture3[5].Visible());
  // The chain has unwound: busy picture hidden, pointer back, main window still usable.
  EXPECT_FALSE(main().Picture1.Visible());
  EXPECT_FALSE(main().Picture4.Visible());
  EXPECT_TRUE(main().IsShown());
  main().Picture1.RaiseClick();
  EXPECT_EQ(fake.ui.boxes.back().text, "Klicken Sie auf [Gesamt suche  scan...] !");
}

TEST_F(FullScanTest, ASecondScanAfterAPassedSpeedTestCoversEveryTickAgain) {
  InstallEverything();
  AcceptTheSpeedTest();
  main().Label12.RaiseClick();
  ASSERT_FALSE(main().Picture3[5].Visible());  // the speed test passed

  fake.ui.boxes.clear();
  fake.ui.answerer = nullptr;  // No to the speed test this time
  main().Label12.RaiseClick();
  ASSERT_FALSE(fake.ui.boxes.empty());
  const std::string none = " list= label7=( 0 nicht installiert)";
  EXPECT_EQ(fake.ui.boxes[0].snapshot, "ticks=0" + none + " blink");
  EXPECT_EQ(Snapshot(), "ticks=01234" + none);
  EXPECT_TRUE(main().Picture3[5].Visible());
}

TEST_F(FullScanTest, AMissingFlashPlayerStopsAtItsBoxAndTheBlinkRunsOn) {
  InstallEverything(/*flash=*/false);
  main().Label12.RaiseClick();
  ASSERT_EQ(fake.ui.boxes.size(), 1u);
  EXPECT_EQ(fake.ui.boxes[0].title, "Achtung: Flash Player ist nicht installiert! Wichtig!");
  EXPECT_EQ(fake.ui.boxes[0].snapshot, "ticks= list= label7=Fehlende Dateien blink");
  const bool shown = main().Picture1.Visible();
  fake.ui.Advance(500);
  EXPECT_NE(main().Picture1.Visible(), shown);  // still blinking after the scan
}

TEST_F(FullScanTest, MissingExplorerLeavesRowThreeCoveredAndASecondScanCoversAllFirst) {
  InstallEverything(/*flash=*/true, /*explorer=*/false);
  main().Label12.RaiseClick();
  EXPECT_EQ(fake.ui.boxes.back().text, "Wollen Sie Ihre Computer Geschwindigkeit testen?");
  EXPECT_EQ(Snapshot(), "ticks=0124 list= label7=( 0 nicht installiert)");

  fake.ui.boxes.clear();
  tree.AddFile("Program Files/Internet Explorer/IEXPLORE.EXE");
  main().Label12.RaiseClick();
  EXPECT_EQ(fake.ui.boxes[0].snapshot.substr(0, 8), "ticks=0 ");  // covers shown again first
  EXPECT_EQ(Snapshot(), "ticks=01234 list= label7=( 0 nicht installiert)");
}

TEST_F(FullScanTest, TheMediaPlayerButtonAloneEndsTheChainWithoutTheBlink) {
  main().Command15.RaiseClick();  // wmp.dll missing; the failure box answered No
  const std::vector<std::string> texts = BoxTexts();
  EXPECT_EQ(texts, (std::vector<std::string>{"Wollen Sie bei Googele suchen? Windows Media Player?",
                                             "Die Datei suche ist beendet!",
                                             "Wollen Sie Ihre Computer Geschwindigkeit testen?"}));
  EXPECT_EQ(fake.ui.boxes[1].snapshot, "ticks=4 list=wmp.dll label7=( 1 nicht installiert)");
  EXPECT_TRUE(main().Picture4.Visible());
  EXPECT_FALSE(program->Form3.IsLoaded());  // No to the offer
}

TEST_F(FullScanTest, TheEndOfTheChainStopsTheBlinkInEitherHalfOfItsCycle) {
  InstallEverything();
  for (const std::int64_t phaseMs : {0, 500}) {
    main().Timer1.SetEnabled(true);  // as the full scan starts it
    fake.ui.Advance(phaseMs);        // 500 ms on, the second timer runs the cycle
    main().Command15.RaiseClick();   // the last check ends the chain
    const bool shown = main().Picture1.Visible();
    for (int halfSeconds = 1; halfSeconds <= 4; ++halfSeconds) {
      fake.ui.Advance(500);
      EXPECT_EQ(main().Picture1.Visible(), shown) << phaseMs << " ms into the cycle";
    }
  }
}

TEST_F(FullScanTest, TheSummaryCountsOnlyWhatTheLastCheckListed) {
  // The runtime files are missing, but the last check of the run (Media Player, reached
  // through the service pack check's chain) finds everything it looks for.
  InstallEverything();
  std::filesystem::remove(systemFolder + "/MSFLXGRD.OCX");
  fake.ui.defaultChoice = platform::vbCancel;
  main().Command7.RaiseClick();
  EXPECT_EQ(fake.ui.boxes.front().text, "1 fehlende Datei/en");
  EXPECT_EQ(fake.ui.boxes.back().text, "Alles ist bestens");
  EXPECT_EQ(fake.ui.boxes.back().title, "Belvosta ");

  fake.ui.boxes.clear();
  std::filesystem::remove(systemFolder + "/wmp.dll");
  main().Command7.RaiseClick();
  EXPECT_EQ(fake.ui.boxes.back().text, "1 fehlende Datei/en");
}

}  // namespace
