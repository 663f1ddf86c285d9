// One object per platform implements every operation of the platform headers; the free
// functions there forward to the installed one. Method names differ from the Windows names
// on purpose, so that <windows.h> macros never rename them inside the Win32 backend.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/advapi32.h"
#include "platform/forms.h"
#include "platform/imagehlp.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"
#include "platform/user32.h"
#include "platform/wsock32.h"

namespace platform {

class Backend {
 public:
  virtual ~Backend() = default;

  // imagehlp
  // Every name of the search in one walk (see SearchTreeForFiles).
  virtual std::size_t SearchTree(const TreeSearch& search, std::span<std::string> found) = 0;

  // shell32
  virtual long SpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList** list) = 0;
  virtual int PathFromIdList(const ItemIdList* list, std::span<char> path) = 0;
  virtual void FreeIdList(ItemIdList* list) = 0;
  virtual std::intptr_t ShellOpen(WindowHandle owner, std::string_view operation,
                                  std::string_view file, const char* parameters,
                                  const char* directory, int showCmd) = 0;

  // kernel32
  virtual unsigned LogicalDriveStrings(std::span<char> buffer) = 0;
  virtual unsigned DriveType(std::string_view root) = 0;
  virtual unsigned TempPath(std::span<char> buffer) = 0;
  virtual int ComputerName(std::span<char> buffer, unsigned long& size) = 0;
  virtual int VersionEx(OSVERSIONINFOA& info) = 0;  // info may be an OSVERSIONINFOEXA
  virtual int MemoryStatusEx(MEMORYSTATUSEX& status) = 0;
  virtual int PerformanceFrequency(std::int64_t& frequency) = 0;
  virtual int PerformanceCounter(std::int64_t& count) = 0;
  virtual std::uint64_t TickCount64() = 0;
  virtual double SecondsSinceMidnight() = 0;
  virtual std::string DecimalSeparator() = 0;

  // advapi32
  virtual int UserName(std::span<char> buffer, unsigned long& size) = 0;
  virtual long OpenKey(HKEY key, std::string_view subKey, HKEY& result) = 0;
  virtual long EnumValue(HKEY key, unsigned long index, std::span<char> name,
                         unsigned long& nameLength, std::span<char> data,
                         unsigned long& dataLength) = 0;
  virtual long CloseKey(HKEY key) = 0;

  // wsock32
  virtual int SocketsStartup(std::uint16_t version, WSADATA& data) = 0;
  virtual int SocketsCleanup() = 0;
  virtual std::optional<HOSTENT> HostByName(std::string_view name) = 0;

  // user32
  virtual WindowHandle DesktopWindow() = 0;
  virtual int WindowRect(WindowHandle window, RECT& rect) = 0;
  virtual ScreenTwips Screen() = 0;

  // processor
  virtual std::uint64_t TimeStampCounter() = 0;
  // Pins the thread to its current processor; returns an opaque token for Unpin, or
  // nothing when pinning is not possible.
  virtual std::optional<std::uint64_t> PinToCurrentProcessor() = 0;
  virtual void Unpin(std::uint64_t token) = 0;
};

// Installs the backend; the caller keeps ownership.
void SetBackend(Backend* backend);
Backend* GetBackend();

}  // namespace platform
