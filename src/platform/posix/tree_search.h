// The folder tree search behind SearchTreeForFile and SearchTreeForFiles on POSIX systems.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "platform/imagehlp.h"

namespace platform::posix {

// Looks for files (anything but a folder) with the search's names, ASCII letters compared
// without regard to case, in the root and every folder below it; found[i] gets the first
// match for names[i] whose full path fits the search's buffer size with its NUL, or stays
// empty. Every folder is opened relative to its parent's open folder and never through a
// symbolic link, so a folder swapped for a link while the walk runs is not entered; folders
// it cannot open are skipped, and so is every mount point (the walk stays on the root's file
// system, as find -xdev, and as the Windows walk, which enters no reparse point). When
// descriptors run out, the folders kept open for speed are closed and the walk goes on with
// fewer; a root that cannot be opened or read, a shortage that remains, and names that may
// lie where paths grew too long for the buffer stop it and are told in search.trouble. Names that
// are empty, blank, "." or "..", or that hold a '/' or a NUL, are never found. Returns how many
// names were found.
std::size_t SearchTree(const TreeSearch& search, std::span<std::string> found);

// What a walk did, to show its cost without a clock: the folder steps it opened (a folder
// name or a ".." resolved; the root counts one), the entries it read, and the most folders
// it held open at once.
struct WalkCounts {
  std::size_t folderSteps = 0;
  std::size_t entries = 0;
  std::size_t mostOpen = 0;
};

// The same search, counting its work into `counts`.
std::size_t SearchTree(const TreeSearch& search, std::span<std::string> found, WalkCounts& counts);

// Opens the folder at path for reading (a link at its end followed), also when the path is
// longer than the system's path limit: a stretch of whole components at a time, each
// relative to the folder before it. An empty path is the file system's root. The
// descriptor, or -1 with errno set.
int OpenRoot(const std::string& path);

// The one-name form: true and the path with its NUL in out when found, else out untouched.
bool SearchTree(std::string_view root, std::string_view name, std::span<char> out);

}  // namespace platform::posix
