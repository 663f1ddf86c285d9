// The one-time clock measurement: unit and separator, the speed text, and what a failed
// measurement leaves behind.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
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

// Windows shorter and longer than a second give the same rate and last as long as asked. A
// preemption next to a time-stamp reading does not reach the rate: a reading whose bracket
// of counter reads shows a stall is taken again, the narrowest try is kept, and the rate is
// counted over the time between the readings, not over the window asked for.
TEST_F(ClockMeasurement, GivesTheRateOfTheCounterWhateverTheWindowAndPreemptions) {
  for (const double seconds : {0.25, 2.0}) {
    SCOPED_TRACE(seconds);
    module1().GemessenerTakt = 0;
    const std::int64_t start = fake.clock.nowMs;
    EXPECT_EQ(module1().MesseProzessortakt(seconds, form3()), 2'400'000'000);
    EXPECT_EQ(form3().Label2.Caption(), "2,40 GHz");
    // The busy-wait reads the counter every virtual millisecond: it ends with the window.
    const auto windowMs = static_cast<std::int64_t>(seconds * 1000);
    EXPECT_GE(fake.clock.nowMs - start, windowMs);
    EXPECT_LE(fake.clock.nowMs - start, windowMs + 5);
  }

  // Counter reads 2 and 3 of the call bracket the first time-stamp reading; every try of it
  // is preempted: the narrowest (10 ms) is kept, 5 ms off.
  module1().GemessenerTakt = 0;
  const std::int64_t base = fake.system.counterReads;
  for (const auto& [read, ms] : {std::pair{2, 40}, {4, 10}, {6, 30}, {8, 20}}) {
    fake.system.preemptedAfterRead[base + read] = ms;
  }
  const int readings = fake.system.tscReads;
  const auto measured = module1().MesseProzessortakt(1.0, form3());
  ASSERT_TRUE(measured.has_value());
  EXPECT_NEAR(static_cast<double>(*measured), 2.4e9, 2.4e9 * 0.006);
  EXPECT_EQ(fake.system.tscReads - readings, 5);
}

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
