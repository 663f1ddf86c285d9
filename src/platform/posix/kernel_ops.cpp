// kernel32: drives, the temporary folder, the computer's name, the version, memory, the
// decimal separator, counters and clocks.
#include <langinfo.h>
#include <locale.h>
#include <time.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/sysinfo.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/buffer_rules.h"
#include "platform/posix/ascii_case.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/system_calls.h"

namespace platform::posix {

// Drives, temporary folder, names

unsigned PosixBackend::LogicalDriveStrings(std::span<char> buffer) {
  std::string all;
  for (const DriveRoot& drive : ListDrives(host_)) {
    all += drive.root;
    all += '\0';
  }
  if (all.empty()) return 0;
  return CopyOrSizeNeeded(all, buffer);  // adds the list's final NUL
}

unsigned PosixBackend::DriveType(std::string_view root) {
  for (const DriveRoot& drive : ListDrives(host_)) {
    if (EqualsIgnoringAsciiCase(drive.root, root)) return drive.type;
  }
  return kDriveNoRootDir;
}

unsigned PosixBackend::TempPath(std::span<char> buffer) {
  const char* variable = std::getenv("TMPDIR");
  std::string path = variable != nullptr && *variable != '\0' ? variable : "/tmp";
  if (path.back() != '/') path += '/';
  return CopyOrSizeNeeded(path, buffer);
}

int PosixBackend::ComputerName(std::span<char> buffer, unsigned long& size) {
  char name[256] = {};
  if (systemCalls.gethostname(name, sizeof name - 1) != 0) return 0;
  return CopyComputerName(name, buffer, size);
}

// Version and memory

int PosixBackend::VersionEx(OSVERSIONINFOA& info) {
  const KernelVersion kernel = ParseKernelRelease(host_.kernelRelease);
  info.dwMajorVersion = kernel.major;
  info.dwMinorVersion = kernel.minor;
  info.dwBuildNumber = kernel.build;
  info.dwPlatformId = kVerPlatformWin32Nt;
  std::fill(std::begin(info.szCSDVersion), std::end(info.szCSDVersion), '\0');
  if (info.dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXA)) {
    auto& extended = static_cast<OSVERSIONINFOEXA&>(info);
    extended.wServicePackMajor = 0;
    extended.wServicePackMinor = 0;
    extended.wSuiteMask = 0;
    extended.wProductType = 1;  // a workstation
  }
  return 1;
}

int PosixBackend::MemoryStatusEx(MEMORYSTATUSEX& status) {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  status.ullTotalPhys = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
  status.ullAvailPhys = status.ullTotalPhys;
#if defined(_SC_AVPHYS_PAGES)
  if (const long free = sysconf(_SC_AVPHYS_PAGES); free >= 0) {
    status.ullAvailPhys = static_cast<std::uint64_t>(free) * static_cast<std::uint64_t>(pageSize);
  }
#endif
  status.ullTotalPageFile = status.ullTotalPhys;
  status.ullAvailPageFile = status.ullAvailPhys;
#if defined(__linux__)
  struct sysinfo info {};
  if (sysinfo(&info) == 0) {
    status.ullTotalPageFile += std::uint64_t{info.totalswap} * info.mem_unit;
    status.ullAvailPageFile += std::uint64_t{info.freeswap} * info.mem_unit;
  }
#endif
  status.dwMemoryLoad = static_cast<std::uint32_t>(
      100 - std::min<std::uint64_t>(100, status.ullAvailPhys * 100 / status.ullTotalPhys));
  // The user part of a 64-bit address space.
  status.ullTotalVirtual = std::uint64_t{1} << 47;
  status.ullAvailVirtual = status.ullTotalVirtual;
  status.ullAvailExtendedVirtual = 0;
  return 1;
}

std::string PosixBackend::ErrorName(int error) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 32)
  if (const char* name = strerrorname_np(error)) return name;
#endif
  return "Fehler " + std::to_string(error);
}

std::string PosixBackend::DecimalSeparator() {
  // A locale object of its own, so that the process-wide locale stays untouched.
  locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (numeric == static_cast<locale_t>(0)) return ".";
  const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
  std::string separator = radix != nullptr && *radix != '\0' ? radix : ".";
  freelocale(numeric);
  return separator;
}

// Counters and clocks

std::int64_t PosixBackend::MonotonicNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

int PosixBackend::PerformanceFrequency(std::int64_t& frequency) {
  frequency = 1'000'000'000;
  return 1;
}

int PosixBackend::PerformanceCounter(std::int64_t& count) {
  count = MonotonicNanoseconds();
  return 1;
}

std::uint64_t PosixBackend::TickCount64() {
  return static_cast<std::uint64_t>(MonotonicNanoseconds() / 1'000'000);
}

double PosixBackend::SecondsSinceMidnight() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  if (localtime_r(&now.tv_sec, &local) == nullptr) return 0.0;
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
}

}  // namespace platform::posix
