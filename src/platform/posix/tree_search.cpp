// The walk reads each folder completely, checks its files on the way and remembers its
// subfolders by name on an explicit stack; then it goes into the last one remembered, so
// the walk is depth-first without recursion. Each folder is opened relative to its
// parent's open folder with O_NOFOLLOW: no path is resolved twice, and a folder swapped
// for a symbolic link at any moment is never entered. The folders of the current path
// stay open, up to a few; shallower ones are closed and found again through ".." when the
// walk climbs back to them, checked to be the same folder. So the work grows with the
// number of entries and the memory with the number of pending folders (a name each),
// whatever the depth; the full path is put together only for a match.
//
// This file, in order:
//   - opening folders: relative and without following links, the root and its problems
//   - which folder and which file system a descriptor is (FolderId, MountId), the way up
//   - reading a folder's entries and telling their kind
//   - PosixTreeWalk, the walk itself: the names wanted and the searches they belong to, the run,
//     the troubles told, opening pending folders and climbing back, reading and matching
//     a folder's entries, the found paths
//   - SearchTree, the entry points
#include "platform/posix/tree_search.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/buffer_rules.h"
#include "platform/posix/ascii_case.h"
#include "platform/posix/system_calls.h"

namespace platform::posix {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
constexpr int kChildFlags = kFolderFlags | O_NOFOLLOW;

// Folders of the current path kept open at most. Few, as searches may run nested in one
// another (a click handled while a walk runs can start one); deeper paths close their
// shallowest folders.
constexpr std::size_t kMaxOpenFolders = 24;

// No entry name is longer (NAME_MAX on every POSIX system this runs on).
constexpr std::size_t kLongestEntryName = 255;

// Folders are opened and listed through the system call table; a call cut short by a
// signal is made again, as it says nothing about the folder.
int OpenFolder(const char* path, int flags) {
  return RetryInterrupted([&] { return systemCalls.open(path, flags); });
}

int OpenFolderAt(int folder, const char* path, int flags) {
  return RetryInterrupted([&] { return systemCalls.openat(folder, path, flags); });
}

bool IsSearchableName(std::string_view name) {
  return !IsBlank(name) && name != "." && name != ".." &&
         name.find('/') == std::string_view::npos && name.find('\0') == std::string_view::npos;
}

// Errors that say nothing about the folder but about the process or the machine: a walk
// that skipped the folder would report its files as missing.
bool IsResourceError(int error) {
  return error == EMFILE || error == ENFILE || error == ENOMEM || error == EIO;
}

SearchProblem RootProblem(int error) {
  if (IsResourceError(error)) return SearchProblem::OutOfResources;
  switch (error) {
    case ENOENT:
      return SearchProblem::RootMissing;
    case ENOTDIR:
      return SearchProblem::RootNotFolder;
    case ENAMETOOLONG:
      return SearchProblem::PathTooLong;
    default:
      return SearchProblem::RootUnreadable;
  }
}

}  // namespace

// Opens the root folder, whose path may be longer than the system's path limit, a stretch
// of whole components at a time. The root the caller gave may itself be a link.
int OpenRoot(const std::string& path) {
  if (path.empty()) return OpenFolder("/", kFolderFlags);
  if (path.size() < PATH_MAX) return OpenFolder(path.c_str(), kFolderFlags);

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
    int error = ENAMETOOLONG;  // when a single component is over the limit
    if (end > start) {
      stretch.assign(path, start, end - start);
      next = OpenFolderAt(fd, stretch.c_str(), kFolderFlags);
      error = errno;
    }
    if (fd != AT_FDCWD) systemCalls.close(fd);
    if (next < 0) errno = error;
    if (next < 0 || last) return next;
    fd = next;
    // Past every separator: a stretch that began with '/' would be resolved from the file
    // system's root instead of from fd.
    start = end;
    while (start < path.size() && path[start] == '/') ++start;
  }
}

namespace {

// Which folder an open folder is, to recognise it when it is opened again.
struct FolderId {
  dev_t device = 0;
  ino_t inode = 0;
  bool known = false;
};

FolderId IdOf(int fd) {
  struct stat info;
  if (systemCalls.fstat(fd, &info) != 0) return {};
  return {info.st_dev, info.st_ino, true};
}

// Which mounted file system an open folder is on: its device and, where the system tells
// (Linux 5.8 and later), its mount, which also tells a bind mount of the same device apart.
struct MountId {
  dev_t device = 0;
  std::uint64_t mount = 0;
  bool known = false;
  bool operator==(const MountId&) const = default;
};

MountId MountOf(int fd) {
  MountId id;
#if defined(__linux__) && defined(STATX_MNT_ID)
  struct statx extended;
  if (systemCalls.statx(fd, "", AT_EMPTY_PATH, STATX_INO | STATX_MNT_ID, &extended) == 0) {
    id.device = makedev(extended.stx_dev_major, extended.stx_dev_minor);
    if ((extended.stx_mask & STATX_MNT_ID) != 0) id.mount = extended.stx_mnt_id;
    id.known = true;
    return id;
  }
#endif
  struct stat info;
  if (systemCalls.fstat(fd, &info) != 0) return id;
  id.device = info.st_dev;
  id.known = true;
  return id;
}

bool IsFolder(int fd, const FolderId& id) {
  const FolderId now = IdOf(fd);
  return id.known && now.known && now.device == id.device && now.inode == id.inode;
}

// Opens the folder `hops` levels above the open folder fd through "..", which always
// leads to the real parent, never through a link.
int OpenAbove(int fd, std::size_t hops) {
  constexpr std::size_t kHopsPerCall = 1000;  // "../" a thousand times stays below PATH_MAX
  std::string way;
  int current = fd;
  while (hops > 0) {
    const std::size_t now = std::min(hops, kHopsPerCall);
    way.clear();
    for (std::size_t i = 0; i < now; ++i) way += "../";
    const int next = OpenFolderAt(current, way.c_str(), kFolderFlags);
    if (current != fd) systemCalls.close(current);
    if (next < 0) return -1;
    current = next;
    hops -= now;
  }
  return current == fd ? -1 : current;
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
// Visits every entry of the open folder, reading with getdents64 into one reused buffer,
// and calls between() after every batch read. Stops early when visit returns true; the
// result says whether it did.
// error gets errno when a read fails, else 0.
template <typename Visit, typename Between>
bool ForEachEntry(int fd, std::vector<char>& buffer, int& error, Visit&& visit, Between&& between) {
  error = 0;
  for (;;) {
    const ssize_t filled =
        RetryInterrupted([&] { return systemCalls.getdents64(fd, buffer.data(), buffer.size()); });
    if (filled < 0) error = errno;
    if (filled <= 0) return false;  // end of folder, or a read error: skip the rest
    for (ssize_t offset = 0; offset < filled;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + offset);
      offset += entry->d_reclen;
      if (VisitEntry(entry->d_name, entry->d_type, visit)) return true;
    }
    between();
  }
}
#else
// The same through the portable folder listing, on a duplicate of fd that closedir frees.
template <typename Visit, typename Between>
bool ForEachEntry(int fd, std::vector<char>&, int& error, Visit&& visit, Between&& between) {
  error = 0;
  const int own = dup(fd);
  if (own < 0) {
    error = errno;
    return false;
  }
  DIR* folder = fdopendir(own);
  if (folder == nullptr) {
    error = errno;
    systemCalls.close(own);
    return false;
  }
  bool stopped = false;
  std::size_t count = 0;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(folder);
    if (entry == nullptr) {
      error = errno;
      break;
    }
    if (VisitEntry(entry->d_name, entry->d_type, visit)) {
      stopped = true;
      break;
    }
    if (++count % 1024 == 0) between();
  }
  closedir(folder);
  if (!stopped) between();
  return stopped;
}
#endif

// Resolves what the folder listing left open: the entry's own type when the file system
// did not say, and for a link whether it leads to a file (links are never walked into).
EntryKind ResolveKind(int folderFd, const char* name, EntryKind kind) {
  struct stat info;
  if (kind == EntryKind::Unknown) {
    if (systemCalls.fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
      return EntryKind::Unknown;
    if (S_ISDIR(info.st_mode)) return EntryKind::Folder;
    if (!S_ISLNK(info.st_mode)) return EntryKind::File;
    kind = EntryKind::Link;
  }
  if (kind == EntryKind::Link) {
    if (systemCalls.fstatat(folderFd, name, &info, 0) != 0 || S_ISDIR(info.st_mode))
      return EntryKind::Link;
    return EntryKind::File;
  }
  return kind;
}

class PosixTreeWalk {
 public:
  PosixTreeWalk(const TreeSearch& search, std::span<std::string> found, WalkCounts& counts)
      : found_(found),
        bufferSize_(search.bufferSize),
        whileSearching_(search.whileSearching),
        trouble_(search.trouble),
        groupTrouble_(search.groupTrouble),
        counts_(counts) {
    const bool grouped = search.groups.size() == search.names.size();
    for (std::size_t i = 0; i < search.names.size(); ++i) {
      const std::string_view name = search.names[i];
      if (!IsSearchableName(name) || name.size() > kLongestEntryName) continue;
      Wanted wanted{std::string(), i, grouped ? search.groups[i] : 0};
      for (char c : name) wanted.lower.push_back(LowerAscii(c));
      if (wanted.group >= groups_.size()) groups_.resize(wanted.group + 1);
      ++groups_[wanted.group].remaining;
      wanted_.push_back(std::move(wanted));
    }
    remaining_ = wanted_.size();
    NoteRemainingNames();
  }
  ~PosixTreeWalk() {
    for (const Level& level : path_) {
      if (level.fd >= 0) systemCalls.close(level.fd);
    }
  }
  PosixTreeWalk(const PosixTreeWalk&) = delete;
  PosixTreeWalk& operator=(const PosixTreeWalk&) = delete;

  // Notes why the walk cannot go on and stops it; every search with names still wanted is
  // told, as its own walk would have stopped at the same place.
  void Fail(SearchProblem problem, int error) {
    failed_ = true;
    if (trouble_ != nullptr) *trouble_ = SearchTrouble{problem, error};
    for (std::size_t g = 0; g < groups_.size(); ++g) {
      if (groups_[g].remaining > 0) TellGroup(g, problem, error);
    }
  }

  std::size_t Run(std::string_view root) {
    if (remaining_ == 0) return 0;
    root_ = root;
    int fd = OpenRoot(root_);
    ++counts_.folderSteps;
    if (fd < 0 && IsResourceError(errno)) {  // a nested walk may have ended
      fd = OpenRoot(root_);
      ++counts_.folderSteps;
    }
    if (fd < 0) {
      Fail(RootProblem(errno), errno);
      return 0;
    }
    rootMount_ = MountOf(fd);
    path_.push_back(Level{fd, {}, 0, 0, root_.size(), false});
    NoteOpened();
    int error = 0;
    bool done = ReadFolder(error);
    if (!done && error != 0) {
      Fail(IsResourceError(error) ? SearchProblem::OutOfResources : SearchProblem::RootUnreadable,
           error);
      return wanted_.size() - remaining_;
    }
    while (!done && !failed_ && !stack_.empty()) {
      if (stack_.back().opened) {
        Climb();
      } else if (Descend()) {
        done = ReadFolder(error);
        if (!done && IsResourceError(error)) Fail(SearchProblem::OutOfResources, error);
      }
    }
    // A name not found where paths grew too long for the buffer may lie there.
    if (!failed_) NoteCutShort();
    return wanted_.size() - remaining_;
  }

 private:
  struct Wanted {
    std::string lower;  // the name in lower case
    std::size_t index;  // its place in found_
    std::size_t group;  // the search it belongs to
    bool found = false;
  };
  // One search of those the walk serves: what its own walk would have noted.
  struct Group {
    std::size_t remaining = 0;  // its names not found yet
    std::size_t shortest = 0;   // the shortest of them
    bool cutShort = false;      // a place where one of them may lie was passed over
  };
  // A folder still to read, or one being read (opened) whose pending subfolders lie above
  // it on the stack. Its name is a stretch of names_.
  struct Entry {
    std::size_t nameStart;
    std::size_t nameLength;
    bool opened;
  };
  // One folder of the current path, the root first.
  struct Level {
    int fd;       // -1 while closed to save descriptors, or when it could not be opened again
    FolderId id;  // noted when it is closed, to recognise it when opened again
    std::size_t nameStart;
    std::size_t nameLength;
    std::size_t pathLength;  // length of its full path
    bool lost;               // closed and not found again: its pending subfolders are skipped
  };

  void TellGroup(std::size_t group, SearchProblem problem, int error) {
    if (group < groupTrouble_.size()) groupTrouble_[group] = SearchTrouble{problem, error};
  }

  // At the end of a walk that was not stopped: names not found may lie where paths grew too
  // long for the buffer, for the walk and for each search that passed over such a place.
  void NoteCutShort() {
    if (remaining_ > 0 && cutShort_ && trouble_ != nullptr) {
      *trouble_ = SearchTrouble{SearchProblem::PathTooLong, ENAMETOOLONG};
    }
    for (std::size_t g = 0; g < groups_.size(); ++g) {
      if (groups_[g].remaining > 0 && groups_[g].cutShort) {
        TellGroup(g, SearchProblem::PathTooLong, ENAMETOOLONG);
      }
    }
  }

  // Closes every folder of the current path but the deepest, which the walk goes on from,
  // and keeps fewer open from now on: descriptors ran out.
  void ReleaseSpareFolders() {
    maxOpen_ = std::max<std::size_t>(2, openFolders_ / 2);
    for (std::size_t i = 0; i + 1 < path_.size(); ++i) {
      Level& level = path_[i];
      if (level.fd < 0) continue;
      level.id = IdOf(level.fd);
      systemCalls.close(level.fd);
      level.fd = -1;
      --openFolders_;
    }
    lowestOpen_ = path_.size() - 1;
  }

  // The pending folder on top of the stack, opened below the deepest open folder; on a
  // resource error once more after releasing the spare folders.
  int OpenPending(const Entry& entry) {
    const int parentFd = path_.back().fd;
    if (parentFd < 0) return -1;
    const std::string name = NameOf(entry);
    int fd = OpenFolderAt(parentFd, name.c_str(), kChildFlags);
    ++counts_.folderSteps;
    if (fd < 0 && IsResourceError(errno)) {
      ReleaseSpareFolders();
      fd = OpenFolderAt(parentFd, name.c_str(), kChildFlags);
      ++counts_.folderSteps;
      if (fd < 0 && IsResourceError(errno)) Fail(SearchProblem::OutOfResources, errno);
    }
    return fd;
  }

  // Opens the pending folder on top of the stack; false (and it is dropped) when it cannot,
  // or when it lies on another file system than the root (a mount point is not entered).
  bool Descend() {
    const Entry entry = stack_.back();
    const Level& parent = path_.back();
    int fd = OpenPending(entry);
    if (fd >= 0) {
      const MountId mount = MountOf(fd);
      if (rootMount_.known && mount != rootMount_) {
        systemCalls.close(fd);
        fd = -1;
      }
    }
    if (fd < 0) {  // unreadable, vanished, not a folder, swapped for a link, or mounted
      names_.resize(entry.nameStart);
      stack_.pop_back();
      return false;
    }
    stack_.back().opened = true;
    path_.push_back(Level{fd,
                          {},
                          entry.nameStart,
                          entry.nameLength,
                          parent.pathLength + 1 + entry.nameLength,
                          false});
    NoteOpened();
    if (openFolders_ > maxOpen_) CloseShallowest();
    return true;
  }

  // Leaves the folders that are finished and makes sure the folder whose subfolder comes
  // next is open.
  void Climb() {
    // The shallowest finished folder that is still open: the way back up through "..".
    int way = -1;
    std::size_t wayDepth = 0;
    while (!stack_.empty() && stack_.back().opened) {
      const Level& done = path_.back();
      if (done.fd >= 0) {
        if (way >= 0) systemCalls.close(way);
        way = done.fd;
        wayDepth = path_.size() - 1;
        --openFolders_;
      }
      names_.resize(stack_.back().nameStart);
      stack_.pop_back();
      path_.pop_back();
    }
    Level& parent = path_.back();
    if (!stack_.empty() && parent.fd < 0 && !parent.lost) {
      const std::size_t hops = wayDepth - (path_.size() - 1);
      int fd = way >= 0 ? OpenAbove(way, hops) : -1;
      counts_.folderSteps += way >= 0 ? hops : 0;
      if (fd >= 0 && !IsFolder(fd, parent.id)) {
        systemCalls.close(fd);
        fd = -1;
      }
      if (fd < 0) fd = OpenAgainByNames(path_.size() - 1);
      if (fd < 0 && IsResourceError(errno)) {
        if (way >= 0) systemCalls.close(way);
        way = -1;
        ReleaseSpareFolders();
        fd = OpenAgainByNames(path_.size() - 1);
        if (fd < 0 && IsResourceError(errno)) Fail(SearchProblem::OutOfResources, errno);
      }
      if (fd < 0) {
        parent.lost = true;
      } else {
        parent.fd = fd;
        NoteOpened();
        lowestOpen_ = std::min(lowestOpen_, path_.size() - 1);
      }
    }
    if (way >= 0) systemCalls.close(way);
  }

  // Opens the folder at `depth` of the current path again from the nearest open folder
  // above it (or the root), one name at a time, each checked to be the folder it was. Only
  // needed when the way up through ".." failed: the tree changed while the walk ran.
  int OpenAgainByNames(std::size_t depth) {
    std::size_t from = depth;
    while (from > 0 && path_[from - 1].fd < 0) --from;
    int fd = -1;
    bool own = false;  // whether fd is ours to close, or a folder of the path
    if (from == 0) {
      fd = OpenRoot(root_);
      ++counts_.folderSteps;
      if (fd >= 0 && !IsFolder(fd, path_[0].id)) {
        systemCalls.close(fd);
        return -1;
      }
      if (depth == 0) return fd;
      own = true;
      from = 1;
    } else {
      fd = path_[from - 1].fd;
    }
    for (std::size_t i = from; i <= depth; ++i) {
      const Level& level = path_[i];
      const int next =
          OpenFolderAt(fd, names_.substr(level.nameStart, level.nameLength).c_str(), kChildFlags);
      ++counts_.folderSteps;
      if (own) systemCalls.close(fd);
      fd = next;
      own = true;
      if (fd < 0) return -1;
      if (!IsFolder(fd, level.id)) {
        systemCalls.close(fd);
        return -1;
      }
    }
    return fd;
  }

  // Closes the shallowest open folder of the current path, noting which folder it is.
  void CloseShallowest() {
    lowestOpen_ = std::min(lowestOpen_, path_.size() - 1);
    while (lowestOpen_ + 1 < path_.size() && path_[lowestOpen_].fd < 0) ++lowestOpen_;
    Level& level = path_[lowestOpen_];
    if (lowestOpen_ + 1 >= path_.size() || level.fd < 0) return;  // never the deepest
    level.id = IdOf(level.fd);
    systemCalls.close(level.fd);
    level.fd = -1;
    --openFolders_;
  }

  // Reads the deepest folder of the current path; true when every name has been found.
  // error gets errno when a read failed.
  bool ReadFolder(int& error) {
    const int fd = path_.back().fd;
    const std::size_t folderLength = path_.back().pathLength;
    return ForEachEntry(
        fd, listing_, error,
        [&](const char* entry, std::size_t length, EntryKind kind) {
          return Visit(fd, folderLength, entry, length, kind);
        },
        [&] {
          if (whileSearching_) whileSearching_();
        });
  }

  // Checks one entry of the folder being read; true when it was the last name wanted.
  bool Visit(int fd, std::size_t folderLength, const char* entry, std::size_t length,
             EntryKind kind) {
    ++counts_.entries;
    const bool wanted = length <= kLongestEntryName && wantedLengths_[length] &&
                        std::any_of(wanted_.begin(), wanted_.end(), [&](const Wanted& name) {
                          return !name.found && Matches(entry, length, name);
                        });
    if (kind == EntryKind::Unknown || (wanted && kind == EntryKind::Link)) {
      kind = ResolveKind(fd, entry, kind);
    }
    if (kind == EntryKind::Folder) {
      // A file below this folder needs at least its path, a separator and a name wanted.
      const std::size_t least = folderLength + 1 + length + 1;
      if (least + shortestWanted_ < bufferSize_) {
        stack_.push_back(Entry{names_.size(), length, false});
        names_.append(entry, length);
      } else {
        cutShort_ = true;
      }
      // A search whose own names do not fit below it would have passed it over.
      if (least + longestShortest_ >= bufferSize_) {
        for (Group& group : groups_) {
          if (group.remaining > 0 && least + group.shortest >= bufferSize_) group.cutShort = true;
        }
      }
      return false;
    }
    if (!wanted || kind != EntryKind::File) return false;
    if (folderLength + 1 + length >= bufferSize_) {  // no room: keep looking
      cutShort_ = true;
      for (const Wanted& name : wanted_) {
        if (!name.found && Matches(entry, length, name)) groups_[name.group].cutShort = true;
      }
      return false;
    }
    const std::string path = PathOf(std::string_view(entry, length));
    for (Wanted& name : wanted_) {
      if (!name.found && Matches(entry, length, name)) {
        name.found = true;
        found_[name.index] = path;
        --remaining_;
        --groups_[name.group].remaining;
      }
    }
    NoteRemainingNames();
    return remaining_ == 0;
  }

  void NoteOpened() {
    ++openFolders_;
    counts_.mostOpen = std::max(counts_.mostOpen, openFolders_);
  }

  static bool Matches(const char* entry, std::size_t length, const Wanted& name) {
    if (length != name.lower.size()) return false;
    for (std::size_t i = 0; i < length; ++i) {
      if (LowerAscii(entry[i]) != name.lower[i]) return false;
    }
    return true;
  }

  // The lengths of the names still wanted, for a quick look at every entry, and the
  // shortest of each search.
  void NoteRemainingNames() {
    wantedLengths_.fill(false);
    shortestWanted_ = kLongestEntryName;
    for (Group& group : groups_) group.shortest = kLongestEntryName;
    for (const Wanted& name : wanted_) {
      if (name.found) continue;
      wantedLengths_[name.lower.size()] = true;
      shortestWanted_ = std::min(shortestWanted_, name.lower.size());
      Group& group = groups_[name.group];
      group.shortest = std::min(group.shortest, name.lower.size());
    }
    longestShortest_ = 0;
    for (const Group& group : groups_) {
      if (group.remaining > 0) longestShortest_ = std::max(longestShortest_, group.shortest);
    }
  }

  std::string NameOf(const Entry& entry) const {
    return names_.substr(entry.nameStart, entry.nameLength);
  }

  // The full path of an entry of the deepest folder of the current path.
  std::string PathOf(std::string_view entry) const {
    std::string path = root_;
    path.reserve(path_.back().pathLength + 1 + entry.size());
    for (std::size_t i = 1; i < path_.size(); ++i) {
      path += '/';
      path.append(names_, path_[i].nameStart, path_[i].nameLength);
    }
    path += '/';
    path += entry;
    return path;
  }

  std::span<std::string> found_;
  std::size_t bufferSize_;
  const std::function<void()>& whileSearching_;
  SearchTrouble* trouble_;
  std::span<SearchTrouble> groupTrouble_;
  bool failed_ = false;
  bool cutShort_ = false;  // a folder or a match was passed over for the buffer's size
  MountId rootMount_;      // the walk stays on the root's file system
  std::size_t maxOpen_ = kMaxOpenFolders;
  WalkCounts& counts_;
  std::vector<Wanted> wanted_;
  std::size_t remaining_ = 0;
  std::array<bool, kLongestEntryName + 1> wantedLengths_{};
  std::size_t shortestWanted_ = 0;
  std::vector<Group> groups_;        // the searches served, at least those with a name
  std::size_t longestShortest_ = 0;  // the longest of their shortest names still wanted

  std::string root_;          // "/" is kept as the empty path so that joining never doubles a '/'
  std::string names_;         // the names of every folder on the stack, back to back
  std::vector<Entry> stack_;  // pending folders, and the opened ones below them
  std::vector<Level> path_;   // the current path, from the root
  std::size_t openFolders_ = 0;  // descriptors held in path_
  std::size_t lowestOpen_ = 0;   // no folder above this one on the path is open
  std::vector<char> listing_ = std::vector<char>(64 * 1024);
};

}  // namespace

std::size_t SearchTree(const TreeSearch& search, std::span<std::string> found, WalkCounts& counts) {
  for (std::string& path : found) path.clear();
  PosixTreeWalk walk(search, found, counts);
  std::string_view root = search.root;
  if (root.empty() || root.find('\0') != std::string_view::npos) {
    walk.Fail(SearchProblem::RootMissing, ENOENT);
    return 0;
  }
  if (found.size() < search.names.size()) return 0;
  while (!root.empty() && root.back() == '/') root.remove_suffix(1);
  return walk.Run(root);
}

std::size_t SearchTree(const TreeSearch& search, std::span<std::string> found) {
  WalkCounts counts;
  return SearchTree(search, found, counts);
}

bool SearchTree(std::string_view root, std::string_view name, std::span<char> out) {
  const std::string_view names[] = {name};
  std::string found[1];
  return SearchTree(TreeSearch{.root = root, .names = names, .bufferSize = out.size()}, found) ==
             1 &&
         CopyWithNul(found[0], out);
}

}  // namespace platform::posix
