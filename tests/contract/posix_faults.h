// Faults injected into the POSIX backend's system call table (platform/posix/system_calls.h),
// for the POSIX backend and the fake, whose tree search and console are the POSIX ones.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "contract/system_faults.h"
#include "platform/posix/system_calls.h"

namespace contract {

class PosixFaults {
 public:
  PosixFaults() = default;
  ~PosixFaults();
  PosixFaults(const PosixFaults&) = delete;
  PosixFaults& operator=(const PosixFaults&) = delete;

  // Puts the injections in place of the real calls until the object goes; what is written to
  // the standard streams from then on is kept (Written()) instead of reaching them. Every
  // fault exists on POSIX systems but a partial folder open.
  bool Inject(std::span<const Injection> injections);
  std::string Written() const;

 private:
  std::unique_ptr<platform::posix::PosixSystemCalls> saved_;
};

}  // namespace contract
