// A time limit for every test: a fault that makes a loop run for ever (a text replacement
// that never moves on, a timer that is always due, a copy that never ends) fails the test
// within seconds, with its name, instead of waiting for the runner's time-out.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The running test's name, written before its alarm is set, for the signal handler.
char running[512];

void TimeIsUp(int) {
  constexpr char kTail[] = " has run too long: it does not end. FAILED\n";
  (void)!write(STDERR_FILENO, "\n", 1);
  (void)!write(STDERR_FILENO, running, std::strlen(running));
  (void)!write(STDERR_FILENO, kTail, sizeof kTail - 1);
  _exit(3);
}

class Watchdog : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo& test) override {
    std::snprintf(running, sizeof running, "%s.%s", test.test_suite_name(), test.name());
    alarm(limit_);
  }
  void OnTestEnd(const ::testing::TestInfo&) override { alarm(0); }

  // Seconds a single test may run: BELVOSTA_TEST_TIME_LIMIT, or 30 (sanitizer builds are
  // several times slower than the debug build; the slowest test needs about 2 s there).
  const unsigned limit_ = [] {
    const char* text = std::getenv("BELVOSTA_TEST_TIME_LIMIT");
    return text && std::atoi(text) > 0 ? static_cast<unsigned>(std::atoi(text)) : 30u;
  }();
};

const bool kInstalled = [] {
  signal(SIGALRM, &TimeIsUp);
  ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
  return true;
}();

}  // namespace
