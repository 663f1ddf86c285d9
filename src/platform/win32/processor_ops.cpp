#include "platform/win32/windows_api.h"

#include <intrin.h>

#include "platform/win32/later_windows.h"
#include "platform/win32/system_backend.h"

namespace platform::win32 {

std::uint64_t Win32Backend::TimeStampCounter() {
  return __rdtsc();
}

std::optional<std::uint64_t> Win32Backend::PinToCurrentProcessor() {
  DWORD_PTR processMask = 0;
  DWORD_PTR systemMask = 0;
  if (!GetProcessAffinityMask(GetCurrentProcess(), &processMask, &systemMask) || !processMask) {
    return std::nullopt;
  }
  // The processor the thread is on, when Windows tells it and the process may use it;
  // otherwise the first processor the process may use.
  DWORD_PTR mask = processMask & (~processMask + 1);
  const std::optional<unsigned> current = CurrentProcessorNumber();
  if (current && *current < sizeof(DWORD_PTR) * 8) {
    const DWORD_PTR bit = DWORD_PTR{1} << *current;
    if (processMask & bit) mask = bit;
  }
  const DWORD_PTR previous = SetThreadAffinityMask(GetCurrentThread(), mask);
  if (!previous) return std::nullopt;
  return static_cast<std::uint64_t>(previous);
}

void Win32Backend::Unpin(std::uint64_t token) {
  SetThreadAffinityMask(GetCurrentThread(), static_cast<DWORD_PTR>(token));
}

}  // namespace platform::win32
