// The command line's console on POSIX systems: a write says whether the text reached its
// stream whole. Each case runs in a child process, whose standard streams it may close or
// point elsewhere without disturbing the test program. (A full disk, a closed stream and
// a gone reader are tried on the real program in tests/cli/command_line.sh.)
// How long a stalled stream is waited for is told by the bound's own answers, never by a
// clock.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/console.h"
#include "platform/output_stall.h"

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

// Started without one of the standard streams: its text is lost, the other stream still
// works, and the next file opened does not take the closed stream's number (where the text
// would land in it).
TEST(PosixConsole, AClosedStreamLosesItsTextAndItsNumberIsNotGivenAway) {
  for (const int closed : {STDOUT_FILENO, STDERR_FILENO}) {
    SCOPED_TRACE(closed);
    EXPECT_EQ(InChild([closed] {
                const bool outOpen = closed != STDOUT_FILENO;
                dup2(open("/dev/null", O_WRONLY), outOpen ? STDOUT_FILENO : STDERR_FILENO);
                close(closed);
                auto console = platform::OpenConsole();
                int wrong = 0;  // a bit for each wrong answer
                if (console->WriteText("Antwort\n") != outOpen) wrong |= 1;
                if (console->WriteUtf8("{}\n") != outOpen) wrong |= 2;
                if (console->WriteError("Fehler\n") == outOpen) wrong |= 4;
                // Nothing to write is never lost, wherever it would have gone.
                if (!console->WriteText("") || !console->WriteError("")) wrong |= 8;
                if (open("/dev/null", O_RDONLY) == closed) wrong |= 16;
                return wrong;
              }),
              0);
  }
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

TEST(OutputStall, OneBoundForTheWholeRunSharedByBothStreams) {
  using platform::OutputStream;
  platform::StallBound bound(10000);
  EXPECT_EQ(bound.WaitLeft(OutputStream::Out, 5000), 10000u);   // the first wait starts it
  EXPECT_EQ(bound.WaitLeft(OutputStream::Out, 7000), 8000u);    // a later one gets the rest
  EXPECT_EQ(bound.WaitLeft(OutputStream::Error, 9000), 6000u);  // so does the other stream
  bound.GiveUp(OutputStream::Error);
  EXPECT_EQ(bound.WaitLeft(OutputStream::Error, 9000), 0u);  // given up: no wait at all
  EXPECT_EQ(bound.WaitLeft(OutputStream::Out, 9000), 6000u);
  EXPECT_EQ(bound.WaitLeft(OutputStream::Out, 15000), 0u);  // used up
}

// Both streams on one non-blocking pipe that is full, as "--check >P 2>&1" with nobody
// reading P: each write is lost, and a stream that stalled is not written to again, even
// once the pipe has room.
TEST(PosixConsole, AStreamThatStalledIsGivenUpForTheRestOfTheRun) {
  EXPECT_EQ(InChild([] {
              int ends[2];
              if (pipe(ends) != 0) return 64;
              for (int end : ends) fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
              const std::string chunk(4096, 'x');
              while (write(ends[1], chunk.data(), chunk.size()) > 0) {
              }
              dup2(ends[1], STDOUT_FILENO);
              dup2(ends[1], STDERR_FILENO);
              auto console = platform::OpenConsole(200);
              int wrong = 0;
              if (console->WriteText("Antwort\n")) wrong |= 1;
              if (console->WriteError("Fehler\n")) wrong |= 2;
              char drained[65536];
              while (read(ends[0], drained, sizeof drained) > 0) {
              }
              if (console->WriteUtf8("{}\n") || console->WriteError("Fehler\n")) wrong |= 4;
              if (read(ends[0], drained, sizeof drained) > 0) wrong |= 8;  // written after all
              if (!console->WriteText("")) wrong |= 16;  // nothing to write is never lost
              return wrong;
            }),
            0);
}

}  // namespace
