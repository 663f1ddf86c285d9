// Every Windows call of the Win32 backend whose failure the backend answers, reached
// through one table of function pointers. The product uses the real calls; a test puts its
// own in a row (a failure at the Nth call, a short write) and restores the saved table
// afterwards. Each call site goes through the row, so what the test injects is exactly
// what the code would meet from the system.
#pragma once

#include "platform/win32/windows_api.h"

#include <winsock2.h>
#include <winternl.h>

// Not declared by every compiler's headers; ntdll has it on every Windows since NT.
extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE apc,
                                               PVOID apcContext, PIO_STATUS_BLOCK status,
                                               PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass,
                                               BOOLEAN singleEntry, PUNICODE_STRING fileName,
                                               BOOLEAN restartScan);

namespace platform::win32 {

struct Win32SystemCalls {
  // The tree search.
  decltype(&::CreateFileW) CreateFileW;
  decltype(&::NtOpenFile) NtOpenFile;
  decltype(&::NtQueryDirectoryFile) NtQueryDirectoryFile;
  decltype(&::GetFileInformationByHandle) GetFileInformationByHandle;
  decltype(&::CloseHandle) CloseHandle;
  // The console.
  decltype(&::WriteFile) WriteFile;
  decltype(&::WriteConsoleW) WriteConsoleW;
  decltype(&::GetConsoleMode) GetConsoleMode;
  // Names, the registry, the host, the machine.
  decltype(&::GetComputerNameW) GetComputerNameW;
  decltype(&::GetUserNameW) GetUserNameW;
  decltype(&::RegOpenKeyExW) RegOpenKeyExW;
  decltype(&::RegEnumValueW) RegEnumValueW;
  decltype(&::RegCloseKey) RegCloseKey;
  decltype(&::WSAStartup) WSAStartup;
  decltype(&::gethostbyname) gethostbyname;
  decltype(&::GetLogicalDriveStringsW) GetLogicalDriveStringsW;
  decltype(&::GetTempPathW) GetTempPathW;
  decltype(&::GetVersionExW) GetVersionExW;
  decltype(&::GlobalMemoryStatusEx) GlobalMemoryStatusEx;
};

// The table the backend calls through; the real calls unless a test has put others in.
// No static object's constructor uses the backend, so the table is filled before it is read.
extern Win32SystemCalls systemCalls;

// The real calls, to restore or to forward to.
Win32SystemCalls RealSystemCalls();

}  // namespace platform::win32
