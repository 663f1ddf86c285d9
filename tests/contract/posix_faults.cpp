#include "contract/posix_faults.h"

#include <errno.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace contract {
namespace {

using platform::posix::PosixSystemCalls;
using platform::posix::systemCalls;

// The one set of faults in place (the table is one per process).
struct Active {
  std::optional<FaultScript> script;
  PosixSystemCalls real;
  std::string written;
};
Active active;

int ErrorOf(Fault fault) {
  switch (fault) {
    case Fault::Interrupted:
      return EINTR;
    case Fault::Denied:
      return EACCES;
    case Fault::NoDescriptors:
      return EMFILE;
    case Fault::SystemFull:
      return ENFILE;
    case Fault::NoMemory:
      return ENOMEM;
    case Fault::DeviceError:
      return EIO;
    case Fault::DiskFull:
      return ENOSPC;
    case Fault::Partial:
      break;
  }
  return EINVAL;
}

// A fault that fails the call sets errno; true then.
bool Fails(const std::optional<Fault>& fault) {
  if (!fault || *fault == Fault::Partial) return false;
  errno = ErrorOf(*fault);
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

}  // namespace

bool PosixFaults::Inject(std::span<const Injection> injections) {
  for (const Injection& injection : injections) {
    if (injection.call == Call::OpenFolder && injection.fault == Fault::Partial) return false;
  }
  if (!saved_) saved_ = std::make_unique<PosixSystemCalls>(systemCalls);
  active.script.emplace(injections);
  active.real = *saved_;
  active.written.clear();
  systemCalls.open = &Open;
  systemCalls.openat = &OpenAt;
  systemCalls.getdents64 = &List;
  systemCalls.write = &Write;
  return true;
}

std::string PosixFaults::Written() const {
  return active.written;
}

PosixFaults::~PosixFaults() {
  if (!saved_) return;
  systemCalls = *saved_;
  active.script.reset();
}

}  // namespace contract
