// The one-time clock measurement: unit and separator, the speed text, and what a failed
// measurement leaves behind.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

using Readings = std::pair<std::uint64_t, std::uint64_t>;

class ClockMeasurement : public fake::ProgramTest {
 protected:
  belvosta::Form3& form3() { return program->Form3; }
  belvosta::Module1& module1() { return program->Module1; }
};

TEST(ClockText, ChoosesTheUnitStrictlyAboveOneGigahertzAndUsesTheGivenSeparator) {
  EXPECT_EQ(belvosta::ClockText(2'400'000'000, ","), "2,40 GHz");
  EXPECT_EQ(belvosta::ClockText(2'400'000'000, "."), "2.40 GHz");
  EXPECT_EQ(belvosta::ClockText(800'000'000, ","), "800,00 MHz");
  EXPECT_EQ(belvosta::ClockText(1'000'000'000, ","), "1000,00 MHz");
  EXPECT_EQ(belvosta::ClockText(1'000'000'001, ","), "1,00 GHz");
  EXPECT_EQ(belvosta::ClockText(3'000'000'000, ""), "3.00 GHz");  // no separator known
}

TEST_F(ClockMeasurement, FirstLoadMeasuresOneSecondPinnedAndFiresTheVerdictBeforeItReturns) {
  std::string text3AtVerdict;
  int counterReadsAtVerdict = -1;
  fake.ui.whileBoxOpen = [&](const fake::RecordedBox& box) {
    if (box.title == "Rechnerdaten auslesen") return;
    text3AtVerdict = CurrentValues(form3().Text3).caption;
    counterReadsAtVerdict = fake.system.tscReads;
  };

  form3().EnsureLoaded();

  EXPECT_EQ(module1().GemessenerTakt, 2'400'000'000);
  EXPECT_EQ(module1().ZaehlerFrequenz, 10'000'000);
  EXPECT_EQ(module1().GeschwindigkeitsText, "Prozessor Geschwindigkeit: 2,40 GHz");
  EXPECT_EQ(form3().Label2.Caption(), "2,40 GHz");
  EXPECT_EQ(form3().Text3.Text(), "Prozessor Geschwindigkeit: 2,40 GHz\r\n");
  // The verdict ran after both counter readings, before the speed text reached Text3.
  EXPECT_EQ(counterReadsAtVerdict, 2);
  EXPECT_EQ(text3AtVerdict, "MHz");
  EXPECT_EQ(fake.system.pinCount, 1);
  EXPECT_EQ(fake.system.unpinCount, 1);
}

// Windows shorter and longer than a second give the same rate, and last as long as asked.
class MeasurementWindow : public ClockMeasurement, public ::testing::WithParamInterface<double> {};

TEST_P(MeasurementWindow, GivesTheRateOfTheCounterWhateverTheWindowsLength) {
  const double seconds = GetParam();
  const auto takt = module1().MesseProzessortakt(seconds, form3());
  ASSERT_TRUE(takt.has_value());
  EXPECT_EQ(*takt, 2'400'000'000);
  EXPECT_EQ(form3().Label2.Caption(), "2,40 GHz");
  // The busy-wait reads the counter every virtual millisecond: it ends with the window.
  const auto windowMs = static_cast<std::int64_t>(seconds * 1000);
  EXPECT_GE(fake.clock.nowMs, windowMs);
  EXPECT_LE(fake.clock.nowMs, windowMs + 5);
}

INSTANTIATE_TEST_SUITE_P(QuarterAndTwoSeconds, MeasurementWindow, ::testing::Values(0.25, 2.0));

// A counter that stands still or runs backwards measured nothing: nothing is stored or
// shown, no verdict runs, and the next load measures again.
class NonPositiveCycles : public ClockMeasurement,
                          public ::testing::WithParamInterface<Readings> {};

TEST_P(NonPositiveCycles, StoreNothingAndMeasureAgainOnTheNextLoad) {
  fake.system.queuedTscReadings = {GetParam().first, GetParam().second};

  form3().EnsureLoaded();

  EXPECT_EQ(module1().GemessenerTakt, 0);
  EXPECT_EQ(module1().GeschwindigkeitsText, "");
  EXPECT_EQ(form3().Label2.Caption(), "Label2");
  EXPECT_EQ(form3().Text3.Text(), "\r\n");
  EXPECT_EQ(fake.ui.boxes.size(), 1u);  // the report alone

  form3().Unload();
  form3().EnsureLoaded();

  EXPECT_EQ(module1().GemessenerTakt, 2'400'000'000);
  EXPECT_EQ(form3().Text3.Text(), "Prozessor Geschwindigkeit: 2,40 GHz\r\n");
  EXPECT_EQ(fake.ui.boxes.size(), 3u);  // report, report, verdict
}

INSTANTIATE_TEST_SUITE_P(ZeroAndNegative, NonPositiveCycles,
                         ::testing::Values(Readings{5000, 5000}, Readings{9000, 1000}));

TEST_F(ClockMeasurement, FailedMeasurementIsAnErrorAndTheLoadSkipsTheSpeedText) {
  // A window of no length cannot give a rate: nothing is read, stored or loaded.
  EXPECT_FALSE(module1().MesseProzessortakt(0.0, form3()).has_value());
  EXPECT_EQ(fake.system.tscReads, 0);
  EXPECT_FALSE(form3().IsLoaded());

  fake.system.performanceCounterWorks = false;
  form3().EnsureLoaded();

  EXPECT_EQ(form3().Text3.Text(), "MHz");
  EXPECT_EQ(module1().GemessenerTakt, 0);
  EXPECT_EQ(module1().GeschwindigkeitsText, "");
  EXPECT_EQ(fake.ui.boxes.size(), 1u);
  EXPECT_EQ(fake.system.pinCount, fake.system.unpinCount);
}

}  // namespace
