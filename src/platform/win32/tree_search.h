// The search for a file by name in a folder tree, on FindFirstFileExW.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace platform::win32 {

// Walks the tree below root (the root folder included), iteratively, and offers every file
// whose name equals name, ignoring letter case, to accept; stops at the first one accepted.
// Follows no reparse points (junctions, symbolic links), skips folders it cannot read and
// reaches paths beyond MAX_PATH. The path offered is the full path without the \\?\ prefix.
// Returns whether a file was accepted.
bool FindFileInTree(std::wstring_view root, std::wstring_view name,
                    const std::function<bool(const std::wstring& path)>& accept);

// The extended-length form (\\?\C:\..., \\?\UNC\server\share\...) of a full path, and back.
std::wstring ToExtendedPath(std::wstring_view fullPath);
std::wstring FromExtendedPath(std::wstring_view path);

}  // namespace platform::win32
