// The hidden fields and handlers that keep the missing-file list.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

class MissingFileListTest : public fake::ProgramTest {};

TEST_F(MissingFileListTest, EntriesGoThroughText3AndTheRefreshCountsThem) {
  auto& w = main();
  w.Command10_Click();
  EXPECT_EQ(w.Label7.Caption(), "( 0 nicht installiert)");
  EXPECT_EQ(w.Label9.Caption(), "");
  w.Text3.SetText("MSCOMCTL.OCX");
  w.Text3.SetText("MSCOMCTL.OCX");  // the same entry twice in a row is listed once
  w.Text3.SetText("RICHTX32.OCX");
  w.Command5_Click();
  EXPECT_EQ(w.List1.Items(), (std::vector<std::string>{"MSCOMCTL.OCX", "RICHTX32.OCX"}));
  EXPECT_EQ(w.List1.ListIndex(), 0);
  EXPECT_TRUE(w.List1.HasFocus());
  EXPECT_EQ(w.Label9.Caption(), "2");
  EXPECT_EQ(w.Label7.Caption(), "( 2 nicht installiert)");

  // A reset after an entry in Text3 lists (and drops) an empty entry on the way.
  w.Command10_Click();
  EXPECT_EQ(w.List1.ListCount(), 0);
  EXPECT_EQ(w.Label7.Caption(), "( 1 nicht installiert)");
  EXPECT_EQ(w.Text3.Text(), "");
  EXPECT_EQ(w.Label9.Caption(), "");

  // A refresh of an empty list keeps Label9.
  w.Command5_Click();
  EXPECT_EQ(w.Label9.Caption(), "");
  EXPECT_EQ(w.Label7.Caption(), "( 0 nicht installiert)");
}

TEST_F(MissingFileListTest, SearchResultsAreLoweredAndMarkedInstalled) {
  auto& w = main();
  w.Text1.SetText("C:\\WINDOWS\\System32\\MSCOMCTL.OCX");
  EXPECT_EQ(w.Text1.Text(), "c:\\windows\\system32\\mscomctl.ocx");
  EXPECT_EQ(w.Text1.SelStart(), static_cast<int>(w.Text1.Text().size()));
  EXPECT_EQ(w.Text2.Text(), "ist instaliert");
  // Both ends of the alphabet, and of the accented capitals (À to Þ, without ×).
  w.Text1.SetText("C:\\ZAUBER\\ÀÄÖÜÞ×\\AZ");
  EXPECT_EQ(w.Text1.Text(), "c:\\zauber\\àäöüþ×\\az");

  // Only a found Flash Player path marks the player installed, and a later miss does not
  // take the finding back.
  w.Text3S.SetText("");
  EXPECT_EQ(w.Textleer.Text(), "");
  w.Text3S.SetText("c:\\windows\\system32\\macromed\\flash\\flash10c.ocx");
  w.Text3S.SetText("");
  EXPECT_EQ(w.Textleer.Text(), "ist instaliert");
}

TEST_F(MissingFileListTest, TheUsersWaysToEmptyAndFillTheList) {
  auto& w = main();
  w.Command4.RaiseClick();
  w.Command4.RaiseClick();
  EXPECT_EQ(w.List1.Items(), (std::vector<std::string>{"xxxxx", "xxxxx"}));
  w.Command5_Click();
  w.List1.RaiseDblClick();
  EXPECT_EQ(w.List1.ListCount(), 0);
  EXPECT_EQ(w.Label7.Caption(), "( 2 nicht installiert)");  // keeps the old count
  w.Command4.RaiseClick();
  w.Command12.RaiseClick();
  EXPECT_EQ(w.List1.ListCount(), 0);
}

}  // namespace
