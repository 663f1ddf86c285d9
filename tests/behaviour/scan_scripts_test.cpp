// The scans as the user meets them, one row each: the computer, the button clicked, the
// answers given, then every box in order with what the main window showed when it opened,
// the pages opened and the main window at the end.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <ostream>

#include "behaviour/check_machine.h"

namespace {

using ui::vbCancel;
using ui::vbOK;
using ui::vbOKOnly;
using ui::vbYes;
using ui::vbYesNoCancel;

const std::string kApp = "Belvosta ";

struct Box {
  std::string text;
  std::string shot;  // the main window: revealed ticks, list, count caption, blink
  int style = vbOKOnly;
  std::string title = kApp;
  std::string owner = "sucher1";
  bool operator==(const Box&) const = default;
};

void PrintTo(const Box& b, std::ostream* os) {
  *os << "\n{" << b.text << " | " << b.shot << " | " << b.style << " | " << b.title << " | "
      << b.owner << "}";
}

class ScanScripts;

struct Script {
  const char* name;
  std::function<void(ScanScripts&)> computer;  // files placed, earlier scans run
  std::function<void(belvosta::sucher1&)> click;
  std::deque<int> answers;  // then Cancel to every question
  std::vector<Box> boxes;
  std::vector<std::string> opened;
  std::string end;  // the main window afterwards, as End() tells it
};

class ScanScripts : public checks_test::CheckMachineTest,
                    public ::testing::WithParamInterface<Script> {
 public:
  ScanScripts() {
    fake.ui.defaultChoice = vbCancel;
    fake.ui.boxOpenMs = 700;  // the user reads each box; the blink goes on meanwhile
    fake.ui.snapshot = [this] {
      auto& w = program->sucher1;
      const bool blinking = CurrentValues(w.Timer1).enabled || CurrentValues(w.Timer2).enabled;
      return Snapshot() + (blinking ? " blink" : "");
    };
  }

  std::vector<Box> Boxes() const {
    std::vector<Box> boxes;
    for (const auto& b : fake.ui.boxes)
      boxes.push_back({b.text, b.snapshot, b.style, b.title, b.owner});
    return boxes;
  }

  // The snapshot, the hidden count, the list's selected entry and focus, whether the busy
  // picture and the start hint show, and the other windows (the checks load the folders
  // window hidden).
  std::string End() {
    auto& w = main();
    std::string end = fake.ui.snapshot() + " label9=" + w.Label9.Caption() +
                      " index=" + std::to_string(w.List1.ListIndex());
    if (w.List1.HasFocus()) end += " focus";
    if (w.Picture1.Visible()) end += " busy";
    if (w.Picture4.Visible()) end += " hint";
    if (program->FormS.IsLoaded()) end += program->FormS.IsShown() ? " formS" : " formS-hidden";
    if (program->Form3.IsShown()) end += " form3";
    return end;
  }
};

TEST_P(ScanScripts, ShowTheirBoxesInOrder) {
  const Script& script = GetParam();
  if (script.computer) script.computer(*this);
  fake.ui.answers = script.answers;
  script.click(main());
  std::vector<Box> boxes = Boxes();
  // A box expected with no text is the computer report, whose text its own tests pin.
  for (std::size_t i = 0; i < boxes.size() && i < script.boxes.size(); ++i) {
    if (script.boxes[i].text.empty()) boxes[i].text.clear();
  }
  EXPECT_EQ(boxes, script.boxes);
  EXPECT_EQ(OpenedFiles(), script.opened);
  EXPECT_EQ(End(), script.end);
}

void FullScan(belvosta::sucher1& w) {
  w.Label12.RaiseClick();
}

const std::string kNone = " list= label7=( 0 nicht installiert)";
const std::string kOffer = "Wollen Sie Ihre Computer Geschwindigkeit testen?";
const std::string kOfferTitle = "Ihre Computer Hardware testen!";
const std::string kEnd = "Die Datei suche ist beendet!";
const std::string kExplorerMissing =
    "Achtung: Der Web-Browser Windows-Internet-Explorer ab 6.0, bitte installieren!";
const std::string kMediaPlayerMissing = "Achtung: Einen Media Player, bitte installieren!";
const std::string kRuntimeFailure =
    "Bitte zuerst die Visual-Basic Runtime-Dateien herunterladen! Wollen Sie bei Googele suchen?";
const std::string kRuntimeMissing =
    "Achtung: nicht alle erforderliche Aktiv-X Steuerelement (OCX-Dateien)sind installiert! "
    "Wichtig!";

// Everything present in a full scan: each tick is revealed before its box, the blink goes on
// meanwhile; then what follows the offer.
std::vector<Box> EverythingPresent(const std::string& label7, std::vector<Box> after = {}) {
  std::vector<Box> boxes = {
      {"Flash Player ist installiert: OK!", "ticks=0 list= label7=" + label7 + " blink"},
      {"Die Visual-Basic Runtime-Dateien sind: OK!", "ticks=01" + kNone + " blink"},
      {"Windows Service-Pack Dateien: OK!", "ticks=012" + kNone + " blink"},
      {"Internet-Explorer ist: OK!", "ticks=0123" + kNone + " blink"},
      {"Media Player Steuerelement ist: OK!", "ticks=0123" + kNone + " blink"},
      {kEnd, "ticks=01234" + kNone + " blink"},
      {kOffer, "ticks=01234" + kNone, vbYesNoCancel, kOfferTitle}};
  boxes.insert(boxes.end(), after.begin(), after.end());
  return boxes;
}

const Script kScripts[] = {
    // Yes loads Form3: its report, then its verdict, which reveals the speed-test tick.
    {"EverythingPresentFullScanAndTheSpeedTest",
     [](ScanScripts& t) { t.InstallEverything(); },  // the fake counts 2.4 GHz
     FullScan,
     {vbOK, vbOK, vbOK, vbOK, vbOK, vbOK, vbYes},
     EverythingPresent("Fehlende Dateien",
                       {{"", "ticks=01234" + kNone, vbOKOnly, "Rechnerdaten auslesen", "Form3"},
                        {"Ihre Computer Geschwindichkeit [2,40 GHz] ist OK !",
                         "ticks=01234" + kNone, vbOKOnly, kApp, "Form3"}}),
     {},
     "ticks=012345" + kNone + " label9= index=-1 focus formS-hidden form3"},
    // A second scan covers every tick again, the speed test's too.
    {"ASecondScanAfterAPassedSpeedTest",
     [](ScanScripts& t) {
       t.InstallEverything();
       t.fake.ui.answers = {vbOK, vbOK, vbOK, vbOK, vbOK, vbOK, vbYes};  // a passed speed test
       t.main().Label12.RaiseClick();
       t.fake.ui.boxes.clear();
     },
     FullScan,
     {},
     EverythingPresent("( 0 nicht installiert)"),
     {},
     "ticks=01234" + kNone + " label9= index=-1 focus formS-hidden form3"},
    {"AMissingFlashPlayerStopsAtItsBoxAndTheBlinkRunsOn",
     [](ScanScripts& t) { t.InstallEverything(/*flash=*/false); },
     FullScan,
     {},
     {{"Bitte zuerst den Flash Player von Adobe herunterladen ?",
       "ticks= list= label7=Fehlende Dateien blink", vbYesNoCancel,
       "Achtung: Flash Player ist nicht installiert! Wichtig!"}},
     {},
     "ticks= list= label7=Fehlende Dateien blink label9=0 index=-1 formS-hidden"},
    {"AMissingExplorerLeavesItsRowCoveredAndTheChainGoesOn",
     [](ScanScripts& t) { t.InstallEverything(/*flash=*/true, /*explorer=*/false); },
     FullScan,
     {},
     {{"Flash Player ist installiert: OK!", "ticks=0 list= label7=Fehlende Dateien blink"},
      {"Die Visual-Basic Runtime-Dateien sind: OK!", "ticks=01" + kNone + " blink"},
      {"Windows Service-Pack Dateien: OK!", "ticks=012" + kNone + " blink"},
      {"Achtung: Wollen Sie bei Googele suchen? Windows-Internet-Explorer?",
       "ticks=012 list=Internet-Explorer label7=( 1 nicht installiert) blink", vbYesNoCancel,
       kExplorerMissing},
      {"Media Player Steuerelement ist: OK!", "ticks=012" + kNone + " blink"},
      {kEnd, "ticks=0124" + kNone + " blink"},
      {kOffer, "ticks=0124" + kNone, vbYesNoCancel, kOfferTitle}},
     {},
     "ticks=0124" + kNone + " label9= index=-1 focus formS-hidden"},
    {"TwoMissingRuntimeFilesAreListedCountedAndOfferedASearch",
     [](ScanScripts& t) { t.AddSystemFile("MSCOMCTL.OCX"); },
     [](auto& w) { w.Command2.RaiseClick(); },
     {vbOK, vbYes},
     {{"2 fehlende Datei/en",
       "ticks= list=RICHTX32.OCX|MSFLXGRD.OCX label7=( 2 nicht installiert)"},
      {kRuntimeFailure, "ticks= list=RICHTX32.OCX|MSFLXGRD.OCX label7=( 2 nicht installiert)",
       vbYesNoCancel, kRuntimeMissing}},
     {checks_test::kRuntimeSearch},
     "ticks= list=RICHTX32.OCX|MSFLXGRD.OCX label7=( 2 nicht installiert) label9= index=0 focus "
     "hint formS-hidden"},
    // The summary counts only what the last check of the run listed: the runtime files are
    // missing, the Media Player check (reached through the service pack's chain) passes.
    {"TheSummaryCountsOnlyWhatTheLastCheckListed",
     [](ScanScripts& t) {
       t.InstallEverything();
       std::filesystem::remove(t.systemFolder + "/MSFLXGRD.OCX");
     },
     [](auto& w) { w.Command7.RaiseClick(); },
     {},
     {{"1 fehlende Datei/en", "ticks= list=MSFLXGRD.OCX label7=( 1 nicht installiert)"},
      {kRuntimeFailure, "ticks= list=MSFLXGRD.OCX label7=( 1 nicht installiert)", vbYesNoCancel,
       kRuntimeMissing},
      {"Windows Service-Pack Dateien: OK!", "ticks=2" + kNone},
      {"Internet-Explorer ist: OK!", "ticks=23" + kNone},
      {"Media Player Steuerelement ist: OK!", "ticks=23" + kNone},
      {kEnd, "ticks=234" + kNone},
      {kOffer, "ticks=234" + kNone, vbYesNoCancel, kOfferTitle},
      {"Alles ist bestens", "ticks=234" + kNone}},
     {},
     "ticks=234" + kNone + " label9=0 index=-1 focus hint formS-hidden"},
};

INSTANTIATE_TEST_SUITE_P(Rows, ScanScripts, ::testing::ValuesIn(kScripts),
                         [](const auto& info) { return std::string(info.param.name); });

class FullScanTest : public checks_test::CheckMachineTest {};

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

}  // namespace
