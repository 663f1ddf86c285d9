// Kernel services: drives, folders, names, version, memory, counters and clocks.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// Drive types as GetDriveTypeA reports them.
inline constexpr unsigned kDriveUnknown = 0;
inline constexpr unsigned kDriveNoRootDir = 1;
inline constexpr unsigned kDriveRemovable = 2;
inline constexpr unsigned kDriveFixed = 3;
inline constexpr unsigned kDriveRemote = 4;
inline constexpr unsigned kDriveCdRom = 5;
inline constexpr unsigned kDriveRamDisk = 6;

// Writes the drive roots ("C:\") each followed by a NUL, and one more NUL after the last.
// Returns the length written without the final NUL; when the buffer is too small it writes
// nothing and returns the size it needs, final NUL included. 0 on failure.
unsigned GetLogicalDriveStringsA(std::span<char> buffer);
unsigned GetDriveTypeA(std::string_view rootPathName);

// Writes the temporary folder with a trailing separator and a NUL; returns its length, or
// the size needed when the buffer is too small (nothing written), or 0 on failure.
unsigned GetTempPathA(std::span<char> buffer);

// size: in, the buffer's size; out, the name's length without NUL on success, the size
// needed on failure. Returns 1 when the buffer holds the name and a NUL, 0 otherwise.
int GetComputerNameA(std::span<char> buffer, unsigned long& size);

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

// Fills the record; dwOSVersionInfoSize says which of the two it is (its sizeof).
// Returns nonzero on success, 0 on failure.
int GetVersionExA(OSVERSIONINFOA& info);
int GetVersionExA(OSVERSIONINFOEXA& info);

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
// Nonzero on success.
int GlobalMemoryStatusEx(MEMORYSTATUSEX& status);

// The high-resolution performance counter; nonzero on success.
int QueryPerformanceFrequency(std::int64_t& frequency);
int QueryPerformanceCounter(std::int64_t& count);

// Milliseconds since the system started; never restarts at midnight.
std::uint64_t GetTickCount64();
// The time of day in seconds since midnight, with fractions.
double SecondsSinceMidnight();

// The decimal separator of the user's regional settings for numbers ("," or "." ...).
std::string UserDecimalSeparator();

}  // namespace platform
