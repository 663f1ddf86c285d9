// The command line on POSIX systems: UTF-8 to the standard streams, and the operating
// system without a display.
#include <unistd.h>

#include <cerrno>

#include "platform/backend.h"
#include "platform/console.h"
#include "platform/native.h"
#include "platform/posix/system_backend.h"

namespace platform {
namespace {

// Writes everything, also when a pipe takes it in parts; gives up on an error (a closed
// pipe), as there is no one left to tell.
void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

class PosixConsole final : public Console {
 public:
  void WriteText(std::string_view utf8) override { WriteAll(STDOUT_FILENO, utf8); }
  void WriteUtf8(std::string_view utf8) override { WriteAll(STDOUT_FILENO, utf8); }
  void WriteError(std::string_view utf8) override { WriteAll(STDERR_FILENO, utf8); }
  std::string_view LineEnd() const override { return "\n"; }
  bool WindowsOptions() const override { return false; }
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

std::unique_ptr<Console> OpenConsole() {
  return std::make_unique<PosixConsole>();
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
