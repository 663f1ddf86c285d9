#include "platform/win32/tree_search.h"

#include <vector>

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUncPrefix = L"\\\\?\\UNC\\";

// What a folder listing tells of one entry.
struct Entry {
  std::wstring_view name;
  DWORD attributes;
};

// ---- Reading a folder through its handle (Windows Vista and later) ----
//
// GetFileInformationByHandleEx hands over a folder's entries in large batches and without
// the short 8.3 names, which Windows (and Wine) would otherwise work out for every entry.

// FileFullDirectoryInfo and its record, as Windows Vista's headers define them.
constexpr int kFullDirectoryInfo = 14;
struct FullDirectoryInfo {
  ULONG NextEntryOffset;
  ULONG FileIndex;
  LARGE_INTEGER CreationTime;
  LARGE_INTEGER LastAccessTime;
  LARGE_INTEGER LastWriteTime;
  LARGE_INTEGER ChangeTime;
  LARGE_INTEGER EndOfFile;
  LARGE_INTEGER AllocationSize;
  ULONG FileAttributes;
  ULONG FileNameLength;  // bytes, no NUL
  ULONG EaSize;
  WCHAR FileName[1];
};

using HandleInformation = BOOL(WINAPI*)(HANDLE, int, void*, DWORD);

HandleInformation HandleInformationFunction() {
  static const auto function = reinterpret_cast<HandleInformation>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFileInformationByHandleEx")));
  return function;
}

// Offers every entry to visit until it returns true; returns whether it did. A folder
// that cannot be opened has no entries.
template <typename Visit>
bool ReadByHandle(HandleInformation read, const std::wstring& folder, Visit& visit) {
  const HANDLE handle = CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  // One buffer for the whole walk; records are 8-byte aligned within it.
  static std::vector<ULONGLONG> buffer(64 * 1024 / sizeof(ULONGLONG));
  const DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(ULONGLONG));
  bool stopped = false;
  while (!stopped && read(handle, kFullDirectoryInfo, buffer.data(), bytes)) {
    const auto* base = reinterpret_cast<const BYTE*>(buffer.data());
    for (std::size_t offset = 0;;) {
      const std::size_t nameOffset = offsetof(FullDirectoryInfo, FileName);
      if (offset + nameOffset > bytes) break;  // no room for a record's header
      const auto* info = reinterpret_cast<const FullDirectoryInfo*>(base + offset);
      if (offset + nameOffset + info->FileNameLength > bytes) break;  // a malformed record
      const Entry entry{std::wstring_view(info->FileName, info->FileNameLength / sizeof(WCHAR)),
                        info->FileAttributes};
      if (visit(entry)) {
        stopped = true;
        break;
      }
      if (info->NextEntryOffset == 0) break;
      offset += info->NextEntryOffset;
      if (offset >= bytes) break;
    }
  }
  CloseHandle(handle);
  return stopped;
}

// ---- Reading a folder with FindFirstFileExW (every Windows version) ----

// Windows 7 and later enumerate faster when asked for names without short names and in
// larger batches; older versions reject both, and the walk falls back once for good.
// (The values of FindExInfoBasic and FIND_FIRST_EX_LARGE_FETCH, which XP headers lack.)
constexpr auto kInfoBasic = static_cast<FINDEX_INFO_LEVELS>(1);
constexpr DWORD kLargeFetch = 2;
bool g_fastFind = true;

HANDLE OpenFind(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
  if (g_fastFind) {
    const HANDLE find = FindFirstFileExW(pattern.c_str(), kInfoBasic, &data, FindExSearchNameMatch,
                                         nullptr, kLargeFetch);
    if (find != INVALID_HANDLE_VALUE || GetLastError() != ERROR_INVALID_PARAMETER) return find;
    g_fastFind = false;
  }
  return FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch,
                          nullptr, 0);
}

template <typename Visit>
bool ReadByFind(const std::wstring& folder, Visit& visit) {
  WIN32_FIND_DATAW data;
  const HANDLE find = OpenFind(folder + L'*', data);
  if (find == INVALID_HANDLE_VALUE) return false;
  bool stopped = false;
  do {
    stopped = visit(Entry{data.cFileName, data.dwFileAttributes});
  } while (!stopped && FindNextFileW(find, &data));
  FindClose(find);
  return stopped;
}

// ---- The walk ----

bool IsDotEntry(std::wstring_view name) {
  return name == L"." || name == L"..";
}

std::wstring UpperCase(std::wstring_view text) {
  std::wstring upper(text);
  if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

// Whether name equals upperWanted (already in upper case) when case is ignored. Most names
// differ early and are plain ASCII, so the system's case table is asked for other letters
// only.
bool EqualsIgnoringCase(std::wstring_view name, std::wstring_view upperWanted) {
  if (name.size() != upperWanted.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    wchar_t c = name[i];
    if (c >= L'a' && c <= L'z') {
      c = static_cast<wchar_t>(c - (L'a' - L'A'));
    } else if (c >= 0x80) {
      CharUpperBuffW(&c, 1);
    }
    if (c != upperWanted[i]) return false;
  }
  return true;
}

// The absolute, normalised extended-length path of root, or empty when it has none.
std::wstring ExtendedRoot(std::wstring_view root) {
  if (root.empty()) return {};
  const std::wstring input(root);
  if (input.find(L'\0') != std::wstring::npos) return {};
  if (input.starts_with(kExtendedPrefix)) return input;
  const DWORD needed = GetFullPathNameW(input.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(input.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return {};
  full.resize(length);
  return ToExtendedPath(full);
}

}  // namespace

std::wstring ToExtendedPath(std::wstring_view fullPath) {
  if (fullPath.starts_with(kExtendedPrefix)) return std::wstring(fullPath);
  if (fullPath.starts_with(L"\\\\")) {
    return std::wstring(kExtendedUncPrefix) + std::wstring(fullPath.substr(2));
  }
  return std::wstring(kExtendedPrefix) + std::wstring(fullPath);
}

std::wstring FromExtendedPath(std::wstring_view path) {
  if (path.starts_with(kExtendedUncPrefix)) {
    return L"\\\\" + std::wstring(path.substr(kExtendedUncPrefix.size()));
  }
  if (path.starts_with(kExtendedPrefix)) return std::wstring(path.substr(kExtendedPrefix.size()));
  return std::wstring(path);
}

bool FindFileInTree(std::wstring_view root, std::wstring_view name,
                    const std::function<bool(const std::wstring& path)>& accept) {
  if (name.empty()) return false;
  const std::wstring top = ExtendedRoot(root);
  if (top.empty()) return false;
  const std::wstring wanted = UpperCase(name);
  const HandleInformation byHandle = HandleInformationFunction();

  // Folders still to read, as full extended-length paths ending in a separator; a stack
  // keeps the walk depth-first without recursion, whatever the depth.
  std::vector<std::wstring> pending{top};
  std::wstring folder;
  const auto visit = [&](const Entry& entry) {
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Junctions and symbolic links are not followed: they may loop or leave the tree.
      if (!(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsDotEntry(entry.name)) {
        pending.push_back(folder + std::wstring(entry.name));
      }
      return false;
    }
    if (!EqualsIgnoringCase(entry.name, wanted)) return false;
    return accept(FromExtendedPath(folder + std::wstring(entry.name)));
  };
  while (!pending.empty()) {
    folder = std::move(pending.back());
    pending.pop_back();
    if (folder.back() != L'\\') folder += L'\\';
    // Unreadable or vanished folders yield nothing and are passed over.
    const bool found = byHandle ? ReadByHandle(byHandle, folder, visit) : ReadByFind(folder, visit);
    if (found) return true;
  }
  return false;
}

}  // namespace platform::win32
