// The program-wide state of the speed test and the clock measurement that fills it: the
// processor's time-stamp counter is counted across a window timed by the performance counter.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace belvosta {

class Form3;

// Two pairs of slots: slot k holds the latest counter reading, slot k + 1 the cycles since
// the reading slot k held before.
struct Taktproben {
  std::array<std::int64_t, 4> slot{};
};

// Reads the time-stamp counter into slot k and returns the cycles since slot k was last
// written (the new content of slot k + 1); 0 when slot k + 1 does not exist.
std::int64_t LeseTaktzaehler(Taktproben& samples, int k);

// Above this many hertz the clock is shown in GHz, which the verdict judges fast enough.
inline constexpr std::int64_t kGigahertz = 1'000'000'000;

// The clock as shown: the value with two decimals and the given decimal separator, then the
// unit (" GHz" strictly above 10^9 Hz, " MHz" otherwise), e.g. "2,40 GHz".
std::string ClockText(std::int64_t hertz, const std::string& decimalSeparator);

// "Prozessor Geschwindigkeit: " + the clock as shown.
inline std::string SpeedTextFor(const std::string& clockText) {
  return "Prozessor Geschwindigkeit: " + clockText;
}

// One measurement across `duration` seconds, with no state of its own: the clock in hertz; 0
// when the cycle counter did not move forward (or the rate rounds to 0 Hz); nothing on an
// error (a duration that cannot time a window, a performance counter that cannot be read).
// `frequency` receives the performance counter's rate.
std::optional<std::int64_t> MeasureProcessorClock(double duration, std::int64_t& frequency);

struct Module1 {
  // Measured clock in hertz; 0 until a measurement succeeded.
  std::int64_t GemessenerTakt = 0;
  // Performance-counter counts per second, as the last measurement read it.
  std::int64_t ZaehlerFrequenz = 0;
  // "Prozessor Geschwindigkeit: " + value + unit; empty until the first measurement.
  std::string GeschwindigkeitsText;

  // Measures the clock once per run (MeasureProcessorClock) and writes the shown value into
  // form3.Label2, whose change runs the verdict before this returns. Later calls return the
  // stored clock and touch nothing. A result of 0 or an error stores nothing.
  std::optional<std::int64_t> MesseProzessortakt(double duration, Form3& form3);
};

}  // namespace belvosta
