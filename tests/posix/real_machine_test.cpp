// What the POSIX backend must answer on the machine the tests run on.
#include <gtest/gtest.h>
#include <locale.h>
#include <pwd.h>
#include <sched.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/posix/system_backend.h"
#include "support/temp_tree.h"

namespace {

using namespace platform;
using platform::posix::PosixBackend;

// Sets an environment variable for one test, and gives it back its value, or its absence,
// when the test ends.
struct ScopedVariable {
  explicit ScopedVariable(const char* variable) : name(variable) {
    if (const char* value = std::getenv(name)) saved = value;
  }
  ~ScopedVariable() { Set(saved ? saved->c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  // Sets the variable, or removes it for nullptr.
  void Set(const char* value) const { value ? setenv(name, value, 1) : unsetenv(name); }
  const char* name;
  std::optional<std::string> saved;
};

TEST(RealMachine, NamesAndTheTemporaryFolderAreTheSystemsOwn) {
  PosixBackend backend;
  char host[256] = {};
  ASSERT_EQ(gethostname(host, sizeof host - 1), 0);
  char name[256];
  unsigned long size = sizeof name;
  ASSERT_EQ(backend.ComputerName(name, size), 1);
  EXPECT_STREQ(name, host);
  EXPECT_EQ(size, std::strlen(host));

  const passwd* user = getpwuid(geteuid());
  ASSERT_NE(user, nullptr);
  size = sizeof name;
  ASSERT_EQ(backend.UserName(name, size), 1);
  EXPECT_STREQ(name, user->pw_name);
  EXPECT_EQ(size, std::strlen(user->pw_name) + 1);  // the NUL counts

  // TMPDIR names the temporary folder, with one separator at its end however it was given;
  // without it (or empty), /tmp.
  ScopedVariable tmpdir("TMPDIR");
  const auto tempPath = [&](const char* value) {
    tmpdir.Set(value);
    char path[512];
    const unsigned length = backend.TempPath(path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string("?");
  };
  EXPECT_EQ(tempPath("/var/tmp"), "/var/tmp/");
  EXPECT_EQ(tempPath("/var/tmp/"), "/var/tmp/");
  EXPECT_EQ(tempPath(""), "/tmp/");
  EXPECT_EQ(tempPath(nullptr), "/tmp/");
}

// The counter counts in the units its frequency states: across a sleep that passes a whole
// second (so that the seconds and their fraction both count), about that long at least and
// no longer than the steady clock saw around it (a percent apart, for clocks that are slewed
// differently).
TEST(RealMachine, TheCounterCountsSecondsAsItsFrequencySays) {
  PosixBackend backend;
  std::int64_t frequency = 0, first = 0, last = 0;
  ASSERT_NE(backend.PerformanceFrequency(frequency), 0);
  const auto start = std::chrono::steady_clock::now();
  backend.PerformanceCounter(first);
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  backend.PerformanceCounter(last);
  const std::chrono::duration<double> around = std::chrono::steady_clock::now() - start;
  const double counted = static_cast<double>(last - first) / static_cast<double>(frequency);
  EXPECT_GE(counted, 1.09);
  EXPECT_LE(counted, around.count() * 1.01);
}

#if defined(__linux__)
TEST(RealMachine, PinningKeepsOneProcessorUntilUnpinned) {
  PosixBackend backend;
  cpu_set_t before;
  ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
  const std::optional<std::uint64_t> token = backend.PinToCurrentProcessor();
  ASSERT_TRUE(token.has_value());
  cpu_set_t pinned;
  ASSERT_EQ(sched_getaffinity(0, sizeof pinned, &pinned), 0);
  EXPECT_EQ(CPU_COUNT(&pinned), 1);
  backend.Unpin(*token);
  cpu_set_t after;
  ASSERT_EQ(sched_getaffinity(0, sizeof after, &after), 0);
  EXPECT_TRUE(CPU_EQUAL(&before, &after));
}
#endif

TEST(RealMachine, DecimalSeparatorFollowsTheNumericLocaleAndLeavesTheProcessAlone) {
  PosixBackend backend;
  ScopedVariable locale("LC_ALL");
  locale.Set("C");
  EXPECT_EQ(backend.DecimalSeparator(), ".");
  locale.Set("de_DE.UTF-8");
  if (locale_t german = newlocale(LC_NUMERIC_MASK, "de_DE.UTF-8", static_cast<locale_t>(0))) {
    freelocale(german);
    EXPECT_EQ(backend.DecimalSeparator(), ",");
  }
  locale.Set("no_SUCH.locale");
  EXPECT_EQ(backend.DecimalSeparator(), ".");
  EXPECT_EQ(std::string(localeconv()->decimal_point), ".");  // the C library's stays "C"
}

// The opener gets the address as one argument, whatever characters it holds: a stand-in
// opener on PATH writes down the arguments it received.
TEST(RealMachine, ShellOpenPassesTheFileAsOneArgumentWithoutAShell) {
  test_support::TempTree tree;
  const std::string log = tree.Root() + "/arguments";
  const std::string opener = tree.Root() + "/xdg-open";
  std::ofstream(opener) << "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"" << log << ".tmp\"\nmv \""
                        << log << ".tmp\" \"" << log << "\"\n";
  ASSERT_EQ(chmod(opener.c_str(), 0755), 0);
  ScopedVariable path("PATH");
  path.Set((tree.Root() + ":" + path.saved.value_or("")).c_str());

  PosixBackend backend;
  const std::string file = tree.Root() + "/a b; touch " + tree.Root() + "/pwned $(id)";
  const std::intptr_t result = backend.ShellOpen(0, "Open", file, nullptr, nullptr, 1);
  EXPECT_GT(result, 32);
  EXPECT_LE(backend.ShellOpen(0, "Open", "", nullptr, nullptr, 1), 32);
  EXPECT_LE(backend.ShellOpen(0, "print", file, nullptr, nullptr, 1), 32);

  std::string received;
  for (int i = 0; i < 500 && received.empty(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(log);
    std::getline(in, received, '\0');
  }
  EXPECT_EQ(received, "1|" + file + "|");
  EXPECT_FALSE(std::filesystem::exists(tree.Root() + "/pwned"));
}

}  // namespace
