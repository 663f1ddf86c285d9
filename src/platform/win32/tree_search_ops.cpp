#include "platform/win32/tree_search.h"
#include "platform/win32/utf8.h"
#include "platform/win32/win32_backend.h"

namespace platform::win32 {

bool Win32Backend::SearchTree(std::string_view root, std::string_view name, std::span<char> out) {
  // A match whose path does not fit the caller's buffer is passed over, and the walk goes
  // on: another file of the same name may still fit.
  return FindFileInTree(Widen(root), Widen(name),
                        [out](const std::wstring& path) { return CopyWithNul(Narrow(path), out); });
}

}  // namespace platform::win32
