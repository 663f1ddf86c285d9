// The Windows-named operations of the library headers: each forwards to the installed
// backend, or to FailingBackend when none is installed. Most come from the table in
// operations.h; the few that check their arguments or combine operations are written here.
#include <algorithm>

#include "platform/backend.h"
#include "platform/buffer_rules.h"
#include "platform/cpu.h"

namespace platform {

namespace {

Backend* installed = nullptr;

Backend& Installed() {
  static FailingBackend none;
  return installed != nullptr ? *installed : none;
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

#define BELVOSTA_FORWARD(result, windowsName, method, parameters, arguments, failure) \
  result windowsName parameters {                                                     \
    return Installed().method arguments;                                              \
  }
BELVOSTA_PLATFORM_OPERATIONS(BELVOSTA_FORWARD, BELVOSTA_NO_FUNCTION)
#undef BELVOSTA_FORWARD

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
  if (found.size() < search.names.size()) return 0;
  return Installed().SearchTree(search, found.first(search.names.size()));
}

// shell32: a null list pointer is never handed on, and a released list never again.

long SHGetSpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList** list) {
  if (list != nullptr) *list = nullptr;
  if (list == nullptr) return kShellFailure;
  return Installed().SpecialFolderLocation(owner, csidl, list);
}

int SHGetPathFromIDListA(const ItemIdList* list, std::span<char> path) {
  if (list == nullptr) return 0;
  return Installed().PathFromIdList(list, path);
}

void ILFree(ItemIdList* list) {
  if (list != nullptr) Installed().FreeIdList(list);
}

// kernel32

// The plain record may only be filled as a plain record: a larger size field on it would
// let the backend write past its end.
int GetVersionExA(OSVERSIONINFOA& info) {
  if (info.dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) return 0;
  return Installed().VersionEx(info);
}

int GetVersionExA(OSVERSIONINFOEXA& info) {
  if (info.dwOSVersionInfoSize != sizeof(OSVERSIONINFOA) &&
      info.dwOSVersionInfoSize != sizeof(OSVERSIONINFOEXA)) {
    return 0;
  }
  return Installed().VersionEx(info);
}

void GlobalMemoryStatus(MEMORYSTATUS& status) {
  status = MEMORYSTATUS{};
  MEMORYSTATUSEX wide;
  if (Installed().MemoryStatusEx(wide) == 0) return;
  status.dwMemoryLoad = wide.dwMemoryLoad;
  status.dwTotalPhys = CappedTo32Bits(wide.ullTotalPhys);
  status.dwAvailPhys = CappedTo32Bits(wide.ullAvailPhys);
  status.dwTotalPageFile = CappedTo32Bits(wide.ullTotalPageFile);
  status.dwAvailPageFile = CappedTo32Bits(wide.ullAvailPageFile);
  status.dwTotalVirtual = CappedTo32Bits(wide.ullTotalVirtual);
  status.dwAvailVirtual = CappedTo32Bits(wide.ullAvailVirtual);
}

// processor

SingleProcessorScope::SingleProcessorScope() {
  if (std::optional<std::uint64_t> token = Installed().PinToCurrentProcessor()) {
    saved_ = *token;
    pinned_ = true;
  }
}

SingleProcessorScope::~SingleProcessorScope() {
  if (pinned_) Installed().Unpin(saved_);
}

}  // namespace platform
