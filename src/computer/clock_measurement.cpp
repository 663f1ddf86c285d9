#include <cmath>
#include <limits>

#include "computer/form3.h"
#include "computer/module1.h"
#include "platform/cpu.h"
#include "platform/kernel32.h"

namespace belvosta {
namespace {

// 2^63: doubles below it convert to a signed 64-bit count without overflow.
constexpr double kInt64Limit = 9223372036854775808.0;

// The performance-counter count at which a window of `duration` seconds from `start` ends;
// saturates instead of overflowing for absurd durations.
std::int64_t EndOfWindow(std::int64_t start, std::int64_t frequency, double duration) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  const double ticks = std::round(static_cast<double>(frequency) * duration);
  if (!(ticks > 0)) return start;  // a frequency of 0: the window ends at once
  if (!(ticks < kInt64Limit) || start > kMax - static_cast<std::int64_t>(ticks)) return kMax;
  return start + static_cast<std::int64_t>(ticks);
}

// A time-stamp reading placed on the performance counter's time line: the counter is read
// just before and just after it. A thread preempted in between shows a wide bracket and
// reads again, up to a few times; the narrowest try is kept. `head` counts the cycles from
// the reading before the bracket to the kept one, `tail` those from the kept one to the
// bracket's last reading (the one slot 0 now holds).
struct Bracket {
  std::int64_t before = 0;
  std::int64_t after = 0;
  std::int64_t head = 0;
  std::int64_t tail = 0;
};

constexpr int kBracketTries = 4;

std::optional<Bracket> ReadBracketed(Taktproben& samples, std::int64_t widest) {
  Bracket kept;
  std::int64_t sum = 0;  // cycles from the reading before the bracket to the latest try
  for (int attempt = 0; attempt < kBracketTries; ++attempt) {
    std::int64_t before = 0;
    std::int64_t after = 0;
    if (platform::QueryPerformanceCounter(before) == 0) return std::nullopt;
    sum += LeseTaktzaehler(samples, 0);
    if (platform::QueryPerformanceCounter(after) == 0) return std::nullopt;
    if (attempt == 0 || after - before < kept.after - kept.before) {
      kept = Bracket{before, after, sum, 0};
    }
    kept.tail = sum - kept.head;
    if (after - before <= widest) break;
  }
  return kept;
}

}  // namespace

std::int64_t LeseTaktzaehler(Taktproben& samples, int k) {
  if (k < 0 || k + 1 >= static_cast<int>(samples.slot.size())) return 0;
  const auto index = static_cast<std::size_t>(k);
  const auto now = static_cast<std::int64_t>(platform::ReadTimeStampCounter());
  // The counter wraps as a 64-bit value; the difference wraps with it.
  const auto previous = static_cast<std::uint64_t>(samples.slot[index]);
  samples.slot[index] = now;
  samples.slot[index + 1] = static_cast<std::int64_t>(static_cast<std::uint64_t>(now) - previous);
  return samples.slot[index + 1];
}

std::optional<std::int64_t> MeasureProcessorClock(double duration, std::int64_t& frequency) {
  // A window of no length (or none at all) cannot give a rate.
  if (!std::isfinite(duration) || duration <= 0) return std::nullopt;

  if (platform::QueryPerformanceFrequency(frequency) == 0) frequency = 0;

  std::int64_t cycles = 0;
  std::int64_t elapsed2 = 0;  // twice the counts between the two readings' brackets
  {
    // Both counter readings must come from the same processor: counters of different
    // processors need not agree.
    platform::SingleProcessorScope sameProcessor;
    std::int64_t start = 0;
    if (platform::QueryPerformanceCounter(start) == 0) return std::nullopt;
    const std::int64_t end = EndOfWindow(start, frequency, duration);
    // A bracket wider than half a percent of the window is read again: a preemption there
    // would show in the rate.
    const std::int64_t widest = (end - start) / 200;
    Taktproben samples;
    const std::optional<Bracket> first = ReadBracketed(samples, widest);
    if (!first) return std::nullopt;
    // Busy-wait: the window is timed as closely as the counter allows.
    std::int64_t now = start;
    do {
      if (platform::QueryPerformanceCounter(now) == 0) return std::nullopt;
    } while (now < end);
    const std::optional<Bracket> last = ReadBracketed(samples, widest);
    if (!last) return std::nullopt;
    cycles = first->tail + last->head;
    elapsed2 = (last->before - first->before) + (last->after - first->after);
  }

  // A counter that stood still or ran backwards measured nothing, and neither did a rate
  // that rounds to 0 Hz.
  if (cycles <= 0) return 0;
  // The cycles over the time the counter saw pass between the two readings, so that a
  // preemption inside the busy-wait does not count; without a counter rate, over the
  // window's length.
  const double seconds = frequency > 0 && elapsed2 > 0
                             ? static_cast<double>(elapsed2) / 2.0 / static_cast<double>(frequency)
                             : duration;
  const double hertz = std::round(static_cast<double>(cycles) / seconds);
  if (!(hertz < kInt64Limit)) return std::nullopt;
  if (hertz < 1) return 0;
  return static_cast<std::int64_t>(hertz);
}

std::optional<std::int64_t> Module1::MesseProzessortakt(double duration, Form3& form3) {
  if (GemessenerTakt != 0) return GemessenerTakt;
  const auto hertz = MeasureProcessorClock(duration, ZaehlerFrequenz);
  // Nothing measured: nothing is stored, so the next call measures again.
  if (!hertz || *hertz == 0) return hertz;
  GemessenerTakt = *hertz;

  const std::string clockText = ClockText(GemessenerTakt, platform::UserDecimalSeparator());
  GeschwindigkeitsText = SpeedTextFor(clockText);
  // The caption change runs the verdict, message box included, before we go on.
  form3.Label2.SetCaption(clockText);
  return GemessenerTakt;
}

}  // namespace belvosta
