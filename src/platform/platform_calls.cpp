// The Windows-named operations of the platform headers: each forwards to the installed
// backend and answers with the operation's failure value when none is installed.
#include <algorithm>

#include "platform/backend.h"
#include "platform/cpu.h"
#include "platform/imagehlp.h"

namespace platform {

namespace {

Backend* installed = nullptr;

// The status of a failed shell call (E_FAIL).
constexpr long kShellFailure = static_cast<long>(0x80004005u);

// Copies text and its NUL into out when both fit; otherwise leaves out untouched.
bool CopyWithNul(std::string_view text, std::span<char> out) {
  if (text.size() >= out.size()) return false;
  std::copy(text.begin(), text.end(), out.begin());
  out[text.size()] = '\0';
  return true;
}

std::uint32_t CappedTo32Bits(std::uint64_t value) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, 0xFFFFFFFFu));
}

}  // namespace

void SetBackend(Backend* backend) {
  installed = backend;
}
Backend* GetBackend() {
  return installed;
}

// imagehlp

bool SearchTreeForFile(std::string_view rootPath, std::string_view inputPathName,
                       std::span<char> outputPathBuffer) {
  const std::string_view names[] = {inputPathName};
  std::string found[1];
  return SearchTreeForFiles(
             {.root = rootPath, .names = names, .bufferSize = outputPathBuffer.size()}, found) ==
             1 &&
         CopyWithNul(found[0], outputPathBuffer);
}

std::size_t SearchTreeForFiles(const TreeSearch& search, std::span<std::string> found) {
  for (std::string& path : found) path.clear();
  if (installed == nullptr || found.size() < search.names.size()) return 0;
  return installed->SearchTree(search, found.first(search.names.size()));
}

// shell32

long SHGetSpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList** list) {
  if (list != nullptr) *list = nullptr;
  if (installed == nullptr || list == nullptr) return kShellFailure;
  return installed->SpecialFolderLocation(owner, csidl, list);
}

int SHGetPathFromIDListA(const ItemIdList* list, std::span<char> path) {
  if (installed == nullptr || list == nullptr) return 0;
  return installed->PathFromIdList(list, path);
}

void ILFree(ItemIdList* list) {
  if (installed != nullptr && list != nullptr) installed->FreeIdList(list);
}

std::intptr_t ShellExecuteA(WindowHandle owner, std::string_view operation, std::string_view file,
                            const char* parameters, const char* directory, int showCmd) {
  constexpr std::intptr_t kOutOfResources = 0;
  if (installed == nullptr) return kOutOfResources;
  return installed->ShellOpen(owner, operation, file, parameters, directory, showCmd);
}

// kernel32

unsigned GetLogicalDriveStringsA(std::span<char> buffer) {
  return installed != nullptr ? installed->LogicalDriveStrings(buffer) : 0;
}

unsigned GetDriveTypeA(std::string_view rootPathName) {
  return installed != nullptr ? installed->DriveType(rootPathName) : kDriveUnknown;
}

unsigned GetTempPathA(std::span<char> buffer) {
  return installed != nullptr ? installed->TempPath(buffer) : 0;
}

int GetComputerNameA(std::span<char> buffer, unsigned long& size) {
  return installed != nullptr ? installed->ComputerName(buffer, size) : 0;
}

// The plain record may only be filled as a plain record: a larger size field on it would
// let the backend write past its end.
int GetVersionExA(OSVERSIONINFOA& info) {
  if (installed == nullptr || info.dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return 0;
  return installed->VersionEx(info);
}

int GetVersionExA(OSVERSIONINFOEXA& info) {
  if (installed == nullptr) return 0;
  if (info.dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) &&
      info.dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA)) {
    return 0;
  }
  return installed->VersionEx(info);
}

void GlobalMemoryStatus(MEMORYSTATUS& status) {
  status = MEMORYSTATUS{};
  MEMORYSTATUSEX wide;
  if (installed == nullptr || installed->MemoryStatusEx(wide) == 0) return;
  status.dwMemoryLoad = wide.dwMemoryLoad;
  status.dwTotalPhys = CappedTo32Bits(wide.ullTotalPhys);
  status.dwAvailPhys = CappedTo32Bits(wide.ullAvailPhys);
  status.dwTotalPageFile = CappedTo32Bits(wide.ullTotalPageFile);
  status.dwAvailPageFile = CappedTo32Bits(wide.ullAvailPageFile);
  status.dwTotalVirtual = CappedTo32Bits(wide.ullTotalVirtual);
  status.dwAvailVirtual = CappedTo32Bits(wide.ullAvailVirtual);
}

int GlobalMemoryStatusEx(MEMORYSTATUSEX& status) {
  return installed != nullptr ? installed->MemoryStatusEx(status) : 0;
}

int QueryPerformanceFrequency(std::int64_t& frequency) {
  return installed != nullptr ? installed->PerformanceFrequency(frequency) : 0;
}

int QueryPerformanceCounter(std::int64_t& count) {
  return installed != nullptr ? installed->PerformanceCounter(count) : 0;
}

std::uint64_t GetTickCount64() {
  return installed != nullptr ? installed->TickCount64() : 0;
}

double SecondsSinceMidnight() {
  return installed != nullptr ? installed->SecondsSinceMidnight() : 0.0;
}

std::string UserDecimalSeparator() {
  return installed != nullptr ? installed->DecimalSeparator() : std::string(".");
}

// advapi32

int GetUserNameA(std::span<char> buffer, unsigned long& size) {
  return installed != nullptr ? installed->UserName(buffer, size) : 0;
}

long RegOpenKeyA(HKEY key, std::string_view subKey, HKEY& result) {
  return installed != nullptr ? installed->OpenKey(key, subKey, result) : kErrorFileNotFound;
}

long RegEnumValueA(HKEY key, unsigned long index, std::span<char> valueName,
                   unsigned long& valueNameLength, std::span<char> data,
                   unsigned long& dataLength) {
  if (installed == nullptr) return kErrorNoMoreItems;
  return installed->EnumValue(key, index, valueName, valueNameLength, data, dataLength);
}

long RegCloseKey(HKEY key) {
  constexpr long kErrorInvalidHandle = 6;
  return installed != nullptr ? installed->CloseKey(key) : kErrorInvalidHandle;
}

// wsock32

int WSAStartup(std::uint16_t versionRequested, WSADATA& data) {
  constexpr int kNetworkNotReady = 10091;  // WSASYSNOTREADY
  return installed != nullptr ? installed->SocketsStartup(versionRequested, data)
                              : kNetworkNotReady;
}

int WSACleanup() {
  constexpr int kSocketError = -1;
  return installed != nullptr ? installed->SocketsCleanup() : kSocketError;
}

std::optional<HOSTENT> gethostbyname(std::string_view name) {
  if (installed == nullptr) return std::nullopt;
  return installed->HostByName(name);
}

// user32

WindowHandle GetDesktopWindow() {
  return installed != nullptr ? installed->DesktopWindow() : 0;
}

int GetWindowRect(WindowHandle window, RECT& rect) {
  return installed != nullptr ? installed->WindowRect(window, rect) : 0;
}

ScreenTwips GetScreenTwips() {
  return installed != nullptr ? installed->Screen() : ScreenTwips{};
}

// processor

std::uint64_t ReadTimeStampCounter() {
  return installed != nullptr ? installed->TimeStampCounter() : 0;
}

SingleProcessorScope::SingleProcessorScope() {
  if (installed == nullptr) return;
  if (std::optional<std::uint64_t> token = installed->PinToCurrentProcessor()) {
    saved_ = *token;
    pinned_ = true;
  }
}

SingleProcessorScope::~SingleProcessorScope() {
  if (pinned_ && installed != nullptr) installed->Unpin(saved_);
}

}  // namespace platform
