// Faults injected into the Win32 backend's table of Windows calls
// (platform/win32/system_calls.h), for the system faults contract suite.
#pragma once

#include <memory>
#include <span>
#include <string>

#include "contract/system_faults.h"
#include "platform/win32/system_calls.h"

namespace platform::win32 {

class Win32Faults {
 public:
  Win32Faults() = default;
  ~Win32Faults();
  Win32Faults(const Win32Faults&) = delete;
  Win32Faults& operator=(const Win32Faults&) = delete;

  // Puts the injections in place of the real calls until the object goes; what the console
  // writes from then on is kept (Written(), as UTF-8) instead of reaching a stream. Windows
  // has no interrupted call, and no partial open.
  bool Inject(std::span<const contract::Injection> injections);
  std::string Written() const;

 private:
  std::unique_ptr<Win32SystemCalls> saved_;
};

}  // namespace platform::win32
