#include <vector>

#include "platform/win32/system_backend.h"
#include "platform/win32/tree_search.h"
#include "platform/win32/utf8.h"

namespace platform::win32 {
namespace {

// No entry name is longer on any Windows file system: the walk never looks for a longer one.
constexpr std::size_t kLongestEntryName = 255;

}  // namespace

std::size_t Win32Backend::SearchTree(const TreeSearch& search, std::span<std::string> found) {
  std::vector<std::wstring> names;
  for (std::string_view name : search.names) names.push_back(Widen(name));
  // A match whose path does not fit the caller's buffer with its NUL is passed over, and
  // the walk goes on: another file of the same name may still fit.
  SearchTrouble trouble;
  const std::size_t count = FindFilesInTree(
      Widen(search.root), names,
      [&](std::size_t index, const std::wstring& path) {
        std::string text = Narrow(path);
        if (text.size() >= search.bufferSize) return false;
        found[index] = std::move(text);
        return true;
      },
      search.whileSearching, &trouble);
  if (trouble.problem != SearchProblem::None) {
    if (search.trouble != nullptr) *search.trouble = trouble;
    // The walk stops where each search's own walk would have stopped, unless it was done.
    TellUnfinishedSearches(search, found, trouble, [&names](std::size_t i) {
      return !names[i].empty() && names[i].size() <= kLongestEntryName;
    });
  }
  return count;
}

}  // namespace platform::win32
