#include "win32_faults.h"

#include <algorithm>
#include <optional>

#include "platform/win32/system_calls.h"
#include "platform/win32/utf8.h"

namespace platform::win32 {
namespace {

using contract::Call;
using contract::Fault;

// The one set of faults in place (the table is one per process), and the real calls.
struct Active {
  std::optional<contract::FaultScript> script;
  std::optional<Win32SystemCalls> real;
  std::string written;
};
Active active;

// The Windows error and the native status of each fault, in the order of contract::Fault.
// Windows has no interrupted call (Inject refuses it), and a partial one does not fail.
struct Codes {
  DWORD error;
  NTSTATUS status;
};
constexpr Codes kUnsuccessful{ERROR_INVALID_FUNCTION, static_cast<NTSTATUS>(0xC0000001L)};
constexpr Codes kCodes[] = {
    kUnsuccessful,                                                    // Interrupted
    kUnsuccessful,                                                    // Partial
    {ERROR_ACCESS_DENIED, static_cast<NTSTATUS>(0xC0000022L)},        // STATUS_ACCESS_DENIED
    {ERROR_TOO_MANY_OPEN_FILES, static_cast<NTSTATUS>(0xC000011FL)},  // ..._TOO_MANY_OPENED_FILES
    {ERROR_NO_SYSTEM_RESOURCES, static_cast<NTSTATUS>(0xC000009AL)},  // ..._INSUFFICIENT_RESOURCES
    {ERROR_NOT_ENOUGH_MEMORY, static_cast<NTSTATUS>(0xC0000017L)},    // STATUS_NO_MEMORY
    {ERROR_IO_DEVICE, static_cast<NTSTATUS>(0xC0000185L)},            // STATUS_IO_DEVICE_ERROR
    {ERROR_DISK_FULL, static_cast<NTSTATUS>(0xC000007FL)},            // STATUS_DISK_FULL
};

// The codes of a fault that fails the call; none for no fault or a partial one.
const Codes* Failure(const std::optional<Fault>& fault) {
  return fault && *fault != Fault::Partial ? &kCodes[static_cast<std::size_t>(*fault)] : nullptr;
}

HANDLE WINAPI OpenRoot(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                       DWORD disposition, DWORD flags, HANDLE model) {
  if (const Codes* codes = Failure(active.script->Next(Call::OpenFolder))) {
    SetLastError(codes->error);
    return INVALID_HANDLE_VALUE;
  }
  return active.real->CreateFileW(path, access, share, security, disposition, flags, model);
}

NTSTATUS NTAPI OpenBelow(PHANDLE handle, ACCESS_MASK access, POBJECT_ATTRIBUTES attributes,
                         PIO_STATUS_BLOCK status, ULONG share, ULONG options) {
  if (const Codes* codes = Failure(active.script->Next(Call::OpenFolder))) return codes->status;
  return active.real->NtOpenFile(handle, access, attributes, status, share, options);
}

// A partial listing gets a buffer with room for a few entries only.
NTSTATUS NTAPI List(HANDLE file, HANDLE event, PIO_APC_ROUTINE apc, PVOID context,
                    PIO_STATUS_BLOCK status, PVOID buffer, ULONG length,
                    FILE_INFORMATION_CLASS kind, BOOLEAN single, PUNICODE_STRING name,
                    BOOLEAN restart) {
  const std::optional<Fault> fault = active.script->Next(Call::ListFolder);
  if (const Codes* codes = Failure(fault)) return codes->status;
  if (fault == Fault::Partial) length = std::min<ULONG>(length, 1024);
  return active.real->NtQueryDirectoryFile(file, event, apc, context, status, buffer, length, kind,
                                           single, name, restart);
}

// Writes are kept; a partial one takes half (at least one unit).
template <typename Unit>
BOOL Take(const Unit* data, DWORD count, LPDWORD done) {
  const std::optional<Fault> fault = active.script->Next(Call::Write);
  if (const Codes* codes = Failure(fault)) {
    SetLastError(codes->error);
    return FALSE;
  }
  if (fault == Fault::Partial && count > 1) count /= 2;
  if constexpr (sizeof(Unit) == 1) {
    active.written.append(data, count);
  } else {
    active.written += Narrow(std::wstring_view(data, count));
  }
  if (done) *done = count;
  return TRUE;
}

BOOL WINAPI WriteBytes(HANDLE, LPCVOID bytes, DWORD count, LPDWORD done, LPOVERLAPPED) {
  return Take(static_cast<const char*>(bytes), count, done);
}

BOOL WINAPI WriteWide(HANDLE, const VOID* text, DWORD count, LPDWORD done, LPVOID) {
  return Take(static_cast<const wchar_t*>(text), count, done);
}

}  // namespace

void EndInjectedFaults() {
  if (active.real) systemCalls = *active.real;
  active.real.reset();
  active.script.reset();
  active.written.clear();
}

bool InjectFaults(std::span<const contract::Injection> injections) {
  EndInjectedFaults();
  for (const contract::Injection& injection : injections) {
    if (injection.fault == Fault::Interrupted) return false;
    if (injection.call == Call::OpenFolder && injection.fault == Fault::Partial) return false;
  }
  active.real = systemCalls;
  active.script.emplace(injections);
  systemCalls.CreateFileW = &OpenRoot;
  systemCalls.NtOpenFile = &OpenBelow;
  systemCalls.NtQueryDirectoryFile = &List;
  systemCalls.WriteFile = &WriteBytes;
  systemCalls.WriteConsoleW = &WriteWide;
  return true;
}

std::string InjectedWrites() {
  return active.written;
}

}  // namespace platform::win32
