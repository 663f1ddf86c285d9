// The command line on POSIX systems: UTF-8 to the standard streams, and the operating
// system without a display.
#include <fcntl.h>
#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "platform/backend.h"
#include "platform/console.h"
#include "platform/output_stall.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/system_calls.h"
#include "platform/system_only.h"

namespace platform {
namespace {

using posix::systemCalls;

std::uint64_t SteadyMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
         static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
}

// Writes everything, also when a pipe takes it in parts or is non-blocking and full for a
// moment. False on an error (a full disk, a reader gone with SIGPIPE ignored), or when the
// stream takes nothing within what is left of the run's bound, or took nothing before.
bool WriteAll(int fd, OutputStream stream, std::string_view bytes, StallBound& bound) {
  if (bound.GivenUp(stream)) return bytes.empty();
  while (!bytes.empty()) {
    const ssize_t written = systemCalls.write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      // Interrupted waits go round again through the write, with what is left.
      const std::uint64_t wait = bound.WaitLeft(stream, SteadyMs());
      pollfd ready{.fd = fd, .events = POLLOUT, .revents = 0};
      const int woken = wait > 0 ? systemCalls.poll(&ready, 1, static_cast<int>(wait)) : 0;
      if (woken < 0 && errno == EINTR) continue;
      if (woken == 0) bound.GiveUp(stream);
      if (woken <= 0 || (ready.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return false;
      continue;
    }
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A standard stream the process was started without is filled with /dev/null, so that no
// folder the search opens takes its number and receives the output; what would have been
// written there counts as lost.
bool KeepStreamNumber(int fd) {
  if (systemCalls.fcntl(fd, F_GETFD) >= 0) return true;
  const int null = systemCalls.open("/dev/null", O_RDWR);
  if (null >= 0 && null != fd) {
    systemCalls.dup2(null, fd);
    systemCalls.close(null);
  }
  return false;
}

class PosixConsole final : public Console {
 public:
  explicit PosixConsole(std::uint64_t stallBoundMs) : bound_(stallBoundMs) {
    KeepStreamNumber(STDIN_FILENO);
    outOpen_ = KeepStreamNumber(STDOUT_FILENO);
    errorOpen_ = KeepStreamNumber(STDERR_FILENO);
  }
  bool WriteText(std::string_view utf8) override { return Write(OutputStream::Out, utf8); }
  bool WriteUtf8(std::string_view utf8) override { return Write(OutputStream::Out, utf8); }
  bool WriteError(std::string_view utf8) override { return Write(OutputStream::Error, utf8); }
  std::string_view LineEnd() const override { return "\n"; }
  bool WindowsOptions() const override { return false; }

 private:
  bool Write(OutputStream stream, std::string_view utf8) {
    const bool out = stream == OutputStream::Out;
    const bool open = out ? outOpen_ : errorOpen_;
    return open ? WriteAll(out ? STDOUT_FILENO : STDERR_FILENO, stream, utf8, bound_)
                : utf8.empty();
  }

  StallBound bound_;
  bool outOpen_ = true;
  bool errorOpen_ = true;
};

class SystemOnly final : public NativePlatform {
 public:
  SystemOnly() { SetBackend(&system_); }
  ~SystemOnly() override { SetBackend(nullptr); }
  SystemOnly(const SystemOnly&) = delete;
  SystemOnly& operator=(const SystemOnly&) = delete;

 private:
  posix::PosixBackend system_;
};

}  // namespace

std::unique_ptr<Console> OpenConsole(std::uint64_t stallBoundMs) {
  return std::make_unique<PosixConsole>(stallBoundMs);
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  return arguments;
}

std::unique_ptr<NativePlatform> InstallSystemOnly() {
  return std::make_unique<SystemOnly>();
}

}  // namespace platform
