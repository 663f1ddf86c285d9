// The system faults the contract suites inject, named once for every backend: which kind of
// call fails, at which call, how often and how. Each backend maps them onto its own calls
// and codes (docs/system-faults.md has the table).
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace contract {

// The kinds of call a fault is injected into.
enum class Call {
  OpenFolder,  // the root and each folder below it (POSIX open/openat, Win32
               // CreateFileW/NtOpenFile)
  ListFolder,  // one read of a folder's entries (getdents64, NtQueryDirectoryFile)
  Write,       // one write to a standard stream (write, WriteFile/WriteConsoleW)
};
constexpr std::size_t kCallKinds = 3;

enum class Fault {
  Interrupted,    // EINTR; Windows has no such answer
  Partial,        // the call does part of its work (fewer bytes or entries)
  Denied,         // EACCES, STATUS_ACCESS_DENIED, ERROR_ACCESS_DENIED
  NoDescriptors,  // EMFILE, STATUS_TOO_MANY_OPENED_FILES, ERROR_TOO_MANY_OPEN_FILES
  SystemFull,     // ENFILE, STATUS_INSUFFICIENT_RESOURCES, ERROR_NO_SYSTEM_RESOURCES
  NoMemory,       // ENOMEM, STATUS_NO_MEMORY, ERROR_NOT_ENOUGH_MEMORY
  DeviceError,    // EIO, STATUS_IO_DEVICE_ERROR, ERROR_IO_DEVICE
  DiskFull,       // ENOSPC, ERROR_DISK_FULL
};

// The nth call of a kind (counted from 1 once injected) and the times - 1 calls after it.
struct Injection {
  Call call;
  int nth;
  Fault fault;
  int times = 1;
};

// Counts the calls of each kind and says which fault, if any, the current one meets.
class FaultScript {
 public:
  explicit FaultScript(std::span<const Injection> injections)
      : injections_(injections.begin(), injections.end()) {}

  std::optional<Fault> Next(Call call) {
    const int number = ++counts_[static_cast<std::size_t>(call)];
    for (const Injection& injection : injections_) {
      if (injection.call == call && number >= injection.nth &&
          number < injection.nth + injection.times) {
        return injection.fault;
      }
    }
    return std::nullopt;
  }

 private:
  std::vector<Injection> injections_;
  std::array<int, kCallKinds> counts_{};
};

}  // namespace contract
