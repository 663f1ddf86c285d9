// The component checks beyond their box scripts: a Flash Player found once and then gone,
// with the hourglass while it is looked for.
#include <gtest/gtest.h>

#include <filesystem>

#include "behaviour/check_machine.h"

namespace {

using checks_test::CheckMachineTest;
using ui::vbCancel;
using ui::vbYes;
using ui::vbYesNoCancel;

class ComponentChecksTest : public CheckMachineTest {};

TEST_F(ComponentChecksTest, FlashIsFoundInASubfolderAndItsFailureLeavesTheListAlone) {
  AddSystemFile("Macromed/Flash/deep/er/Flash11j.ocx");
  fake.ui.defaultChoice = vbCancel;  // stops the chain at the runtime files
  std::vector<ui::MousePointer> pointers;
  fake.ui.Schedule(1, [&] { pointers.push_back(main().MousePointer()); });
  main().flahssucher.RaiseClick();
  EXPECT_EQ(fake.ui.boxes.front().text, "Flash Player ist installiert: OK!");
  EXPECT_EQ(pointers, std::vector<ui::MousePointer>{ui::MousePointer::Hourglass});  // searching

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

}  // namespace
