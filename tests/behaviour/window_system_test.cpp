// The rules of the window system that every handler depends on.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake/fixture.h"
#include "ui/view_side.h"

namespace {

using ui::Design;

// A small form that logs what its handlers see.
class LogForm : public ui::Form {
 public:
  LogForm() : Form("LogForm", {.caption = "Log", .clientWidth = 3000, .clientHeight = 2000}) {
    List.Click = [this] { log.push_back("click:" + std::to_string(List.ListIndex())); };
    Tick.Tick = [this] { log.push_back("tick"); };
  }

  ui::Label Caption{*this, "Caption", {.caption = "design"}};
  ui::TextBox Text{*this, "Text", {.caption = "start"}};
  ui::ListBox List{*this, "List", {}};
  ui::CommandButton Button{*this, "Button", {.caption = "Press"}};
  ui::Timer Tick{*this, "Tick", {.enabled = false, .interval = 500}};
  std::vector<std::string> log;
  int loads = 0;

 protected:
  void Form_Load() override { ++loads; }
};

class WindowSystemTest : public ::testing::Test {
 protected:
  fake::FakePlatform fake;
  LogForm form;
};

// Choosing an entry in code raises Click; an index past either end chooses nothing, and
// reads give nothing past the end.
TEST_F(WindowSystemTest, SettingTheListIndexRaisesClickAndFailsSilentlyPastTheEnds) {
  EXPECT_FALSE(form.List.SetListIndex(0));
  EXPECT_TRUE(form.log.empty());
  form.List.AddItem("x");
  form.List.AddItem("y");
  EXPECT_TRUE(form.List.SetListIndex(1));
  EXPECT_FALSE(form.List.SetListIndex(2));
  EXPECT_FALSE(form.List.SetListIndex(-2));
  EXPECT_EQ(form.log, (std::vector<std::string>{"click:1"}));
  EXPECT_EQ(form.List.List(1), "y");
  EXPECT_EQ(form.List.List(2), "");
  EXPECT_EQ(form.List.List(-1), "");
  EXPECT_TRUE(form.List.SetListIndex(-1));
  EXPECT_EQ(form.List.ListIndex(), -1);
  ASSERT_TRUE(form.List.SetListIndex(0));
  form.List.Clear();
  EXPECT_EQ(form.List.ListIndex(), -1);
}

TEST_F(WindowSystemTest, UnloadKeepsTheFormAliveAndTheNextAccessReloadsDesignValues) {
  form.Show();
  form.Caption.SetCaption("changed");
  form.List.AddItem("entry");
  form.Tick.SetEnabled(true);
  // Everything else a user or a handler can change on the form and its controls.
  form.Form::SetCaption("other");
  form.SetMousePointer(ui::MousePointer::Hourglass);
  form.Text.SetText("typed");
  form.Text.SetSelStart(3);
  ASSERT_TRUE(form.Text.SetFocus());
  form.List.AddItem("second");
  ASSERT_TRUE(form.List.SetListIndex(1));
  const std::size_t entries = form.log.size();
  form.Unload();
  EXPECT_FALSE(form.IsLoaded());
  EXPECT_FALSE(form.IsShown());
  // The unloaded form's timer no longer ticks.
  fake.ui.Advance(2000);
  EXPECT_EQ(form.log.size(), entries);
  // The next access loads the form again with its design values.
  EXPECT_EQ(form.Caption.Caption(), "design");
  EXPECT_EQ(form.List.ListCount(), 0);
  EXPECT_FALSE(form.Tick.Enabled());
  EXPECT_EQ(form.Form::Caption(), "Log");
  EXPECT_EQ(form.MousePointer(), ui::MousePointer::Default);
  EXPECT_EQ(form.Text.Text(), "start");
  EXPECT_EQ(form.Text.SelStart(), 0);
  EXPECT_FALSE(form.Text.HasFocus());
  EXPECT_EQ(form.List.ListIndex(), -1);
  EXPECT_EQ(form.loads, 2);
}

TEST_F(WindowSystemTest, ControlsLeftOutOfASetTabOrderFollowItInTheirOwnOrder) {
  form.SetTabOrder({&form.Button, &form.Text});
  const std::vector<ui::Control*> order = form.TabOrder();
  EXPECT_EQ(order, (std::vector<ui::Control*>{&form.Button, &form.Text, &form.Caption, &form.List,
                                              &form.Tick}));
  EXPECT_EQ(form.TabStops(), (std::vector<ui::Control*>{&form.Button, &form.Text, &form.List}));
  // Without a focused control, Tab starts at the first stop and Shift+Tab at the last.
  EXPECT_EQ(form.NextTabStop(nullptr, true), &form.Button);
  EXPECT_EQ(form.NextTabStop(nullptr, false), &form.List);
  // Hidden and disabled controls are skipped, and Tab goes round both ways.
  form.Text.SetVisible(false);
  EXPECT_EQ(form.NextTabStop(&form.Button, true), &form.List);
  form.List.SetEnabled(false);
  EXPECT_EQ(form.NextTabStop(&form.Button, false), &form.Button);
  form.Text.SetVisible(true);
  EXPECT_EQ(form.NextTabStop(&form.Button, false), &form.Text);
  EXPECT_EQ(form.NextTabStop(&form.Text, true), &form.Button);
}

// A tick's handler that destroys another timer due at the same moment: that one never ticks.
TEST_F(WindowSystemTest, ATimerDestroyedByAnotherTimersTickDoesNotTick) {
  auto other =
      std::make_unique<ui::Timer>(form, "Other", ui::Design{.enabled = false, .interval = 500});
  int otherTicks = 0;
  other->Tick = [&] { ++otherTicks; };
  form.Tick.Tick = [&] { other.reset(); };
  form.Tick.SetEnabled(true);
  other->SetEnabled(true);
  fake.ui.Advance(500);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(otherTicks, 0);
}

TEST_F(WindowSystemTest, TimersTickAtTheirIntervalAndWhileAMessageBoxIsOpen) {
  form.Tick.SetEnabled(true);
  fake.ui.Advance(300);
  form.Tick.SetEnabled(true);  // already running: its interval goes on, it does not restart
  fake.ui.Advance(199);
  EXPECT_TRUE(form.log.empty());
  fake.ui.Advance(1);
  EXPECT_EQ(form.log.size(), 1u);

  fake.ui.boxOpenMs = 1000;
  fake.ui.answers = {ui::vbYes};
  EXPECT_EQ(ui::MsgBox("Frage?", ui::vbYesNoCancel, "Titel"), ui::vbYes);
  EXPECT_EQ(form.log.size(), 3u);  // two more ticks while the box was open
}

TEST_F(WindowSystemTest, FocusNeedsAShownFormAndAControlThatTakesIt) {
  EXPECT_FALSE(form.List.SetFocus());  // loaded by the call, but not shown
  form.Show();
  EXPECT_FALSE(form.Caption.SetFocus());  // labels take no focus
  EXPECT_TRUE(form.List.SetFocus());
  EXPECT_TRUE(form.List.HasFocus());
  // A control hidden while it has the focus loses it.
  form.List.SetVisible(false);
  EXPECT_EQ(ui::FocusedControl(form), nullptr);
}

}  // namespace
