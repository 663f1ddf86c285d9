// The component checks beyond their box scripts: a Flash Player found once and then gone,
// the hourglass and pauses of the Flash check, a walk short of descriptors.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "behaviour/check_machine.h"
#include "fake/few_descriptors.h"

namespace {

using checks_test::CheckMachineTest;
using ui::vbCancel;
using ui::vbYes;
using ui::vbYesNoCancel;

class ComponentChecksTest : public CheckMachineTest {};

TEST_F(ComponentChecksTest, FlashIsFoundInASubfolderAndItsFailureLeavesTheListAlone) {
  AddSystemFile("Macromed/Flash/deep/er/Flash11j.ocx");
  fake.ui.defaultChoice = vbCancel;  // stops the chain at the runtime files
  main().flahssucher.RaiseClick();
  EXPECT_EQ(fake.ui.boxes.front().text, "Flash Player ist installiert: OK!");

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
  std::vector<ui::MousePointer> pointers;
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
  EXPECT_EQ(pointers, std::vector<ui::MousePointer>{ui::MousePointer::Hourglass});
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

}  // namespace
