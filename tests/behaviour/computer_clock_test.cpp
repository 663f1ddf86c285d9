// The one-time clock measurement: unit and separator, the speed text, and what a failed
// measurement leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "fake/fixture.h"

namespace {

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

// A slot and the one after it hold a reading and the cycles since; a slot without a
// successor, or none at all, is neither read nor written.
TEST_F(ClockMeasurement, TheCounterIsReadOnlyIntoSlotsThatHaveASuccessor) {
  belvosta::Taktproben samples;
  samples.slot = {1, 2, 3, 4};
  for (int k : {-1, 3, 4}) {
    EXPECT_EQ(belvosta::LeseTaktzaehler(samples, k), 0) << k;
  }
  EXPECT_EQ(fake.system.tscReads, 0);
  EXPECT_EQ(samples.slot, (std::array<std::int64_t, 4>{1, 2, 3, 4}));
  const std::int64_t cycles = belvosta::LeseTaktzaehler(samples, 2);
  EXPECT_EQ(fake.system.tscReads, 1);
  // The reading, and the cycles since: the reading less what the slot held.
  EXPECT_EQ(samples.slot, (std::array<std::int64_t, 4>{1, 2, cycles + 3, cycles}));
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
  const auto measured = module1().MesseProzessortakt(seconds, form3());
  ASSERT_TRUE(measured.has_value());
  EXPECT_EQ(*measured, 2'400'000'000);
  EXPECT_EQ(form3().Label2.Caption(), "2,40 GHz");
  // The busy-wait reads the counter every virtual millisecond: it ends with the window.
  const auto windowMs = static_cast<std::int64_t>(seconds * 1000);
  EXPECT_GE(fake.clock.nowMs, windowMs);
  EXPECT_LE(fake.clock.nowMs, windowMs + 5);
}

INSTANTIATE_TEST_SUITE_P(QuarterAndTwoSeconds, MeasurementWindow, ::testing::Values(0.25, 2.0));

// A preemption next to a time-stamp reading or inside the busy-wait does not reach the rate:
// a reading whose bracket of counter reads shows a stall is taken again, and the rate is
// counted over the time between the readings, not over the window asked for.
struct Preemption {
  const char* where;
  std::map<std::int64_t, std::int64_t> stalls;  // counter read (from 1 in the call) -> ms
  int tscReads;
  double within;  // relative error allowed
};

class PreemptedMeasurement : public ClockMeasurement,
                             public ::testing::WithParamInterface<Preemption> {};

TEST_P(PreemptedMeasurement, KeepsTheRateOfTheCounter) {
  // Read 1 starts the window, reads 2 and 3 bracket the first time-stamp reading, the
  // busy-wait reads each virtual millisecond up to read 1001, 1002 and 1003 bracket the last.
  const std::int64_t base = fake.system.counterReads;
  for (const auto& [read, ms] : GetParam().stalls) fake.system.preemptedAfterRead[base + read] = ms;

  const auto measured = module1().MesseProzessortakt(1.0, form3());

  ASSERT_TRUE(measured.has_value());
  EXPECT_NEAR(static_cast<double>(*measured), 2.4e9, 2.4e9 * GetParam().within);
  EXPECT_EQ(fake.system.tscReads, GetParam().tscReads);
}

INSTANTIATE_TEST_SUITE_P(
    AtEveryPlace, PreemptedMeasurement,
    ::testing::Values(Preemption{"first reading", {{2, 30}}, 3, 0},
                      Preemption{"busy wait", {{500, 50}}, 2, 0},
                      Preemption{"last reading", {{1002, 30}}, 3, 0},
                      Preemption{"just below the limit", {{2, 3}}, 2, 0.002},
                      // Every try preempted: the narrowest (10 ms) is kept, 5 ms off.
                      Preemption{"every try", {{2, 40}, {4, 10}, {6, 30}, {8, 20}}, 5, 0.006}),
    [](const auto& info) {
      std::string name = info.param.where;
      std::replace(name.begin(), name.end(), ' ', '_');
      return name;
    });

// A counter that stands still or runs backwards, or one that cannot be read, measured
// nothing: nothing is stored or shown, no verdict runs, and the next load measures again.
TEST_F(ClockMeasurement, AFailedMeasurementStoresNothingAndTheNextLoadMeasuresAgain) {
  // A window of no length cannot give a rate: nothing is read, stored or loaded.
  EXPECT_FALSE(module1().MesseProzessortakt(0.0, form3()).has_value());
  EXPECT_EQ(fake.system.tscReads, 0);
  EXPECT_FALSE(form3().IsLoaded());

  // The readings, or none for a counter that fails; Text3 as the load leaves it.
  const std::pair<std::deque<std::uint64_t>, const char*> failures[] = {
      {{5000, 5000}, "\r\n"}, {{9000, 1000}, "\r\n"}, {{}, "MHz"}};
  for (const auto& [readings, text3] : failures) {
    fake.system.queuedTscReadings = readings;
    fake.system.performanceCounterWorks = !readings.empty();
    fake.ui.boxes.clear();
    form3().EnsureLoaded();

    EXPECT_EQ(module1().GemessenerTakt, 0);
    EXPECT_EQ(module1().GeschwindigkeitsText, "");
    EXPECT_EQ(form3().Label2.Caption(), "Label2");
    EXPECT_EQ(form3().Text3.Text(), text3);
    EXPECT_EQ(fake.ui.boxes.size(), 1u);  // the report alone
    EXPECT_EQ(fake.system.pinCount, fake.system.unpinCount);
    form3().Unload();
  }

  fake.system.performanceCounterWorks = true;
  form3().EnsureLoaded();
  EXPECT_EQ(module1().GemessenerTakt, 2'400'000'000);
  EXPECT_EQ(form3().Text3.Text(), "Prozessor Geschwindigkeit: 2,40 GHz\r\n");
  EXPECT_EQ(fake.ui.boxes.size(), 3u);  // report, report, verdict
}

}  // namespace
