// The real clock measurement on this machine: the counted rate of the time-stamp counter
// must agree with the rate the kernel calibrated for it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "app/program.h"
#include "fake/fixture.h"
#include "platform/posix/system_backend.h"

namespace {

// "... <number> MHz ..." after the marker, in hertz.
std::optional<double> MegahertzAfter(const std::string& line, const std::string& marker) {
  const auto at = line.find(marker);
  if (at == std::string::npos) return std::nullopt;
  const char* start = line.c_str() + at + marker.size();
  char* end = nullptr;
  const double mhz = std::strtod(start, &end);
  if (end == start || mhz <= 0 || std::string_view(end).rfind(" MHz", 0) != 0) return std::nullopt;
  return mhz * 1e6;
}

// The kernel's figure for the time-stamp counter, in hertz: the sysfs attribute where the
// kernel offers one, else its log (the refined calibration beats the early detection).
std::optional<double> KernelTimeStampHz(std::string& source) {
  std::ifstream sysfs("/sys/devices/system/cpu/cpu0/tsc_freq_khz");
  double khz = 0;
  if (sysfs >> khz && khz > 0) {
    source = "tsc_freq_khz";
    return khz * 1e3;
  }

  const int fd = ::open("/dev/kmsg", O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<double> detected;
  std::optional<double> refined;
  char record[8192];
  for (;;) {
    const ssize_t n = ::read(fd, record, sizeof record);
    if (n < 0 && errno == EPIPE) continue;  // records overwritten meanwhile: read on
    if (n <= 0) break;
    const std::string line(record, static_cast<std::size_t>(n));
    if (auto hz = MegahertzAfter(line, "tsc: Refined TSC clocksource calibration: ")) refined = hz;
    if (auto hz = MegahertzAfter(line, "tsc: Detected ")) detected = hz;
  }
  ::close(fd);
  source = refined ? "kernel log, refined calibration" : "kernel log, detected rate";
  return refined ? refined : detected;
}

TEST(ClockMeasurementReal, CountsTheKernelsTimeStampRateWithinOnePercent) {
  std::string source;
  const std::optional<double> kernelHz = KernelTimeStampHz(source);
  if (!kernelHz) {
    GTEST_SKIP() << "the kernel states no time-stamp counter rate here (no tsc_freq_khz, and "
                    "no readable \"tsc:\" line in /dev/kmsg)";
  }

  fake::FakePlatform fake;
  belvosta::Program program;
  // Load the window on the fake system with a failing counter, so only the measurement
  // below runs on the real one.
  fake.system.performanceCounterWorks = false;
  program.Form3.EnsureLoaded();

  platform::posix::PosixBackend real;
  platform::SetBackend(&real);
  const auto measured = program.Module1.MesseProzessortakt(1.0, program.Form3);
  platform::SetBackend(&fake.system);

  ASSERT_TRUE(measured.has_value());
  EXPECT_NEAR(static_cast<double>(*measured), *kernelHz, *kernelHz * 0.01) << "kernel: " << source;
}

}  // namespace
