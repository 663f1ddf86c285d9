#include <vector>

#include "platform/win32/system_backend.h"
#include "platform/win32/tree_search.h"
#include "platform/win32/utf8.h"

namespace platform::win32 {

std::size_t Win32Backend::SearchTree(const TreeSearch& search, std::span<std::string> found) {
  std::vector<std::wstring> names;
  for (std::string_view name : search.names) names.push_back(Widen(name));
  // A match whose path does not fit the caller's buffer with its NUL is passed over, and
  // the walk goes on: another file of the same name may still fit.
  return FindFilesInTree(
      Widen(search.root), names,
      [&](std::size_t index, const std::wstring& path) {
        std::string text = Narrow(path);
        if (text.size() >= search.bufferSize) return false;
        found[index] = std::move(text);
        return true;
      },
      search.whileSearching, search.trouble);
}

}  // namespace platform::win32
