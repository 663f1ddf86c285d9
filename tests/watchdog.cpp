// A time limit for every test: a fault that makes a loop run for ever (a text replacement
// that never moves on, a timer that is always due, a copy that never ends) fails the test
// within seconds, with its name, instead of waiting for the runner's time-out.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// Seconds a single test may run: BELVOSTA_TEST_TIME_LIMIT, or 30 (sanitizer builds are
// several times slower than the debug build; the slowest test needs about 2 s there).
int LimitSeconds() {
  const char* text = std::getenv("BELVOSTA_TEST_TIME_LIMIT");
  const int limit = text ? std::atoi(text) : 0;
  return limit > 0 ? limit : 30;
}

// Shared with the watching thread, which never ends: never destroyed.
struct Deadline {
  std::mutex mutex;
  std::condition_variable changed;
  std::string test;
  Clock::time_point at;
  bool running = false;
};

[[noreturn]] void Watch(Deadline& deadline, std::chrono::seconds limit) {
  std::unique_lock lock(deadline.mutex);
  for (;;) {
    if (!deadline.running) {
      deadline.changed.wait(lock);
    } else if (deadline.changed.wait_until(lock, deadline.at) == std::cv_status::timeout &&
               deadline.running && Clock::now() >= deadline.at) {
      std::fprintf(stderr, "\n%s has run for more than %d s: it does not end. FAILED\n",
                   deadline.test.c_str(), static_cast<int>(limit.count()));
      std::fflush(stderr);
      std::_Exit(3);
    }
  }
}

class Watchdog : public ::testing::EmptyTestEventListener {
 public:
  Watchdog() : limit_(LimitSeconds()), deadline_(*new Deadline) {
    std::thread(Watch, std::ref(deadline_), limit_).detach();
  }

  void OnTestStart(const ::testing::TestInfo& test) override {
    const std::lock_guard lock(deadline_.mutex);
    deadline_.test = std::string(test.test_suite_name()) + "." + test.name();
    deadline_.at = Clock::now() + limit_;
    deadline_.running = true;
    deadline_.changed.notify_one();
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    const std::lock_guard lock(deadline_.mutex);
    deadline_.running = false;
  }

 private:
  const std::chrono::seconds limit_;
  Deadline& deadline_;
};

const bool kInstalled = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new Watchdog);
  return true;
}();

}  // namespace
