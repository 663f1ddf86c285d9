// The contract suites against the POSIX backend on real folders and the real machine.
#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "contract/backend_under_contract.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/system_calls.h"
#include "support/temp_tree.h"

namespace contract {
namespace {

using platform::posix::systemCalls;

// The faults in place in the POSIX system call table (one per process).
struct Active {
  std::optional<FaultScript> script;  // none while the real calls are in place
  platform::posix::PosixSystemCalls real;
  std::string written;
};
Active active;

// The error of each fault, in the order of Fault; a partial call fails with none.
constexpr int kErrorOf[] = {EINTR, 0, EACCES, EMFILE, ENFILE, ENOMEM, EIO, ENOSPC};
static_assert(std::size(kErrorOf) == static_cast<std::size_t>(Fault::DiskFull) + 1);

// A fault that fails the call sets errno; true then.
bool Fails(const std::optional<Fault>& fault) {
  if (!fault || *fault == Fault::Partial) return false;
  errno = kErrorOf[static_cast<std::size_t>(*fault)];
  return true;
}

int Open(const char* path, int flags) {
  if (Fails(active.script->Next(Call::OpenFolder))) return -1;
  return active.real.open(path, flags);
}

int OpenAt(int folder, const char* path, int flags) {
  if (Fails(active.script->Next(Call::OpenFolder))) return -1;
  return active.real.openat(folder, path, flags);
}

// A partial listing reads into a buffer with room for a few entries only.
ssize_t List(int fd, void* buffer, std::size_t size) {
  const std::optional<Fault> fault = active.script->Next(Call::ListFolder);
  if (Fails(fault)) return -1;
  if (fault == Fault::Partial) size = std::min<std::size_t>(size, 1024);
  return active.real.getdents64(fd, buffer, size);
}

// Writes to the standard streams are kept; a partial one takes half (at least a byte).
ssize_t Write(int fd, const void* bytes, std::size_t size) {
  if (fd != STDOUT_FILENO && fd != STDERR_FILENO) return active.real.write(fd, bytes, size);
  const std::optional<Fault> fault = active.script->Next(Call::Write);
  if (Fails(fault)) return -1;
  if (fault == Fault::Partial && size > 1) size /= 2;
  active.written.append(static_cast<const char*>(bytes), size);
  return static_cast<ssize_t>(size);
}

// Real folders below the temporary folder, and the real machine's answers.
class RealPosix : public BackendUnderContract {
 public:
  platform::Backend& Backend() override { return backend_; }
  Properties Has() const override { return {.separator = '/', .retriesAfterAShortage = true}; }
  const std::string& Root() const override { return root_.Root(); }
  const std::string& Outside() const override { return outside_.Root(); }
  std::string AddFile(const std::string& base, std::string_view relative) override {
    return (base == outside_.Root() ? outside_ : root_).AddFile(relative);
  }
  std::string AddFolder(const std::string& base, std::string_view relative) override {
    return (base == outside_.Root() ? outside_ : root_).AddFolder(relative);
  }
  bool LinkToFolder(std::string_view relative, const std::string& target) override {
    return symlink(target.c_str(), (root_.Root() + "/" + std::string(relative)).c_str()) == 0;
  }
  bool SwapForLink(std::string_view relative, const std::string& target) override {
    const std::string folder = root_.Root() + "/" + std::string(relative);
    return rename(folder.c_str(), (folder + ".moved").c_str()) == 0 &&
           LinkToFolder(relative, target);
  }
  ~RealPosix() override { EndFaults(); }
  // Every fault exists on POSIX systems but a partial folder open.
  bool Inject(std::span<const Injection> injections) override {
    for (const Injection& injection : injections) {
      if (injection.call == Call::OpenFolder && injection.fault == Fault::Partial) return false;
    }
    EndFaults();
    active.script.emplace(injections);
    active.real = systemCalls;
    active.written.clear();
    systemCalls.open = &Open;
    systemCalls.openat = &OpenAt;
    systemCalls.getdents64 = &List;
    systemCalls.write = &Write;
    return true;
  }
  void EndFaults() override {
    if (active.script) systemCalls = active.real;
    active.script.reset();
  }
  std::string Written() const override { return active.written; }
  // The processor key, built from /proc/cpuinfo on x86 Linux.
  std::optional<std::string> KnownKey() override {
#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
    return "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
#else
    return std::nullopt;
#endif
  }

 private:
  test_support::TempTree root_;
  test_support::TempTree outside_;
  platform::posix::PosixBackend backend_;
};

std::unique_ptr<BackendUnderContract> MakeRealPosix() {
  return std::make_unique<RealPosix>();
}

}  // namespace

BELVOSTA_CONTRACT_BACKENDS(Posix, Named{"Posix", &MakeRealPosix});

}  // namespace contract
