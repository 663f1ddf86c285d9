#include "platform/buffer_rules.h"
#include "platform/win32/later_windows.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/system_calls.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <string>
#include <vector>

namespace platform::win32 {
unsigned Win32Backend::LogicalDriveStrings(std::span<char> buffer) {
  std::vector<wchar_t> roots(128);
  DWORD length =
      systemCalls.GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
  if (length >= roots.size()) {
    roots.resize(length + 1);
    length = systemCalls.GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
  }
  if (length == 0 || length >= roots.size()) return 0;
  // Each root with its NUL, then the final NUL: converted root by root.
  std::string list;
  std::wstring_view rest(roots.data(), length);
  while (!rest.empty()) {
    const std::size_t end = rest.find(L'\0');
    const std::wstring_view root = rest.substr(0, end);
    if (root.empty()) break;
    list += Narrow(root);
    list += '\0';
    if (end == std::wstring_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return CopyOrSizeNeeded(list, buffer);
}

unsigned Win32Backend::DriveType(std::string_view root) {
  const std::wstring wide = Widen(root);
  return GetDriveTypeW(wide.c_str());
}

unsigned Win32Backend::TempPath(std::span<char> buffer) {
  std::vector<wchar_t> path(MAX_PATH + 1);
  DWORD length = systemCalls.GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  if (length >= path.size()) {
    path.resize(length + 1);
    length = systemCalls.GetTempPathW(static_cast<DWORD>(path.size()), path.data());
  }
  if (length == 0 || length >= path.size()) return 0;
  return CopyOrSizeNeeded(Narrow(std::wstring_view(path.data(), length)), buffer);
}

int Win32Backend::ComputerName(std::span<char> buffer, unsigned long& size) {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
  if (!systemCalls.GetComputerNameW(name, &length)) return 0;
  return CopyComputerName(Narrow(std::wstring_view(name, length)), buffer, size);
}

int Win32Backend::VersionEx(OSVERSIONINFOA& info) {
  // The record's size field tells which of the two records the caller passed.
  const bool extended = info.dwOSVersionInfoSize == 156;
  OSVERSIONINFOEXW wide{};
  wide.dwOSVersionInfoSize = extended ? sizeof(OSVERSIONINFOEXW) : sizeof(OSVERSIONINFOW);
  if (!systemCalls.GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&wide))) return 0;
  info.dwMajorVersion = wide.dwMajorVersion;
  info.dwMinorVersion = wide.dwMinorVersion;
  info.dwBuildNumber = wide.dwBuildNumber;
  info.dwPlatformId = wide.dwPlatformId;
  // The service pack text, cut at a whole character to the record's field.
  const std::string servicePack = Narrow(wide.szCSDVersion);
  CopyWithNul(PrefixThatFits(servicePack, sizeof(info.szCSDVersion) - 1), info.szCSDVersion);
  if (extended) {
    auto& ex = static_cast<OSVERSIONINFOEXA&>(info);
    ex.wServicePackMajor = wide.wServicePackMajor;
    ex.wServicePackMinor = wide.wServicePackMinor;
    ex.wSuiteMask = wide.wSuiteMask;
    ex.wProductType = wide.wProductType;
  }
  return 1;
}

int Win32Backend::MemoryStatusEx(MEMORYSTATUSEX& status) {
  ::MEMORYSTATUSEX wide{};
  wide.dwLength = sizeof(wide);
  if (!systemCalls.GlobalMemoryStatusEx(&wide)) return 0;
  status.dwMemoryLoad = wide.dwMemoryLoad;
  status.ullTotalPhys = wide.ullTotalPhys;
  status.ullAvailPhys = wide.ullAvailPhys;
  status.ullTotalPageFile = wide.ullTotalPageFile;
  status.ullAvailPageFile = wide.ullAvailPageFile;
  status.ullTotalVirtual = wide.ullTotalVirtual;
  status.ullAvailVirtual = wide.ullAvailVirtual;
  status.ullAvailExtendedVirtual = wide.ullAvailExtendedVirtual;
  return 1;
}

int Win32Backend::PerformanceFrequency(std::int64_t& frequency) {
  LARGE_INTEGER value{};
  if (!QueryPerformanceFrequency(&value)) return 0;
  frequency = value.QuadPart;
  return 1;
}

int Win32Backend::PerformanceCounter(std::int64_t& count) {
  LARGE_INTEGER value{};
  if (!QueryPerformanceCounter(&value)) return 0;
  count = value.QuadPart;
  return 1;
}

std::uint64_t Win32Backend::TickCount64() {
  return win32::TickCount64();
}

double Win32Backend::SecondsSinceMidnight() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

// A Windows error code in decimal, a native status (negative as a number) in hex.
std::string Win32Backend::ErrorName(int error) {
  if (error >= 0) return "Fehler " + std::to_string(error);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(error));
  return std::string("Status ") + text;
}

std::string Win32Backend::DecimalSeparator() {
  // At most three characters and the NUL, as Windows defines the setting.
  wchar_t separator[8] = {};
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
  if (length <= 1) return ".";
  return Narrow(std::wstring_view(separator, static_cast<std::size_t>(length - 1)));
}

}  // namespace platform::win32
