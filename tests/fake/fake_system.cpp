#include "fake/fake_system.h"

#include <algorithm>

#include "platform/buffer_rules.h"
#include "platform/posix/ascii_case.h"
#include "platform/posix/tree_search.h"

namespace fake {

using platform::CopyComputerName;
using platform::CopyOrSizeNeeded;
using platform::CopyRegistryText;
using platform::CopyUserName;
using platform::CopyWithNul;
using platform::posix::EqualsIgnoringAsciiCase;

namespace {

std::string NormalisedKeyPath(std::string_view path) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  std::string result(path);
  for (char& c : result) c = platform::posix::LowerAscii(c);
  return result;
}

// Counts of a counter running at `frequency` after `ms` milliseconds, without overflow for
// any realistic frequency.
std::int64_t CountsAfter(std::int64_t ms, std::int64_t frequency) {
  return ms / 1000 * frequency + (ms % 1000) * frequency / 1000;
}

void FillVersion(const FakeSystem::VersionRecord& version, platform::OSVERSIONINFOA& info) {
  info.dwMajorVersion = version.major;
  info.dwMinorVersion = version.minor;
  info.dwBuildNumber = version.build;
  info.dwPlatformId = version.platformId;
  std::fill(std::begin(info.szCSDVersion), std::end(info.szCSDVersion), '\0');
  std::string_view csd = version.csd;
  csd = csd.substr(0, sizeof(info.szCSDVersion) - 1);
  std::copy(csd.begin(), csd.end(), info.szCSDVersion);
}

}  // namespace

FakeSystem::FakeSystem(VirtualClock& clock) : clock_(clock) {}

FakeSystem::~FakeSystem() {
  if (platform::GetBackend() == this) platform::SetBackend(nullptr);
}

std::size_t FakeSystem::SearchTree(const platform::TreeSearch& search,
                                   std::span<std::string> found) {
  ++walks;
  for (std::string_view name : search.names)
    searches.push_back({std::string(search.root), std::string(name)});
  platform::TreeSearch timed = search;
  timed.whileSearching = [this, &search] {
    clock_.nowMs += walkStepMs;
    if (search.whileSearching) search.whileSearching();
  };
  platform::posix::WalkCounts counts;
  const std::size_t count = platform::posix::SearchTree(timed, found, counts);
  if (walkTrouble.problem != platform::SearchProblem::None) {
    if (search.trouble != nullptr) *search.trouble = walkTrouble;
    platform::TellUnfinishedSearches(search, found, walkTrouble, [&search](std::size_t i) {
      return !platform::IsBlank(search.names[i]);
    });
  }
  return count;
}

long FakeSystem::SpecialFolderLocation(platform::WindowHandle, int csidl,
                                       platform::ItemIdList** list) {
  using platform::kShellFailure;
  if (list == nullptr) return kShellFailure;
  *list = nullptr;
  auto found = specialFolders.find(csidl);
  if (found == specialFolders.end()) return kShellFailure;
  *list = reinterpret_cast<platform::ItemIdList*>(nextItem_++);
  items_[*list] = found->second;
  ++idListsOutstanding;
  return 0;
}

platform::PathPhrase FakeSystem::FolderOrigin(int csidl) {
  const auto found = folderOrigins.find(csidl);
  return found == folderOrigins.end() ? platform::PathPhrase() : found->second;
}

std::string FakeSystem::ErrorName(int error) {
  return "errno " + std::to_string(error);
}

int FakeSystem::PathFromIdList(const platform::ItemIdList* list, std::span<char> path) {
  const auto item = items_.find(list);
  return item != items_.end() && item->second && CopyWithNul(*item->second, path) ? 1 : 0;
}

void FakeSystem::FreeIdList(platform::ItemIdList* list) {
  items_.erase(list);
  --idListsOutstanding;
}

std::intptr_t FakeSystem::ShellOpen(platform::WindowHandle owner, std::string_view operation,
                                    std::string_view file, const char* parameters,
                                    const char* directory, int showCmd) {
  shellOpens.push_back({owner, std::string(operation), std::string(file), parameters == nullptr,
                        directory == nullptr, showCmd});
  return 42;  // above 32: opened
}

unsigned FakeSystem::LogicalDriveStrings(std::span<char> buffer) {
  if (drives.empty()) return 0;
  std::string all;
  for (const Drive& drive : drives) {
    all += drive.root;
    all += '\0';
  }
  // all now ends with the last root's NUL; the list's own final NUL comes with the copy.
  return CopyOrSizeNeeded(all, buffer);
}

unsigned FakeSystem::DriveType(std::string_view root) {
  for (const Drive& drive : drives) {
    if (EqualsIgnoringAsciiCase(drive.root, root)) return drive.type;
  }
  return platform::kDriveNoRootDir;
}

unsigned FakeSystem::TempPath(std::span<char> buffer) {
  return tempPath ? CopyOrSizeNeeded(*tempPath, buffer) : 0;
}

int FakeSystem::ComputerName(std::span<char> buffer, unsigned long& size) {
  return computerName ? CopyComputerName(*computerName, buffer, size) : 0;
}

int FakeSystem::UserName(std::span<char> buffer, unsigned long& size) {
  return userName ? CopyUserName(*userName, buffer, size) : 0;
}

int FakeSystem::VersionEx(platform::OSVERSIONINFOA& info) {
  ++versionQueries;
  if (info.dwOSVersionInfoSize == sizeof(platform::OSVERSIONINFOA)) {
    if (!plainVersionQuerySucceeds) return 0;
    FillVersion(version, info);
    return 1;
  }
  if (info.dwOSVersionInfoSize == sizeof(platform::OSVERSIONINFOEXA)) {
    auto& extended = static_cast<platform::OSVERSIONINFOEXA&>(info);
    FillVersion(version, extended);
    extended.wSuiteMask = version.suiteMask;
    return 1;
  }
  return 0;
}

int FakeSystem::MemoryStatusEx(platform::MEMORYSTATUSEX& status) {
  if (!memoryQuerySucceeds) return 0;
  status.ullTotalPhys = totalPhysicalBytes;
  status.ullAvailPhys = totalPhysicalBytes / 2;
  status.ullTotalVirtual = 0x7FFE0000ull;
  return 1;
}

int FakeSystem::PerformanceFrequency(std::int64_t& frequency) {
  if (!performanceCounterWorks) return 0;
  frequency = kPerformanceFrequency;
  return 1;
}

int FakeSystem::PerformanceCounter(std::int64_t& count) {
  if (!performanceCounterWorks) return 0;
  ++counterReads;
  ++clock_.nowMs;
  count = CountsAfter(std::max<std::int64_t>(clock_.nowMs, 0), kPerformanceFrequency);
  if (auto stall = preemptedAfterRead.find(counterReads); stall != preemptedAfterRead.end()) {
    clock_.nowMs += stall->second;
  }
  return 1;
}

std::uint64_t FakeSystem::TickCount64() {
  return static_cast<std::uint64_t>(std::max<std::int64_t>(clock_.nowMs, 0));
}

std::string FakeSystem::DecimalSeparator() {
  return decimalSeparator;
}

const FakeSystem::RegistryKey* FakeSystem::FindKey(std::string_view path) const {
  const std::string wanted = NormalisedKeyPath(path);
  for (const auto& [keyPath, key] : registry) {
    if (NormalisedKeyPath(keyPath) == wanted) return &key;
  }
  return nullptr;
}

long FakeSystem::OpenKey(platform::HKEY key, std::string_view subKey, platform::HKEY& result) {
  std::string path;
  if (key != platform::kHkeyLocalMachine) {
    auto parent = openKeys_.find(key);
    if (parent == openKeys_.end()) return platform::kErrorInvalidHandle;
    path = parent->second + "\\";
  }
  path += subKey;
  if (FindKey(path) == nullptr) return platform::kErrorFileNotFound;
  result = nextKeyHandle_++;
  openKeys_[result] = path;
  ++keysOpen;
  return platform::kErrorSuccess;
}

long FakeSystem::EnumValue(platform::HKEY key, unsigned long index, std::span<char> name,
                           unsigned long& nameLength, std::span<char> data,
                           unsigned long& dataLength) {
  ++valueEnumerations;
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return platform::kErrorInvalidHandle;
  const RegistryKey* found = FindKey(open->second);
  if (found == nullptr) return 1018;  // the key was deleted while open
  if (found->errorAlways) return *found->errorAlways;
  if (auto injected = found->errorAtIndex.find(index); injected != found->errorAtIndex.end()) {
    return injected->second;
  }
  if (index >= found->values.size()) return platform::kErrorNoMoreItems;

  const auto& [valueName, valueData] = found->values[index];
  return CopyRegistryText(valueName, valueData, name, nameLength, data, dataLength);
}

long FakeSystem::CloseKey(platform::HKEY key) {
  if (key == platform::kHkeyLocalMachine) return platform::kErrorSuccess;
  if (openKeys_.erase(key) == 0) return platform::kErrorInvalidHandle;
  --keysOpen;
  return platform::kErrorSuccess;
}

int FakeSystem::SocketsStartup(std::uint16_t, platform::WSADATA&) {
  return 0;
}

int FakeSystem::SocketsCleanup() {
  ++socketCleanups;
  return 0;
}

std::optional<platform::HOSTENT> FakeSystem::HostByName(std::string_view name) {
  for (const auto& [hostName, entry] : hosts) {
    if (EqualsIgnoringAsciiCase(hostName, name)) return entry;
  }
  return std::nullopt;
}

platform::WindowHandle FakeSystem::DesktopWindow() {
  return kDesktopWindow;
}

int FakeSystem::WindowRect(platform::WindowHandle window, platform::RECT& rect) {
  if (window != kDesktopWindow) return 0;
  rect = desktopRect;
  return 1;
}

platform::ScreenTwips FakeSystem::Screen() {
  return screen;
}

std::uint64_t FakeSystem::TimeStampCounter() {
  ++tscReads;
  if (!queuedTscReadings.empty()) {
    std::uint64_t reading = queuedTscReadings.front();
    queuedTscReadings.pop_front();
    return reading;
  }
  const auto ms = static_cast<unsigned __int128>(std::max<std::int64_t>(clock_.nowMs, 0));
  return static_cast<std::uint64_t>(ms * tscHz / 1000);
}

std::optional<std::uint64_t> FakeSystem::PinToCurrentProcessor() {
  if (!pinningPossible) return std::nullopt;
  ++pinCount;
  return static_cast<std::uint64_t>(pinCount);
}

void FakeSystem::Unpin(std::uint64_t) {
  ++unpinCount;
}

}  // namespace fake
