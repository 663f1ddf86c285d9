#include "platform/posix/posix_backend.h"

#include <langinfo.h>
#include <locale.h>
#include <netdb.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/sysinfo.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/posix/text_buffers.h"
#include "platform/posix/tree_search.h"

namespace platform::posix {

PosixBackend::PosixBackend(HostEnvironment host) : host_(std::move(host)) {}

PosixBackend::~PosixBackend() {
  ReapFinishedChildren();
}

std::size_t PosixBackend::SearchTree(const TreeSearch& search, std::span<std::string> found) {
  return posix::SearchTree(search, found);
}

// Special folders

long PosixBackend::SpecialFolderLocation(WindowHandle, int csidl, ItemIdList** list) {
  if (list == nullptr) return kShellFailure;
  *list = nullptr;
  SpecialFolder folder = ResolveSpecialFolder(host_, csidl);
  if (!folder.known) return kShellFailure;
  folderItems_.push_back(std::make_unique<FolderItem>(FolderItem{std::move(folder.path)}));
  *list = reinterpret_cast<ItemIdList*>(folderItems_.back().get());
  return 0;
}

// Item lists are only ever read through the table of those handed out, so a stale or
// foreign pointer is refused instead of being read.
int PosixBackend::PathFromIdList(const ItemIdList* list, std::span<char> path) {
  for (const auto& item : folderItems_) {
    if (reinterpret_cast<const ItemIdList*>(item.get()) != list) continue;
    return item->path && CopyWithNul(*item->path, path) ? 1 : 0;
  }
  return 0;
}

std::string PosixBackend::FolderOrigin(int csidl) {
  return PrefixFolderOrigin(host_, csidl);
}

void PosixBackend::FreeIdList(ItemIdList* list) {
  std::erase_if(folderItems_, [list](const std::unique_ptr<FolderItem>& item) {
    return reinterpret_cast<ItemIdList*>(item.get()) == list;
  });
}

// Drives, temporary folder, names

unsigned PosixBackend::LogicalDriveStrings(std::span<char> buffer) {
  std::string all;
  for (const DriveRoot& drive : ListDrives(host_)) {
    all += drive.root;
    all += '\0';
  }
  if (all.empty()) return 0;
  return CopyOrSizeNeeded(all, buffer);  // adds the list's final NUL
}

unsigned PosixBackend::DriveType(std::string_view root) {
  for (const DriveRoot& drive : ListDrives(host_)) {
    if (EqualsIgnoringAsciiCase(drive.root, root)) return drive.type;
  }
  return kDriveNoRootDir;
}

unsigned PosixBackend::TempPath(std::span<char> buffer) {
  const char* variable = std::getenv("TMPDIR");
  std::string path = variable != nullptr && *variable != '\0' ? variable : "/tmp";
  if (path.back() != '/') path += '/';
  return CopyOrSizeNeeded(path, buffer);
}

int PosixBackend::ComputerName(std::span<char> buffer, unsigned long& size) {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return 0;
  return CopyComputerName(name, buffer, size);
}

int PosixBackend::UserName(std::span<char> buffer, unsigned long& size) {
  std::vector<char> scratch(1024);
  passwd entry{};
  passwd* result = nullptr;
  int error = 0;
  while ((error = getpwuid_r(geteuid(), &entry, scratch.data(), scratch.size(), &result)) ==
             ERANGE &&
         scratch.size() < (1u << 20)) {
    scratch.resize(scratch.size() * 2);
  }
  if (error != 0 || result == nullptr || result->pw_name == nullptr) return 0;
  return CopyUserName(result->pw_name, buffer, size);
}

// Version and memory

int PosixBackend::VersionEx(OSVERSIONINFOA& info) {
  const KernelVersion kernel = ParseKernelRelease(host_.kernelRelease);
  info.dwMajorVersion = kernel.major;
  info.dwMinorVersion = kernel.minor;
  info.dwBuildNumber = kernel.build;
  info.dwPlatformId = kVerPlatformWin32Nt;
  std::fill(std::begin(info.szCSDVersion), std::end(info.szCSDVersion), '\0');
  if (info.dwOSVersionInfoSize == sizeof(OSVERSIONINFOEXA)) {
    auto& extended = static_cast<OSVERSIONINFOEXA&>(info);
    extended.wServicePackMajor = 0;
    extended.wServicePackMinor = 0;
    extended.wSuiteMask = 0;
    extended.wProductType = 1;  // a workstation
  }
  return 1;
}

int PosixBackend::MemoryStatusEx(MEMORYSTATUSEX& status) {
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGESIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  status.ullTotalPhys = static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
  status.ullAvailPhys = status.ullTotalPhys;
#if defined(_SC_AVPHYS_PAGES)
  if (const long free = sysconf(_SC_AVPHYS_PAGES); free >= 0) {
    status.ullAvailPhys = static_cast<std::uint64_t>(free) * static_cast<std::uint64_t>(pageSize);
  }
#endif
  status.ullTotalPageFile = status.ullTotalPhys;
  status.ullAvailPageFile = status.ullAvailPhys;
#if defined(__linux__)
  struct sysinfo info {};
  if (sysinfo(&info) == 0) {
    status.ullTotalPageFile += std::uint64_t{info.totalswap} * info.mem_unit;
    status.ullAvailPageFile += std::uint64_t{info.freeswap} * info.mem_unit;
  }
#endif
  status.dwMemoryLoad = static_cast<std::uint32_t>(
      100 - std::min<std::uint64_t>(100, status.ullAvailPhys * 100 / status.ullTotalPhys));
  // The user part of a 64-bit address space.
  status.ullTotalVirtual = std::uint64_t{1} << 47;
  status.ullAvailVirtual = status.ullTotalVirtual;
  status.ullAvailExtendedVirtual = 0;
  return 1;
}

std::string PosixBackend::ErrorName(int error) {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 32)
  if (const char* name = strerrorname_np(error)) return name;
#endif
  return "Fehler " + std::to_string(error);
}

std::string PosixBackend::DecimalSeparator() {
  // A locale object of its own, so that the process-wide locale stays untouched.
  locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
  if (numeric == static_cast<locale_t>(0)) return ".";
  const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
  std::string separator = radix != nullptr && *radix != '\0' ? radix : ".";
  freelocale(numeric);
  return separator;
}

// Registry

long PosixBackend::OpenKey(HKEY key, std::string_view subKey, HKEY& result) {
  if (key != kHkeyLocalMachine) return kErrorInvalidHandle;
  std::optional<std::vector<RegistryValue>> values = ReadRegistryKey(host_, subKey);
  if (!values) return kErrorFileNotFound;
  result = nextKey_++;
  openKeys_[result] = std::move(*values);
  return kErrorSuccess;
}

long PosixBackend::EnumValue(HKEY key, unsigned long index, std::span<char> name,
                             unsigned long& nameLength, std::span<char> data,
                             unsigned long& dataLength) {
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return kErrorInvalidHandle;
  if (index >= open->second.size()) return kErrorNoMoreItems;
  const RegistryValue& value = open->second[index];
  return CopyRegistryValue(value.name, value.data, name, nameLength, data, dataLength);
}

long PosixBackend::CloseKey(HKEY key) {
  if (key == kHkeyLocalMachine) return kErrorSuccess;
  return openKeys_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

// Sockets

int PosixBackend::SocketsStartup(std::uint16_t version, WSADATA& data) {
  data.wVersion = std::min<std::uint16_t>(version, 0x0202);
  data.wHighVersion = 0x0202;
  return 0;
}

int PosixBackend::SocketsCleanup() {
  return 0;
}

std::optional<HOSTENT> PosixBackend::HostByName(std::string_view name) {
  const std::string host(name);
  if (host.empty() || host.find('\0') != std::string::npos) return std::nullopt;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;  // one result per address, not one per socket type
  hints.ai_flags = AI_CANONNAME;
  addrinfo* results = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &results) != 0 || results == nullptr) {
    return std::nullopt;
  }
  HOSTENT entry;
  entry.h_name = results->ai_canonname != nullptr ? results->ai_canonname : host;
  for (const addrinfo* it = results; it != nullptr; it = it->ai_next) {
    if (it->ai_family != AF_INET || it->ai_addrlen < sizeof(sockaddr_in)) continue;
    const auto* address = reinterpret_cast<const sockaddr_in*>(it->ai_addr);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&address->sin_addr.s_addr);
    std::vector<std::uint8_t> octets(bytes, bytes + 4);
    if (std::find(entry.h_addr_list.begin(), entry.h_addr_list.end(), octets) ==
        entry.h_addr_list.end()) {
      entry.h_addr_list.push_back(std::move(octets));
    }
  }
  freeaddrinfo(results);
  if (entry.h_addr_list.empty()) return std::nullopt;
  return entry;
}

// Screen

WindowHandle PosixBackend::DesktopWindow() {
  return 0;
}

int PosixBackend::WindowRect(WindowHandle, RECT&) {
  return 0;
}

ScreenTwips PosixBackend::Screen() {
  return ScreenTwips{0, 0, 15, 15};
}

}  // namespace platform::posix
