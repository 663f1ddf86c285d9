// The tab order of the program's windows in the model, which every view follows.
#include <string>
#include <vector>

#include "fake/fixture.h"
#include "tab_order/tab_walk.h"

namespace {

using Names = std::vector<std::string>;

class TabOrder : public fake::ProgramTest {};

TEST_F(TabOrder, EveryWindowFollowsItsOwnTheMainWindowsHiddenStopsIncluded) {
  // The text boxes inside Frame3 lie below its visible part and are stops all the same,
  // as are the buttons below the client area.
  const Names expected = {"flahssucher", "Command2", "Command6",   "Command9",  "Command15",
                          "Command13",   "List1",    "Command14",  "Text1",     "Text2",
                          "Text3",       "Text3S",   "Textleer",   "Command10", "Command5",
                          "Command12",   "Command4", "Command7",   "Command11", "Command1",
                          "Command3",    "Command8", "flahssucher"};
  EXPECT_EQ(tab_order::ModelRound(main()), expected);
  EXPECT_EQ(tab_order::ModelRound(program->FormS),
            (Names{"List1", "Drive1", "Command3", "Command2", "List1"}));
  EXPECT_EQ(tab_order::ModelRound(program->Form3),
            (Names{"cmdProzessordatenAuslesen", "Command1", "Text3", "cmdProzessordatenAuslesen"}));
}

}  // namespace
