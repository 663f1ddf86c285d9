// Kernel services: drives, folders, names, version, memory, counters and clocks.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/operations.h"

namespace platform {

// Drive types as GetDriveTypeA reports them.
inline constexpr unsigned kDriveUnknown = 0;
inline constexpr unsigned kDriveNoRootDir = 1;
inline constexpr unsigned kDriveRemovable = 2;
inline constexpr unsigned kDriveFixed = 3;
inline constexpr unsigned kDriveRemote = 4;
inline constexpr unsigned kDriveCdRom = 5;
inline constexpr unsigned kDriveRamDisk = 6;

inline constexpr unsigned long kVerPlatformWin32s = 0;
inline constexpr unsigned long kVerPlatformWin32Windows = 1;
inline constexpr unsigned long kVerPlatformWin32Nt = 2;
inline constexpr std::uint16_t kVerSuitePersonal = 0x0200;

struct OSVERSIONINFOA {
  unsigned long dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);  // 148 bytes on Windows
  unsigned long dwMajorVersion = 0;
  unsigned long dwMinorVersion = 0;
  unsigned long dwBuildNumber = 0;
  unsigned long dwPlatformId = 0;
  char szCSDVersion[128] = {};
};

struct OSVERSIONINFOEXA : OSVERSIONINFOA {
  OSVERSIONINFOEXA() { dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA); }  // 156 on Windows
  std::uint16_t wServicePackMajor = 0;
  std::uint16_t wServicePackMinor = 0;
  std::uint16_t wSuiteMask = 0;
  std::uint8_t wProductType = 0;
  std::uint8_t wReserved = 0;
};

// The narrow memory record: sizes are byte counts of the platform's pointer width, capped
// at 4 GB - 1 (as on 32-bit Windows). Prefer GlobalMemoryStatusEx.
struct MEMORYSTATUS {
  std::uint32_t dwLength = 32;
  std::uint32_t dwMemoryLoad = 0;
  std::uint32_t dwTotalPhys = 0;
  std::uint32_t dwAvailPhys = 0;
  std::uint32_t dwTotalPageFile = 0;
  std::uint32_t dwAvailPageFile = 0;
  std::uint32_t dwTotalVirtual = 0;
  std::uint32_t dwAvailVirtual = 0;
};
void GlobalMemoryStatus(MEMORYSTATUS& status);

struct MEMORYSTATUSEX {
  std::uint32_t dwLength = 64;
  std::uint32_t dwMemoryLoad = 0;
  std::uint64_t ullTotalPhys = 0;
  std::uint64_t ullAvailPhys = 0;
  std::uint64_t ullTotalPageFile = 0;
  std::uint64_t ullAvailPageFile = 0;
  std::uint64_t ullTotalVirtual = 0;
  std::uint64_t ullAvailVirtual = 0;
  std::uint64_t ullAvailExtendedVirtual = 0;
};

// The operations themselves, described in operations.h.
BELVOSTA_KERNEL32_OPERATIONS(BELVOSTA_DECLARE_FUNCTION, BELVOSTA_NO_FUNCTION)
// Either record; a plain record must say it is one (its size field).
int GetVersionExA(OSVERSIONINFOA& info);
int GetVersionExA(OSVERSIONINFOEXA& info);

}  // namespace platform
