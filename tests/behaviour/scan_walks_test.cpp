// The scan's walks: one per folder and chain, also for a chain begun while another walks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "behaviour/check_machine.h"

namespace {

class ScanWalksTest : public checks_test::CheckMachineTest {};

// A chain begun inside another, by a click processed during its walk, walks for itself and
// leaves the outer chain's findings whole, also when FormS, whose caption the outer check
// read, is closed during the nested walk; a chain begun later walks again.
TEST_F(ScanWalksTest, EveryChainWalksForItselfNestedOrNot) {
  InstallEverything();
  // Each walk of the system folder takes a while in virtual time: every folder read costs 10 ms.
  for (int i = 0; i < 30; ++i) tree.AddFolder("WINDOWS/system32/f" + std::to_string(i));
  fake.system.walkStepMs = 10;
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
