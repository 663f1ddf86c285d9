// The search for files by name in a folder tree, on the native folder calls.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/imagehlp.h"

namespace platform::win32 {

// Offered a match for names[index] at path; true takes it, false walks on for another.
using FileAccept = std::function<bool(std::size_t index, const std::wstring& path)>;

// Walks the tree below root (the root folder included), depth-first and iteratively, and
// offers every file whose name equals one of the names, ignoring letter case, to accept,
// until each name has a match taken; the first one taken for a name is its first in the
// walk's order. Follows no reparse points (junctions, symbolic links), also none that
// replaces a folder while the walk runs, skips folders it cannot read and reaches paths
// beyond MAX_PATH. The path offered is the full path without the \\?\ prefix.
// whileSearching runs after every batch of entries read. Returns how many names matched.
// A root that cannot be read and a shortage of handles or memory stop the walk and are
// told in trouble, when given.
std::size_t FindFilesInTree(std::wstring_view root, std::span<const std::wstring> names,
                            const FileAccept& accept,
                            const std::function<void()>& whileSearching = {},
                            SearchTrouble* trouble = nullptr);

// The one-name form; whether a match was taken.
bool FindFileInTree(std::wstring_view root, std::wstring_view name,
                    const std::function<bool(const std::wstring& path)>& accept);

// The extended-length form (\\?\C:\..., \\?\UNC\server\share\...) of a full path, and back.
std::wstring ToExtendedPath(std::wstring_view fullPath);
std::wstring FromExtendedPath(std::wstring_view path);

}  // namespace platform::win32
