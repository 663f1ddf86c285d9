// Faults injected into the Win32 backend's table of Windows calls
// (platform/win32/system_calls.h), for the system faults contract suite.
#pragma once

#include <span>
#include <string>

#include "contract/system_faults.h"

namespace platform::win32 {

// Puts the injections in place of the real calls, after ending any injected before; what
// the console writes from then on is kept (InjectedWrites(), as UTF-8) instead of reaching
// a stream. False, and nothing injected, for a fault Windows does not have: no interrupted
// call, and no partial open.
bool InjectFaults(std::span<const contract::Injection> injections);
// Brings the real calls back.
void EndInjectedFaults();
std::string InjectedWrites();

}  // namespace platform::win32
