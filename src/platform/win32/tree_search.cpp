// The walk reads each folder completely, checks its files on the way and remembers its
// subfolders by name on an explicit stack; then it goes into the last one remembered, so
// the walk is depth-first without recursion. Each folder is opened through the native
// open call relative to its parent's open handle, without following a reparse point, so
// no path is resolved twice and a folder swapped for a junction or link is never entered.
// The folders of the current path stay open. So the work grows with the number of entries
// and the memory with the number of pending folders (a name each), whatever the depth;
// the full path is put together only for a match. Windows XP has every call used here.
#include "platform/win32/tree_search.h"

#include <winternl.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "platform/win32/system_calls.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUncPrefix = L"\\\\?\\UNC\\";

// No entry name is longer on any Windows file system.
constexpr std::size_t kLongestEntryName = 255;

// FileDirectoryInformation's record: no short 8.3 names, which Windows (and Wine) would
// otherwise work out for every entry.
struct DirectoryInfo {
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
  WCHAR FileName[1];
};

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

// The native answers that say nothing about a folder but about the process or the machine.
constexpr NTSTATUS kStatusNoMoreFiles = static_cast<NTSTATUS>(0x80000006L);
constexpr NTSTATUS kResourceStatuses[] = {
    static_cast<NTSTATUS>(0xC0000017L),  // STATUS_NO_MEMORY
    static_cast<NTSTATUS>(0xC000009AL),  // STATUS_INSUFFICIENT_RESOURCES
    static_cast<NTSTATUS>(0xC000011FL),  // STATUS_TOO_MANY_OPENED_FILES
    static_cast<NTSTATUS>(0xC0000185L),  // STATUS_IO_DEVICE_ERROR
};

bool IsResourceStatus(NTSTATUS status) {
  return std::find(std::begin(kResourceStatuses), std::end(kResourceStatuses), status) !=
         std::end(kResourceStatuses);
}

SearchProblem RootProblem(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_NOT_READY:
      return SearchProblem::RootMissing;
    case ERROR_DIRECTORY:
      return SearchProblem::RootNotFolder;
    case ERROR_FILENAME_EXCED_RANGE:
      return SearchProblem::PathTooLong;
    case ERROR_TOO_MANY_OPEN_FILES:
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
    case ERROR_IO_DEVICE:
      return SearchProblem::OutOfResources;
    default:
      return SearchProblem::RootUnreadable;
  }
}

// Opens the folder `name` below the open folder `parent`; a reparse point is opened as
// itself, never followed. Nothing (null) when it cannot be opened; status gets the answer.
HANDLE OpenBelow(HANDLE parent, std::wstring_view name, NTSTATUS& result) {
  UNICODE_STRING text;
  text.Buffer = const_cast<PWSTR>(name.data());
  text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(WCHAR));
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, parent, nullptr);
  IO_STATUS_BLOCK status;
  HANDLE folder = nullptr;
  result = systemCalls.NtOpenFile(&folder, FILE_LIST_DIRECTORY | SYNCHRONIZE, &attributes, &status,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT |
                                      FILE_OPEN_REPARSE_POINT | FILE_OPEN_FOR_BACKUP_INTENT);
  return result >= 0 ? folder : nullptr;
}

// Opens the root folder as the caller named it (a junction given as the root is followed).
HANDLE OpenRoot(const std::wstring& path) {
  const HANDLE folder =
      systemCalls.CreateFileW(path.c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  return folder == INVALID_HANDLE_VALUE ? nullptr : folder;
}

bool IsFolderHandle(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION info;
  return systemCalls.GetFileInformationByHandle(handle, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class Win32TreeWalk {
 public:
  Win32TreeWalk(std::span<const std::wstring> names, const FileAccept& accept,
                const std::function<void()>& whileSearching, SearchTrouble* trouble)
      : accept_(accept), whileSearching_(whileSearching), trouble_(trouble) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i].empty() || names[i].size() > kLongestEntryName) continue;
      wanted_.push_back(Wanted{UpperCase(names[i]), i, false});
      lengths_[names[i].size()] = true;
    }
  }
  ~Win32TreeWalk() {
    for (const Level& level : path_) systemCalls.CloseHandle(level.handle);
  }
  Win32TreeWalk(const Win32TreeWalk&) = delete;
  Win32TreeWalk& operator=(const Win32TreeWalk&) = delete;

  std::size_t Run(std::wstring top) {
    if (wanted_.empty()) return 0;
    const HANDLE root = OpenRoot(top);
    if (!root) {
      const DWORD error = GetLastError();
      Fail(RootProblem(error), error);
      return 0;
    }
    // The root is opened with backup semantics, which opens a file just as well.
    if (!IsFolderHandle(root)) {
      systemCalls.CloseHandle(root);
      Fail(SearchProblem::RootNotFolder, ERROR_DIRECTORY);
      return 0;
    }
    top_ = std::move(top);
    if (top_.back() != L'\\') top_ += L'\\';
    path_.push_back(Level{root, 0, 0});
    NTSTATUS status = 0;
    bool done = ReadFolder(status);
    if (!done && status < 0 && status != kStatusNoMoreFiles) {
      Fail(IsResourceStatus(status) ? SearchProblem::OutOfResources : SearchProblem::RootUnreadable,
           static_cast<DWORD>(status));
      return found_;
    }
    while (!done && !failed_ && !stack_.empty()) {
      Entry& entry = stack_.back();
      if (entry.opened) {  // its subfolders are done
        systemCalls.CloseHandle(path_.back().handle);
        path_.pop_back();
        names_.resize(entry.nameStart);
        stack_.pop_back();
        continue;
      }
      const HANDLE folder =
          OpenBelow(path_.back().handle,
                    std::wstring_view(names_).substr(entry.nameStart, entry.nameLength), status);
      if (!folder && IsResourceStatus(status)) {
        Fail(SearchProblem::OutOfResources, static_cast<DWORD>(status));
        break;
      }
      if (!folder) {  // unreadable or vanished: skip it
        names_.resize(entry.nameStart);
        stack_.pop_back();
        continue;
      }
      entry.opened = true;
      path_.push_back(Level{folder, entry.nameStart, entry.nameLength});
      done = ReadFolder(status);
      if (!done && IsResourceStatus(status)) {
        Fail(SearchProblem::OutOfResources, static_cast<DWORD>(status));
      }
    }
    return found_;
  }

 private:
  struct Wanted {
    std::wstring upper;
    std::size_t index;
    bool found;
  };
  struct Entry {  // a folder still to read, or one being read (opened)
    std::size_t nameStart;
    std::size_t nameLength;
    bool opened;
  };
  struct Level {  // one folder of the current path, the root first
    HANDLE handle;
    std::size_t nameStart;
    std::size_t nameLength;
  };

  void Fail(SearchProblem problem, DWORD error) {
    failed_ = true;
    if (trouble_ != nullptr) *trouble_ = SearchTrouble{problem, static_cast<int>(error)};
  }

  // Reads the deepest folder of the current path; true when every name has been found.
  // result gets the last answer of the listing call.
  bool ReadFolder(NTSTATUS& result) {
    const HANDLE folder = path_.back().handle;
    const ULONG bytes = static_cast<ULONG>(listing_.size() * sizeof(ULONGLONG));
    for (;;) {
      IO_STATUS_BLOCK status;
      result = systemCalls.NtQueryDirectoryFile(folder, nullptr, nullptr, nullptr, &status,
                                                listing_.data(), bytes, FileDirectoryInformation,
                                                FALSE, nullptr, FALSE);
      if (result < 0 || result == STATUS_PENDING) return false;  // the end, or unreadable
      const std::size_t filled = std::min<std::size_t>(status.Information, bytes);
      const auto* base = reinterpret_cast<const BYTE*>(listing_.data());
      for (std::size_t offset = 0;;) {
        constexpr std::size_t kNameOffset = offsetof(DirectoryInfo, FileName);
        if (offset + kNameOffset > filled) break;  // no room for a record's header
        const auto* info = reinterpret_cast<const DirectoryInfo*>(base + offset);
        if (offset + kNameOffset + info->FileNameLength > filled) break;  // a malformed record
        const std::wstring_view name(info->FileName, info->FileNameLength / sizeof(WCHAR));
        if (name == L"." && (info->FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
          return false;  // a folder swapped for a junction or link after it was listed
        }
        if (Visit(name, info->FileAttributes)) return true;
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
      }
      if (whileSearching_) whileSearching_();
    }
  }

  // Checks one entry of the folder being read; true when it was the last name wanted.
  bool Visit(std::wstring_view name, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // Junctions and symbolic links are not followed: they may loop or leave the tree.
      if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsDotEntry(name)) {
        stack_.push_back(Entry{names_.size(), name.size(), false});
        names_.append(name);
      }
      return false;
    }
    if (name.size() > kLongestEntryName || !lengths_[name.size()]) return false;
    std::wstring path;
    for (Wanted& wanted : wanted_) {
      if (wanted.found || !EqualsIgnoringCase(name, wanted.upper)) continue;
      if (path.empty()) path = PathOf(name);
      if (accept_(wanted.index, path)) {
        wanted.found = true;
        ++found_;
      }
    }
    return found_ == wanted_.size();
  }

  // The full path, without the \\?\ prefix, of an entry of the deepest folder.
  std::wstring PathOf(std::wstring_view entry) const {
    std::wstring path = top_;
    for (std::size_t i = 1; i < path_.size(); ++i) {
      path.append(names_, path_[i].nameStart, path_[i].nameLength);
      path += L'\\';
    }
    path += entry;
    return FromExtendedPath(path);
  }

  const FileAccept& accept_;
  const std::function<void()>& whileSearching_;
  SearchTrouble* trouble_;
  bool failed_ = false;
  std::vector<Wanted> wanted_;
  std::vector<bool> lengths_ = std::vector<bool>(kLongestEntryName + 1);
  std::size_t found_ = 0;

  std::wstring top_;          // the root's extended path, ending in a separator
  std::wstring names_;        // the names of every folder on the stack, back to back
  std::vector<Entry> stack_;  // pending folders, and the opened ones below them
  std::vector<Level> path_;   // the current path, from the root
  // Records are 8-byte aligned within it.
  std::vector<ULONGLONG> listing_ = std::vector<ULONGLONG>(64 * 1024 / sizeof(ULONGLONG));
};

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

std::size_t FindFilesInTree(std::wstring_view root, std::span<const std::wstring> names,
                            const FileAccept& accept, const std::function<void()>& whileSearching,
                            SearchTrouble* trouble) {
  std::wstring top = ExtendedRoot(root);
  if (top.empty()) {
    if (trouble != nullptr) *trouble = {SearchProblem::RootMissing, ERROR_PATH_NOT_FOUND};
    return 0;
  }
  return Win32TreeWalk(names, accept, whileSearching, trouble).Run(std::move(top));
}

bool FindFileInTree(std::wstring_view root, std::wstring_view name,
                    const std::function<bool(const std::wstring& path)>& accept) {
  const std::wstring names[] = {std::wstring(name)};
  return FindFilesInTree(root, names, [&accept](std::size_t, const std::wstring& path) {
           return accept(path);
         }) == 1;
}

}  // namespace platform::win32
