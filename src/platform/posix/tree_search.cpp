// The walk reads each folder completely, checks its files on the way and remembers its
// subfolders on an explicit stack of full paths; then it closes the folder before visiting
// the next one. So only one folder is open at any time, however deep the tree is, and no
// memory is allocated per entry once the buffers have grown to the tree's needs.
#include "platform/posix/tree_search.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/text_buffers.h"

namespace platform::posix {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

// Opens a folder whose path may be longer than the system's path limit by opening it a
// stretch of whole components at a time. The last component is never followed when it
// is a symbolic link; `followFinal` allows it for the root the caller gave.
int OpenFolder(const std::string& path, bool followFinal) {
  const int finalFlags = kFolderFlags | (followFinal ? 0 : O_NOFOLLOW);
  if (path.empty()) return open("/", finalFlags);
  if (path.size() < PATH_MAX) return open(path.c_str(), finalFlags);

  int fd = AT_FDCWD;
  std::string stretch;
  for (std::size_t start = 0;;) {
    // The longest run of whole components from start that stays below the limit.
    std::size_t end = start;
    for (std::size_t slash = path.find('/', start + 1);; slash = path.find('/', slash + 1)) {
      const std::size_t candidate = slash == std::string::npos ? path.size() : slash;
      if (candidate - start >= PATH_MAX) break;
      end = candidate;
      if (slash == std::string::npos) break;
    }
    const bool last = end == path.size();
    int next = -1;
    if (end > start) {  // else a single component is over the limit
      stretch.assign(path, start, end - start);
      next = openat(fd, stretch.c_str(), last ? finalFlags : kFolderFlags);
    }
    if (fd != AT_FDCWD) close(fd);
    if (next < 0 || last) return next;
    fd = next;
    start = end + 1;  // past the separator: the next stretch is relative to fd
  }
}

enum class EntryKind { Folder, File, Link, Unknown };

// Hands one listed entry to visit(name, nameLength, kind), leaving out "." and "..".
// True when visit asks to stop.
template <typename Visit>
bool VisitEntry(const char* name, unsigned char type, Visit& visit) {
  if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) return false;
  const EntryKind kind = type == DT_DIR       ? EntryKind::Folder
                         : type == DT_LNK     ? EntryKind::Link
                         : type == DT_UNKNOWN ? EntryKind::Unknown
                                              : EntryKind::File;
  return visit(name, std::strlen(name), kind);
}

#if defined(__linux__)
// Visits every entry of the open folder, reading with getdents64 into one reused buffer.
// Stops early when visit returns true; the result says whether it did.
template <typename Visit>
bool ForEachEntry(int fd, std::vector<char>& buffer, Visit&& visit) {
  for (;;) {
    const ssize_t filled = getdents64(fd, buffer.data(), buffer.size());
    if (filled <= 0) return false;  // end of folder, or a read error: skip the rest
    for (ssize_t offset = 0; offset < filled;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + offset);
      offset += entry->d_reclen;
      if (VisitEntry(entry->d_name, entry->d_type, visit)) return true;
    }
  }
}
#else
// The same through the portable folder listing, on a duplicate of fd that closedir frees.
template <typename Visit>
bool ForEachEntry(int fd, std::vector<char>&, Visit&& visit) {
  const int own = dup(fd);
  if (own < 0) return false;
  DIR* folder = fdopendir(own);
  if (folder == nullptr) {
    close(own);
    return false;
  }
  bool stopped = false;
  while (const dirent* entry = readdir(folder)) {
    if (VisitEntry(entry->d_name, entry->d_type, visit)) {
      stopped = true;
      break;
    }
  }
  closedir(folder);
  return stopped;
}
#endif

// Resolves what the folder listing left open: the entry's own type when the file system
// did not say, and for a link whether it leads to a file (links are never walked into).
EntryKind ResolveKind(int folderFd, const char* name, EntryKind kind) {
  struct stat info;
  if (kind == EntryKind::Unknown) {
    if (fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Unknown;
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    if (!S_ISLNK(info.st_mode)) return EntryKind::File;
    kind = EntryKind::Link;
  }
  if (kind == EntryKind::Link) {
    if (fstatat(folderFd, name, &info, 0) != 0 || S_ISDIR(info.st_mode)) return EntryKind::Link;
    return EntryKind::File;
  }
  return kind;
}

class TreeWalk {
 public:
  TreeWalk(std::string_view name, std::span<char> out) : name_(name), out_(out) {
    lowerName_.reserve(name.size());
    for (char c : name) lowerName_.push_back(LowerAscii(c));
  }

  bool Run(std::string_view root) {
    Push(root);
    bool isRoot = true;
    std::vector<char> listing(64 * 1024);
    while (!pendingEnds_.empty()) {
      Pop(folder_);
      const int fd = OpenFolder(folder_, isRoot);
      isRoot = false;
      if (fd < 0) continue;  // unreadable, vanished or not a folder: skip it
      const bool found =
          ForEachEntry(fd, listing, [&](const char* entry, std::size_t length, EntryKind kind) {
            return Visit(fd, entry, length, kind);
          });
      close(fd);
      if (found) return true;
    }
    return false;
  }

 private:
  // Checks one entry of the folder folder_; true when it is the match and out_ holds it.
  bool Visit(int fd, const char* entry, std::size_t length, EntryKind kind) {
    const bool sameName = length == name_.size() && NameMatches(entry);
    if (kind == EntryKind::Unknown || (sameName && kind == EntryKind::Link)) {
      kind = ResolveKind(fd, entry, kind);
    }
    if (kind == EntryKind::Folder) {
      // A file below this folder would need at least its path, a separator and the name.
      if (folder_.size() + 1 + length + 1 + name_.size() < out_.size()) {
        PushChild(std::string_view(entry, length));
      }
      return false;
    }
    if (!sameName || kind != EntryKind::File) return false;
    const std::size_t total = folder_.size() + 1 + length;
    if (total >= out_.size()) return false;  // does not fit with its NUL: keep looking
    std::copy(folder_.begin(), folder_.end(), out_.begin());
    out_[folder_.size()] = '/';
    std::copy(entry, entry + length, out_.begin() + folder_.size() + 1);
    out_[total] = '\0';
    return true;
  }

  bool NameMatches(const char* entry) const {
    for (std::size_t i = 0; i < lowerName_.size(); ++i) {
      if (LowerAscii(entry[i]) != lowerName_[i]) return false;
    }
    return true;
  }

  // The pending folders are kept back to back in one text; each ends where its recorded
  // end says. The root "/" is kept as the empty path so that joining never doubles a '/'.
  void Push(std::string_view path) {
    pending_.append(path);
    pendingEnds_.push_back(pending_.size());
  }
  void PushChild(std::string_view child) {
    pending_.append(folder_);
    pending_.push_back('/');
    pending_.append(child);
    pendingEnds_.push_back(pending_.size());
  }
  void Pop(std::string& into) {
    pendingEnds_.pop_back();
    const std::size_t start = pendingEnds_.empty() ? 0 : pendingEnds_.back();
    into.assign(pending_, start, std::string::npos);
    pending_.resize(start);
  }

  std::string_view name_;
  std::string lowerName_;
  std::span<char> out_;
  std::string folder_;
  std::string pending_;
  std::vector<std::size_t> pendingEnds_;
};

}  // namespace

bool SearchTree(std::string_view root, std::string_view name, std::span<char> out) {
  if (name.empty() || IsBlank(name) || root.empty()) return false;
  if (name.find('/') != std::string_view::npos || name == "." || name == "..") return false;
  if (name.find('\0') != std::string_view::npos || root.find('\0') != std::string_view::npos) {
    return false;
  }
  while (!root.empty() && root.back() == '/') root.remove_suffix(1);
  return TreeWalk(name, out).Run(root);
}

}  // namespace platform::posix
