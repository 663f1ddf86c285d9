#include "platform/win32/system_calls.h"

namespace platform::win32 {

Win32SystemCalls RealSystemCalls() {
  return Win32SystemCalls{
      .CreateFileW = &::CreateFileW,
      .NtOpenFile = &::NtOpenFile,
      .NtQueryDirectoryFile = &::NtQueryDirectoryFile,
      .GetFileInformationByHandle = &::GetFileInformationByHandle,
      .CloseHandle = &::CloseHandle,
      .WriteFile = &::WriteFile,
      .WriteConsoleW = &::WriteConsoleW,
      .GetConsoleMode = &::GetConsoleMode,
      .GetComputerNameW = &::GetComputerNameW,
      .GetUserNameW = &::GetUserNameW,
      .RegOpenKeyExW = &::RegOpenKeyExW,
      .RegEnumValueW = &::RegEnumValueW,
      .RegCloseKey = &::RegCloseKey,
      .WSAStartup = &::WSAStartup,
      .gethostbyname = &::gethostbyname,
      .GetLogicalDriveStringsW = &::GetLogicalDriveStringsW,
      .GetTempPathW = &::GetTempPathW,
      .GetVersionExW = &::GetVersionExW,
      .GlobalMemoryStatusEx = &::GlobalMemoryStatusEx,
  };
}

Win32SystemCalls systemCalls = RealSystemCalls();

}  // namespace platform::win32
