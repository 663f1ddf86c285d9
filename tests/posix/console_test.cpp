// The command line's console on POSIX systems: a write says whether the text reached its
// stream whole. Each case runs in a child process, whose standard streams it may close or
// point elsewhere without disturbing the test program. (A full disk, a gone reader and a
// pipe that stays full are tried on the real program in tests/cli/command_line_trust.sh.)
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/console.h"

namespace {

// Runs body in a child process and returns its exit status (-1 when it did not exit).
// Given a pipe, the parent keeps only its reading end and reads what the child writes into
// `received` until the child's end closes.
int InChild(const std::function<int()>& body, const int* pipeEnds = nullptr,
            std::string* received = nullptr) {
  const pid_t child = fork();
  if (child == 0) _exit(body());
  if (pipeEnds != nullptr) {
    const int fromChild = pipeEnds[0];
    close(pipeEnds[1]);
    char chunk[65536];
    for (ssize_t got; (got = read(fromChild, chunk, sizeof chunk)) > 0;) {
      received->append(chunk, static_cast<std::size_t>(got));
    }
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Points a standard stream at /dev/null.
void ToNull(int stream) {
  const int null = open("/dev/null", O_WRONLY);
  dup2(null, stream);
  close(null);
}

// The answers of one console, a bit each where it is wrong: 0 when all are right.
int Wrong(bool expectOut, bool expectError, platform::Console& console) {
  int wrong = 0;
  if (console.WriteText("Antwort\n") != expectOut) wrong |= 1;
  if (console.WriteUtf8("{}\n") != expectOut) wrong |= 2;
  if (console.WriteError("Fehler\n") != expectError) wrong |= 4;
  // Nothing to write is never lost, wherever it would have gone.
  if (!console.WriteText("") || !console.WriteError("")) wrong |= 8;
  return wrong;
}

TEST(PosixConsole, AClosedStreamLosesItsTextAndItsNumberIsNotGivenAway) {
  // Started without standard output: the text is lost, the error stream still works, and
  // the next file opened does not take number 1 (where the answer would land in it).
  EXPECT_EQ(InChild([] {
              close(STDOUT_FILENO);
              ToNull(STDERR_FILENO);
              auto console = platform::OpenConsole();
              int wrong = Wrong(false, true, *console);
              const int next = open("/dev/null", O_RDONLY);
              if (next == STDOUT_FILENO) wrong |= 16;
              return wrong;
            }),
            0);
  // Started without standard error: the answer still arrives, the error line is lost.
  EXPECT_EQ(InChild([] {
              close(STDERR_FILENO);
              ToNull(STDOUT_FILENO);
              auto console = platform::OpenConsole();
              return Wrong(true, false, *console);
            }),
            0);
}

TEST(PosixConsole, ALongAnswerArrivesWholeThroughAPipe) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  // More than a pipe holds, so the write goes in parts while the parent reads.
  const std::string answer(1 << 20, 'x');
  std::string received;
  const int status = InChild(
      [&] {
        close(ends[0]);
        dup2(ends[1], STDOUT_FILENO);
        close(ends[1]);
        fcntl(STDOUT_FILENO, F_SETFL, fcntl(STDOUT_FILENO, F_GETFL) | O_NONBLOCK);
        auto console = platform::OpenConsole();
        return console->WriteUtf8(answer) ? 0 : 1;
      },
      ends, &received);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(received.size(), answer.size());
  close(ends[0]);
}

}  // namespace
