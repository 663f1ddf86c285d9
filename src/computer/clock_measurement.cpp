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

// The performance-counter count at which a window of `dauer` seconds from `start` ends;
// saturates instead of overflowing for absurd durations.
std::int64_t EndOfWindow(std::int64_t start, std::int64_t frequenz, double dauer) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  const double ticks = std::round(static_cast<double>(frequenz) * dauer);
  if (!(ticks > 0)) return start;  // a frequency of 0: the window ends at once
  if (!(ticks < kInt64Limit) || start > kMax - static_cast<std::int64_t>(ticks)) return kMax;
  return start + static_cast<std::int64_t>(ticks);
}

}  // namespace

std::int64_t LeseTaktzaehler(Taktproben& proben, int k) {
  if (k < 0 || k + 1 >= static_cast<int>(proben.slot.size())) return 0;
  const auto index = static_cast<std::size_t>(k);
  const auto now = static_cast<std::int64_t>(platform::ReadTimeStampCounter());
  // The counter wraps as a 64-bit value; the difference wraps with it.
  const auto previous = static_cast<std::uint64_t>(proben.slot[index]);
  proben.slot[index] = now;
  proben.slot[index + 1] = static_cast<std::int64_t>(static_cast<std::uint64_t>(now) - previous);
  return proben.slot[index + 1];
}

std::optional<std::int64_t> MeasureProcessorClock(double dauer, std::int64_t& frequenz) {
  // A window of no length (or none at all) cannot give a rate.
  if (!std::isfinite(dauer) || dauer <= 0) return std::nullopt;

  if (platform::QueryPerformanceFrequency(frequenz) == 0) frequenz = 0;

  std::int64_t cycles = 0;
  {
    // Both counter readings must come from the same processor: counters of different
    // processors need not agree.
    platform::SingleProcessorScope sameProcessor;
    std::int64_t start = 0;
    if (platform::QueryPerformanceCounter(start) == 0) return std::nullopt;
    const std::int64_t end = EndOfWindow(start, frequenz, dauer);
    Taktproben proben;
    LeseTaktzaehler(proben, 0);
    // Busy-wait: the window is timed as closely as the counter allows.
    std::int64_t now = start;
    do {
      if (platform::QueryPerformanceCounter(now) == 0) return std::nullopt;
    } while (now < end);
    cycles = LeseTaktzaehler(proben, 0);
  }

  // A counter that stood still or ran backwards measured nothing, and neither did a rate
  // that rounds to 0 Hz.
  if (cycles <= 0) return 0;
  const double hertz = std::round(static_cast<double>(cycles) * (1.0 / dauer));
  if (!(hertz < kInt64Limit)) return std::nullopt;
  if (hertz < 1) return 0;
  return static_cast<std::int64_t>(hertz);
}

std::optional<std::int64_t> Module1::MesseProzessortakt(double dauer, Form3& form3) {
  if (GemessenerTakt != 0) return GemessenerTakt;
  const auto hertz = MeasureProcessorClock(dauer, ZaehlerFrequenz);
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
