// The scriptable operating system of the tests: every platform operation answers from the
// plain public members below, which a test sets before (or between) the steps it drives.
// Clocks and counters read the shared virtual clock; the tree search walks real temporary
// folders (support/temp_tree.h) with the real POSIX search, so the file checks run against the
// same search code as the program.
#pragma once

#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fake/virtual_clock.h"
#include "platform/backend.h"

namespace fake {

// Not installed by itself: the test calls platform::SetBackend(&system). The destructor
// uninstalls it when it is still the installed backend.
class FakeSystem : public platform::FailingBackend {
 public:
  explicit FakeSystem(VirtualClock& clock);
  ~FakeSystem() override;

  // --- Special folders (SHGetSpecialFolderLocation / SHGetPathFromIDListA / ILFree) ---
  // csidl -> path. A csidl that is absent makes SHGetSpecialFolderLocation fail; a csidl
  // mapped to std::nullopt exists but has no file-system path (as the network
  // neighbourhood), so SHGetPathFromIDListA gives 0.
  std::map<int, std::optional<std::string>> specialFolders;
  std::map<int, platform::PathPhrase> folderOrigins;  // what SpecialFolderOrigin says for one
  // Handed out and not yet released with ILFree; a list released twice counts below zero,
  // and a released list has no path.
  int idListsOutstanding = 0;

  // --- Tree search (SearchTreeForFile/s): the real POSIX search on real folders ---
  struct SearchCall {
    std::string root;
    std::string name;
  };
  std::vector<SearchCall> searches;  // every name searched for, in order
  int walks = 0;                     // walks of a tree, each for one or more names
  // Virtual time that passes each time a walk offers to process events (after every
  // folder it reads), so that a walk can take long in the tests' time.
  std::int64_t walkStepMs = 0;
  // Told by every walk after it ran, as a walk that had to stop would tell it.
  platform::SearchTrouble walkTrouble;

  // --- Drives (GetLogicalDriveStringsA / GetDriveTypeA) ---
  struct Drive {
    std::string root;  // "C:\"
    unsigned type = platform::kDriveFixed;
  };
  std::vector<Drive> drives;  // listed in this order; a root not listed has type 1

  // --- Temporary folder (GetTempPathA); nothing = the call fails ---
  std::optional<std::string> tempPath = std::string("C:\\TEMP\\");

  // --- Names; nothing = the call fails ---
  std::optional<std::string> computerName = std::string("TESTPC");
  std::optional<std::string> userName = std::string("tester");

  // --- Registry (RegOpenKeyA / RegEnumValueA / RegCloseKey), below HKEY_LOCAL_MACHINE ---
  struct RegistryKey {
    // (value name, text data) in enumeration order.
    std::vector<std::pair<std::string, std::string>> values;
    // An error code returned (nothing written) by the enumeration at that index.
    std::map<unsigned long, long> errorAtIndex;
    // When set, every enumeration of this key returns this code, at every index.
    std::optional<long> errorAlways;
  };
  // Key path -> key; paths compare without regard to case and to a trailing backslash.
  // A missing key makes RegOpenKeyA return 2 (file not found). A value whose name or data
  // does not fit the caller's buffers gives 234 (more data) with nothing written and the
  // lengths set to what would be needed, so callers must not read past their buffers.
  std::map<std::string, RegistryKey> registry;
  int keysOpen = 0;           // opened and not yet closed
  int valueEnumerations = 0;  // RegEnumValueA calls

  // --- Windows version (GetVersionExA, both record sizes) ---
  struct VersionRecord {
    unsigned long platformId = platform::kVerPlatformWin32Nt;
    unsigned long major = 5;
    unsigned long minor = 1;
    unsigned long build = 2600;
    std::string csd = "Service Pack 2";
    std::uint16_t suiteMask = 0;
  };
  VersionRecord version;
  bool plainVersionQuerySucceeds = true;  // the 148-byte record
  int versionQueries = 0;                 // calls of either kind

  // --- Memory (GlobalMemoryStatusEx; the narrow call caps each field at 0xFFFFFFFF) ---
  std::uint64_t totalPhysicalBytes = 512ull * 1024 * 1024;
  bool memoryQuerySucceeds = true;

  // --- Sockets (WSAStartup / gethostbyname / WSACleanup) ---
  // Host name (compared without regard to case) -> entry; absent or nothing = no entry.
  std::map<std::string, std::optional<platform::HOSTENT>> hosts;
  int socketCleanups = 0;

  // --- Screen (GetDesktopWindow / GetWindowRect / screen twips) ---
  static constexpr platform::WindowHandle kDesktopWindow = 0x10010;
  platform::RECT desktopRect{0, 0, 1024, 768};
  platform::ScreenTwips screen{1024 * 15.0, 768 * 15.0, 15, 15};

  // --- Regional settings ---
  std::string decimalSeparator = ",";

  // --- Shell open (ShellExecuteA) ---
  struct ShellOpenCall {
    platform::WindowHandle owner;
    std::string operation;
    std::string file;
    bool parametersNull;
    bool directoryNull;
    int showCmd;
  };
  std::vector<ShellOpenCall> shellOpens;

  // --- Counters and clocks, all driven by the virtual clock ---
  static constexpr std::int64_t kPerformanceFrequency = 10'000'000;
  bool performanceCounterWorks = true;
  // Each QueryPerformanceCounter call moves the virtual clock on by a millisecond, so that a
  // busy-wait on the counter ends.
  std::int64_t counterReads = 0;
  // After the read with this number (counterReads after it) the virtual clock jumps on by
  // the given milliseconds: the thread was preempted right after reading the counter.
  std::map<std::int64_t, std::int64_t> preemptedAfterRead;
  // The time-stamp counter reads tscHz * elapsed virtual seconds, unless readings are
  // queued here: then each read takes the next queued value (for zero or negative steps).
  std::uint64_t tscHz = 2'400'000'000;
  std::deque<std::uint64_t> queuedTscReadings;
  int tscReads = 0;

  // --- Processor pinning ---
  bool pinningPossible = true;
  int pinCount = 0;
  int unpinCount = 0;

  // The scripted operations; every other one fails (platform::FailingBackend).
  std::size_t SearchTree(const platform::TreeSearch& search, std::span<std::string> found) override;
  long SpecialFolderLocation(platform::WindowHandle owner, int csidl,
                             platform::ItemIdList** list) override;
  platform::PathPhrase FolderOrigin(int csidl) override;
  std::string ErrorName(int error) override;
  int PathFromIdList(const platform::ItemIdList* list, std::span<char> path) override;
  void FreeIdList(platform::ItemIdList* list) override;
  std::intptr_t ShellOpen(platform::WindowHandle owner, std::string_view operation,
                          std::string_view file, const char* parameters, const char* directory,
                          int showCmd) override;
  unsigned LogicalDriveStrings(std::span<char> buffer) override;
  unsigned DriveType(std::string_view root) override;
  unsigned TempPath(std::span<char> buffer) override;
  int ComputerName(std::span<char> buffer, unsigned long& size) override;
  int VersionEx(platform::OSVERSIONINFOA& info) override;
  int MemoryStatusEx(platform::MEMORYSTATUSEX& status) override;
  int PerformanceFrequency(std::int64_t& frequency) override;
  int PerformanceCounter(std::int64_t& count) override;
  std::uint64_t TickCount64() override;
  std::string DecimalSeparator() override;
  int UserName(std::span<char> buffer, unsigned long& size) override;
  long OpenKey(platform::HKEY key, std::string_view subKey, platform::HKEY& result) override;
  long EnumValue(platform::HKEY key, unsigned long index, std::span<char> name,
                 unsigned long& nameLength, std::span<char> data,
                 unsigned long& dataLength) override;
  long CloseKey(platform::HKEY key) override;
  int SocketsStartup(std::uint16_t version, platform::WSADATA& data) override;
  int SocketsCleanup() override;
  std::optional<platform::HOSTENT> HostByName(std::string_view name) override;
  platform::WindowHandle DesktopWindow() override;
  int WindowRect(platform::WindowHandle window, platform::RECT& rect) override;
  platform::ScreenTwips Screen() override;
  std::uint64_t TimeStampCounter() override;
  std::optional<std::uint64_t> PinToCurrentProcessor() override;
  void Unpin(std::uint64_t token) override;

 private:
  const RegistryKey* FindKey(std::string_view path) const;

  VirtualClock& clock_;
  // Each item list handed out: its path, or nothing once released (or for a folder without one).
  std::map<const platform::ItemIdList*, std::optional<std::string>> items_;
  std::uintptr_t nextItem_ = 0x2000;
  std::map<platform::HKEY, std::string> openKeys_;  // handle -> key path
  platform::HKEY nextKeyHandle_ = 0x1000;
};

}  // namespace fake
