// The image help library's tree search.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace platform {

// The longest full path any platform hands back (Windows' extended-length limit).
inline constexpr std::size_t kMaxFullPath = 32768;

// Looks for a file named inputPathName anywhere in the folder tree below rootPath, the root
// included, comparing names without regard to letter case, following no links or
// junctions and skipping folders it cannot read. Stops at the first match. On success the
// buffer holds the file's full path and a NUL, and the result is true. A path that does
// not fit the buffer with its NUL is never written and counts as not found.
bool SearchTreeForFile(std::string_view rootPath, std::string_view inputPathName,
                       std::span<char> outputPathBuffer);

}  // namespace platform
