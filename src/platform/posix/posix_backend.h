// The operating-system operations on Linux and other POSIX systems. Where Windows has
// something this system lacks, the answer comes from the mapping in windows_mapping.h.
// The screen operations answer as for a machine without a screen; the FLTK layer derives
// from this class to answer them from the real one.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/posix/windows_mapping.h"

namespace platform::posix {

class PosixBackend : public Backend {
 public:
  explicit PosixBackend(HostEnvironment host = HostEnvironment::FromProcess());
  ~PosixBackend() override;
  PosixBackend(const PosixBackend&) = delete;
  PosixBackend& operator=(const PosixBackend&) = delete;

  std::size_t SearchTree(const TreeSearch& search, std::span<std::string> found) override;

  long SpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList** list) override;
  int PathFromIdList(const ItemIdList* list, std::span<char> path) override;
  void FreeIdList(ItemIdList* list) override;
  std::intptr_t ShellOpen(WindowHandle owner, std::string_view operation, std::string_view file,
                          const char* parameters, const char* directory, int showCmd) override;

  unsigned LogicalDriveStrings(std::span<char> buffer) override;
  unsigned DriveType(std::string_view root) override;
  unsigned TempPath(std::span<char> buffer) override;
  int ComputerName(std::span<char> buffer, unsigned long& size) override;
  int VersionEx(OSVERSIONINFOA& info) override;
  int MemoryStatusEx(MEMORYSTATUSEX& status) override;
  int PerformanceFrequency(std::int64_t& frequency) override;
  int PerformanceCounter(std::int64_t& count) override;
  std::uint64_t TickCount64() override;
  double SecondsSinceMidnight() override;
  std::string DecimalSeparator() override;

  int UserName(std::span<char> buffer, unsigned long& size) override;
  long OpenKey(HKEY key, std::string_view subKey, HKEY& result) override;
  long EnumValue(HKEY key, unsigned long index, std::span<char> name, unsigned long& nameLength,
                 std::span<char> data, unsigned long& dataLength) override;
  long CloseKey(HKEY key) override;

  int SocketsStartup(std::uint16_t version, WSADATA& data) override;
  int SocketsCleanup() override;
  std::optional<HOSTENT> HostByName(std::string_view name) override;

  // No screen: no desktop window, no rectangle, a screen of zero size.
  WindowHandle DesktopWindow() override;
  int WindowRect(WindowHandle window, RECT& rect) override;
  ScreenTwips Screen() override;

  std::uint64_t TimeStampCounter() override;
  std::optional<std::uint64_t> PinToCurrentProcessor() override;
  void Unpin(std::uint64_t token) override;

 private:
  struct FolderItem {
    std::optional<std::string> path;
  };
  void ReapFinishedChildren();

  HostEnvironment host_;
  std::vector<std::unique_ptr<FolderItem>> folderItems_;  // handed out, not yet freed
  std::map<HKEY, std::vector<RegistryValue>> openKeys_;   // a snapshot per open key
  HKEY nextKey_ = 0x1000;
  std::vector<pid_t> children_;                               // opened programs not yet reaped
  std::map<std::uint64_t, std::vector<unsigned char>> pins_;  // token -> saved processor set
  std::uint64_t nextPin_ = 1;
};

}  // namespace platform::posix
