// The platform operations on the real Windows API. Every text crosses into Windows through
// the wide (W) functions and comes back as UTF-8; every result is copied into the caller's
// buffer only when it fits there whole, with its NUL.
#pragma once

#include "platform/backend.h"

namespace platform::win32 {

class Win32Backend final : public Backend {
 public:
  // imagehlp (tree_search_ops.cpp)
  std::size_t SearchTree(const TreeSearch& search, std::span<std::string> found) override;

  // shell32 (shell_ops.cpp)
  long SpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList** list) override;
  int PathFromIdList(const ItemIdList* list, std::span<char> path) override;
  void FreeIdList(ItemIdList* list) override;
  std::intptr_t ShellOpen(WindowHandle owner, std::string_view operation, std::string_view file,
                          const char* parameters, const char* directory, int showCmd) override;

  // kernel32 (kernel_ops.cpp)
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

  // advapi32 (registry_ops.cpp)
  int UserName(std::span<char> buffer, unsigned long& size) override;
  long OpenKey(HKEY key, std::string_view subKey, HKEY& result) override;
  long EnumValue(HKEY key, unsigned long index, std::span<char> name, unsigned long& nameLength,
                 std::span<char> data, unsigned long& dataLength) override;
  long CloseKey(HKEY key) override;

  // wsock32 (socket_ops.cpp)
  int SocketsStartup(std::uint16_t version, WSADATA& data) override;
  int SocketsCleanup() override;
  std::optional<HOSTENT> HostByName(std::string_view name) override;

  // user32 (screen_ops.cpp)
  WindowHandle DesktopWindow() override;
  int WindowRect(WindowHandle window, RECT& rect) override;
  ScreenTwips Screen() override;

  // processor (processor_ops.cpp)
  std::uint64_t TimeStampCounter() override;
  std::optional<std::uint64_t> PinToCurrentProcessor() override;
  void Unpin(std::uint64_t token) override;
};

}  // namespace platform::win32
