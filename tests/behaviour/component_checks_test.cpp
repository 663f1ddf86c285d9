// The five component checks and their chain, each scenario asserting the whole sequence of
// boxes with what the main window showed when each opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "behaviour/check_machine.h"
#include "fake/few_descriptors.h"

namespace {

using checks_test::CheckMachineTest;
using platform::vbCancel;
using platform::vbNo;
using platform::vbOKOnly;
using platform::vbYes;
using platform::vbYesNoCancel;

struct Box {
  std::string title, text;
  int style;
  std::string snapshot;
  bool operator==(const Box&) const = default;
};

class ComponentChecksTest : public CheckMachineTest {
 protected:
  std::vector<Box> Boxes() const {
    std::vector<Box> boxes;
    for (const auto& b : fake.ui.boxes) boxes.push_back({b.title, b.text, b.style, b.snapshot});
    return boxes;
  }
};

void PrintTo(const Box& b, std::ostream* os) {
  *os << "{" << b.title << " | " << b.text << " | " << b.style << " | " << b.snapshot << "}";
}

const std::string kApp = "Belvosta ";
const std::string kOfferTitle = "Ihre Computer Hardware testen!";
const std::string kOffer = "Wollen Sie Ihre Computer Geschwindigkeit testen?";
const std::string kNone = "( 0 nicht installiert)";

TEST_F(ComponentChecksTest, EverythingPresentRunsTheWholeChainFromTheFlashButton) {
  InstallEverything();
  main().flahssucher.RaiseClick();

  const std::vector<Box> expected = {
      {kApp, "Flash Player ist installiert: OK!", vbOKOnly,
       "ticks=0 list= label7=Fehlende Dateien"},
      {kApp, "Die Visual-Basic Runtime-Dateien sind: OK!", vbOKOnly,
       "ticks=01 list= label7=" + kNone},
      {kApp, "Windows Service-Pack Dateien: OK!", vbOKOnly, "ticks=012 list= label7=" + kNone},
      {kApp, "Internet-Explorer ist: OK!", vbOKOnly, "ticks=0123 list= label7=" + kNone},
      {kApp, "Media Player Steuerelement ist: OK!", vbOKOnly, "ticks=0123 list= label7=" + kNone},
      {kApp, "Die Datei suche ist beendet!", vbOKOnly, "ticks=01234 list= label7=" + kNone},
      {kOfferTitle, kOffer, vbYesNoCancel, "ticks=01234 list= label7=" + kNone},
  };
  EXPECT_EQ(Boxes(), expected);
  EXPECT_TRUE(fake.system.shellOpens.empty());
  // The nested checks have unwound: busy picture hidden, pointer back, Label9 emptied.
  EXPECT_FALSE(main().Picture1.Visible());
  EXPECT_EQ(main().Label9.Caption(), "");
  // The first check loaded FormS, hidden, and the searches ran below its folders.
  EXPECT_TRUE(program->FormS.IsLoaded());
  EXPECT_FALSE(program->FormS.IsShown());
  EXPECT_EQ(fake.system.searches.front().root, systemFolder);
  EXPECT_EQ(fake.system.searches.back().root, programFiles);
}

TEST_F(ComponentChecksTest, TwoMissingRuntimeFilesAreListedCountedAndOfferedASearch) {
  AddSystemFile("MSCOMCTL.OCX");
  fake.ui.answers = {platform::vbOK, vbYes};
  main().Command2.RaiseClick();

  const std::string listed = "ticks= list=RICHTX32.OCX|MSFLXGRD.OCX label7=( 2 nicht installiert)";
  const std::vector<Box> expected = {
      {kApp, "2 fehlende Datei/en", vbOKOnly, listed},
      {"Achtung: nicht alle erforderliche Aktiv-X Steuerelement (OCX-Dateien)sind installiert! "
       "Wichtig!",
       "Bitte zuerst die Visual-Basic Runtime-Dateien herunterladen! Wollen Sie bei Googele "
       "suchen?",
       vbYesNoCancel, listed},
  };
  EXPECT_EQ(Boxes(), expected);  // the later checks did not run
  EXPECT_EQ(OpenedFiles(), std::vector<std::string>{checks_test::kRuntimeSearch});
  EXPECT_EQ(fake.system.shellOpens[0].owner, main().hWnd());
  EXPECT_EQ(main().List1.ListIndex(), 0);
  EXPECT_TRUE(main().List1.HasFocus());
  EXPECT_EQ(main().Label9.Caption(), "");
  EXPECT_FALSE(main().Picture1.Visible());
}

TEST_F(ComponentChecksTest, NoAndCancelOpenNothingAndStopTheChain) {
  InstallEverything();
  std::filesystem::remove(systemFolder + "/STDOLE2.TLB");
  fake.ui.defaultChoice = vbNo;
  main().Command6.RaiseClick();
  ASSERT_EQ(fake.ui.boxes.size(), 1u);
  EXPECT_EQ(fake.ui.boxes[0].title,
            "Achtung: Nicht alle erforderliche Dateien sind installiert! Wichtig!");
  EXPECT_EQ(fake.ui.boxes[0].snapshot, "ticks= list=stdole2.tlb label7=( 1 nicht installiert)");

  fake.ui.defaultChoice = vbCancel;
  main().Command6.RaiseClick();
  EXPECT_EQ(fake.ui.boxes.size(), 2u);
  EXPECT_TRUE(fake.system.shellOpens.empty());
}

TEST_F(ComponentChecksTest, MissingInternetExplorerIsListedAndTheMediaPlayerCheckStillRuns) {
  InstallEverything(/*flash=*/true, /*explorer=*/false);
  fake.ui.defaultChoice = vbCancel;
  main().Command9.RaiseClick();

  const std::vector<std::string> texts = BoxTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[0], "Achtung: Wollen Sie bei Googele suchen? Windows-Internet-Explorer?");
  EXPECT_EQ(fake.ui.boxes[0].snapshot,
            "ticks= list=Internet-Explorer label7=( 1 nicht installiert)");
  EXPECT_EQ(texts[1], "Media Player Steuerelement ist: OK!");
  EXPECT_EQ(texts[2], "Die Datei suche ist beendet!");
  EXPECT_EQ(texts[3], kOffer);
  EXPECT_EQ(fake.system.searches[0].root, programFiles);
  EXPECT_TRUE(fake.system.shellOpens.empty());
}

TEST_F(ComponentChecksTest, FlashIsFoundInASubfolderAndItsFailureLeavesTheListAlone) {
  AddSystemFile("Macromed/Flash/deep/er/Flash11j.ocx");
  fake.ui.defaultChoice = vbCancel;  // stops the chain at the runtime files
  main().flahssucher.RaiseClick();
  EXPECT_EQ(BoxTexts().front(), "Flash Player ist installiert: OK!");

  // Removed while the program runs: the next Flash check fails.
  std::filesystem::remove_all(systemFolder + "/Macromed");
  fake.ui.boxes.clear();
  main().List1.Clear();
  main().Command4.RaiseClick();  // something in the list that the Flash check must not touch
  fake.ui.answers = {vbYes};
  main().flahssucher.RaiseClick();
  ASSERT_EQ(fake.ui.boxes.size(), 1u);
  EXPECT_EQ(fake.ui.boxes[0].title, "Achtung: Flash Player ist nicht installiert! Wichtig!");
  EXPECT_EQ(fake.ui.boxes[0].text, "Bitte zuerst den Flash Player von Adobe herunterladen ?");
  EXPECT_EQ(fake.ui.boxes[0].style, vbYesNoCancel);
  EXPECT_EQ(fake.ui.boxes[0].snapshot, "ticks=0 list=xxxxx label7=( 3 nicht installiert)");
  EXPECT_EQ(OpenedFiles().back(), checks_test::kFlashPage);
}

TEST_F(ComponentChecksTest, TheFlashCheckShowsTheHourglassAndPausesBetweenSearches) {
  std::vector<platform::MousePointer> pointers;
  fake.ui.Schedule(1, [&] { pointers.push_back(main().MousePointer()); });
  const std::int64_t start = fake.clock.nowMs;
  main().flahssucher.RaiseClick();
  // The chain's walks look for every check's files, the Flash Player's first.
  EXPECT_EQ(fake.system.searches.size(), 18u);
  EXPECT_EQ(fake.system.searches[0].name, "Flash9g.ocx");
  EXPECT_EQ(fake.system.searches[9].name, "Flash11j.ocx");
  // Three short pauses and one of half a second, each over at the first look at the clock
  // after its end (event processing takes 10 ms a pass).
  EXPECT_GE(fake.clock.nowMs - start, 800);
  EXPECT_LE(fake.clock.nowMs - start, 840);
  EXPECT_EQ(pointers, std::vector<platform::MousePointer>{platform::MousePointer::Hourglass});
}

TEST_F(ComponentChecksTest, AClickDuringTheFlashPauseRunsNestedAndTheChainStillCompletes) {
  InstallEverything();
  // While the Flash check waits, the user clicks the Media Player button and then unloads
  // FormS, which the running check reads again afterwards.
  fake.ui.Schedule(50, [&] { main().Command15.RaiseClick(); });
  fake.ui.Schedule(60, [&] { program->FormS.Command3.RaiseClick(); });
  main().flahssucher.RaiseClick();
  const std::vector<std::string> texts = BoxTexts();
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[0], "Media Player Steuerelement ist: OK!");  // nested, first to show
  EXPECT_EQ(texts.back(), kOffer);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Flash Player ist installiert: OK!"), 1);
  EXPECT_TRUE(program->FormS.IsLoaded());  // read again after the unload
}

// The window's check on a process short of descriptors: the walk closes the folders it keeps
// open and goes on, so a file deep below is still found.
TEST_F(ComponentChecksTest, AFewDescriptorsStillFindAFileDeepBelow) {
  std::string deep;
  for (int i = 0; i < 30; ++i) deep += "d" + std::to_string(i) + "/";
  AddSystemFile(deep + "wmp.dll");
  fake.ui.defaultChoice = vbCancel;
  {
    fake::FewDescriptors few(3);
    main().Command15.RaiseClick();
  }
  EXPECT_TRUE(std::any_of(fake.ui.boxes.begin(), fake.ui.boxes.end(), [](const auto& box) {
    return box.text == "Media Player Steuerelement ist: OK!";
  }));
}

TEST_F(ComponentChecksTest, EveryCheckAfterFormSWasClosedLoadsItAgainHidden) {
  InstallEverything();
  fake.ui.defaultChoice = vbCancel;
  main().Command15.RaiseClick();
  EXPECT_TRUE(program->FormS.IsLoaded());
  const std::size_t lookups = fake.system.folderLookups.size();
  program->FormS.Command3.RaiseClick();  // EXIT
  EXPECT_FALSE(program->FormS.IsLoaded());
  main().Command15.RaiseClick();
  EXPECT_TRUE(program->FormS.IsLoaded());
  EXPECT_FALSE(program->FormS.IsShown());
  EXPECT_EQ(fake.system.folderLookups.size(), 2 * lookups);
}

}  // namespace
