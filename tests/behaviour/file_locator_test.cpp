// FileFind and Pause of the main window.
#include <gtest/gtest.h>

#include "behaviour/check_machine.h"

namespace {

class FileLocatorTest : public checks_test::CheckMachineTest {};

TEST_F(FileLocatorTest, ABlankOrEmptyNameFindsNothingWithoutSearching) {
  tree.AddFile("WINDOWS/system32/ x");
  EXPECT_EQ(main().FileFind("", systemFolder), "");
  EXPECT_EQ(main().FileFind("   ", systemFolder), "");
  EXPECT_TRUE(fake.system.searches.empty());
}

TEST_F(FileLocatorTest, PauseWaitsWhileTimersTick) {
  int ticks = 0;
  main().Timer1.Tick = [&] { ++ticks; };
  main().Timer1.SetEnabled(true);
  const std::int64_t start = fake.clock.nowMs;
  const int wakes = fake.ui.doEventsCalls;
  main().Pause(0.5f);
  EXPECT_GE(fake.clock.nowMs - start, 500);
  EXPECT_LT(fake.clock.nowMs - start, 520);
  EXPECT_EQ(ticks, 1);
  EXPECT_LE(fake.ui.doEventsCalls - wakes, 3);  // it sleeps until the tick, then the end

  // A wait of zero runs one pass of event processing.
  const int passes = fake.ui.doEventsCalls;
  main().Pause(0.0f);
  EXPECT_EQ(fake.ui.doEventsCalls, passes + 1);

  // With no timer running, a pause is one wait of exactly its length, and ends there.
  main().Timer1.SetEnabled(false);
  const int before = fake.ui.doEventsCalls;
  const std::int64_t waitStart = fake.clock.nowMs;
  main().Pause(0.25f);
  EXPECT_EQ(fake.ui.doEventsCalls, before + 1);
  EXPECT_EQ(fake.clock.nowMs - waitStart, 250);
}

}  // namespace
