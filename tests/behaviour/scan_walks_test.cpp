// The scan's walks: one per folder and chain, and a window that keeps processing its events while a
// walk runs and sleeps while it pauses.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "behaviour/check_machine.h"
#include "behaviour/recording_console.h"
#include "checks/file_search.h"
#include "platform/posix/tree_search.h"

namespace {

class ScanWalksTest : public checks_test::CheckMachineTest {
 protected:
  // Folders that make each walk of the system folder take a while in virtual time: every
  // folder read costs walkStepMs.
  void MakeWalksSlow(int folders) {
    for (int i = 0; i < folders; ++i) tree.AddFolder("WINDOWS/system32/f" + std::to_string(i));
    fake.system.walkStepMs = 10;
  }
};

// A chain, and the command line's check, read every entry of each folder once: the system
// folder's walk for the files of four checks together, the program files folder's for
// Internet Explorer's. Here every component is present at the end of the walk, in the
// deepest of a chain of folders (one Flash Player file of ten, so that walk reads all).
TEST_F(ScanWalksTest, AChainAndTheCommandLineReadEachEntryOnce) {
  std::string deepest;
  for (int level = 0; level < 6; ++level) {
    deepest += "level" + std::to_string(level) + "/";
    for (int file = 0; file < 8; ++file)
      AddSystemFile(deepest + "m" + std::to_string(file) + ".dll");
  }
  for (const char* file : {"Flash10c.ocx", "mscomctl.ocx", "RICHTX32.OCX", "MSFLXGRD.OCX",
                           "mshtml.tlb", "STDOLE2.TLB", "shdocvw.dll", "wmp.dll"}) {
    AddSystemFile(deepest + file);
  }
  tree.AddFile("Program Files/Internet Explorer/iexplore.exe");
  // One walk of each folder that reads all of it, for a name that is nowhere.
  platform::posix::WalkCounts once;
  for (const std::string& root : {systemFolder, programFiles}) {
    const std::string_view absent[] = {"absent.dll"};
    std::string found[1];
    platform::posix::SearchTree({.root = root, .names = absent}, found, once);
  }

  fake.ui.defaultChoice = ui::vbNo;
  main().Label12.RaiseClick();
  EXPECT_EQ(fake.ui.boxes.back().text, "Wollen Sie Ihre Computer Geschwindigkeit testen?");
  EXPECT_EQ(fake.system.walks, 2);
  EXPECT_EQ(fake.system.walkCounts.entries, once.entries);
  EXPECT_EQ(fake.system.walkCounts.folderSteps, once.folderSteps);

  fake.system.walks = 0;
  fake.system.walkCounts = {};
  command_line_test::RecordingConsole console;
  EXPECT_EQ(
      belvosta::RunCommandLine(belvosta::ParseCommandLine({"--check"}, console.WindowsOptions()),
                               *program, console),
      belvosta::kExitOk);
  EXPECT_EQ(fake.system.walks, 2);
  EXPECT_EQ(fake.system.walkCounts.entries, once.entries);
  EXPECT_EQ(fake.system.walkCounts.folderSteps, once.folderSteps);
}

// A chain begun inside another, by a click processed during its walk, walks for itself and
// leaves the outer chain's findings whole, also when FormS, whose caption the outer check
// read, is closed during the nested walk; a chain begun later walks again.
TEST_F(ScanWalksTest, EveryChainWalksForItselfNestedOrNot) {
  InstallEverything();
  MakeWalksSlow(30);
  fake.ui.defaultChoice = ui::vbNo;
  fake.ui.Schedule(100, [&] { main().Command6.RaiseClick(); });
  fake.ui.Schedule(200, [&] { program->FormS.Command3.RaiseClick(); });
  main().flahssucher.RaiseClick();
  // The Flash Player's chain (5 checks, 2 folders), the service pack's nested (3 checks, 2
  // folders); the nested chain ends first, the outer one then goes on from its own findings.
  EXPECT_EQ(fake.system.walks, 4);
  std::vector<std::string> texts;
  for (const auto& box : fake.ui.boxes) texts.push_back(box.text);
  EXPECT_EQ(texts[0], "Windows Service-Pack Dateien: OK!");  // the nested chain's, first
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Flash Player ist installiert: OK!"), 1);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Windows Service-Pack Dateien: OK!"), 2);
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Media Player Steuerelement ist: OK!"), 2);
  EXPECT_EQ(texts.back(), "Wollen Sie Ihre Computer Geschwindigkeit testen?");
  EXPECT_TRUE(program->FormS.IsLoaded());  // the later checks read it again

  // Removed after the chains: the next chain sees it gone.
  std::filesystem::remove(systemFolder + "/wmp.dll");
  fake.ui.boxes.clear();
  main().Command15.RaiseClick();
  EXPECT_EQ(fake.system.walks, 5);
  EXPECT_EQ(fake.ui.boxes.front().text, "Wollen Sie bei Googele suchen? Windows Media Player?");
}

}  // namespace
