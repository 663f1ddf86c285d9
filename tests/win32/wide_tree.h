// The shared temporary tree (support/temp_tree.h) in the wide paths that the Win32 calls
// take.
#pragma once

#include <string>

#include "platform/win32/utf8.h"
#include "support/temp_tree.h"

namespace platform::win32::testing {

using test_support::TempTree;

inline std::wstring RootOf(const TempTree& tree) {
  return Widen(tree.Root());
}

// Makes the folders of a relative path below the root, and a file at its end when fileName
// is not empty; returns the full path of what it made last.
inline std::wstring Make(TempTree& tree, const std::wstring& folders,
                         const std::wstring& fileName = {}) {
  if (fileName.empty()) return Widen(tree.AddFolder(Narrow(folders)));
  return Widen(tree.AddFile(Narrow(folders.empty() ? fileName : folders + L"\\" + fileName)));
}

}  // namespace platform::win32::testing
