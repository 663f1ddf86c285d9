// The image help library's tree search, and its form for several names in one walk.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "platform/operations.h"

namespace platform {

// The longest full path any platform hands back (Windows' extended-length limit).
inline constexpr std::size_t kMaxFullPath = 32768;

// Why a walk could not look everywhere it was allowed to. Folders below the root that
// cannot be read are skipped and are no problem: a search of the system skips them too.
enum class SearchProblem {
  None,
  RootMissing,     // the root does not exist (or is a dangling link)
  RootNotFolder,   // the root is a file, a device, a pipe ...
  RootUnreadable,  // the root exists but cannot be opened or listed
  OutOfResources,  // descriptors, handles, memory or the device failed, also after recovery
  PathTooLong,     // the root's path does not fit the system's limits
};

struct SearchTrouble {
  SearchProblem problem = SearchProblem::None;
  int systemError = 0;  // errno, or the Windows error code or native status, behind it
};

// Several names looked for in one walk of the tree.
struct TreeSearch {
  std::string_view root;
  std::span<const std::string_view> names;
  // A match counts only when its full path fits a buffer of this size with its NUL.
  std::size_t bufferSize = kMaxFullPath;
  // Called after every folder the walk has read and between batches of a large folder, so
  // that the caller can keep its window alive. It may run any code, another search included.
  std::function<void()> whileSearching;
  // Where the walk says why it could not look everywhere; untouched when it could. A walk
  // that hits a problem stops; what it found until then stays found.
  SearchTrouble* trouble = nullptr;
  // One walk may serve several searches: groups[i] numbers the search of names[i] (from 0),
  // and groupTrouble[g] is told, as trouble would be by a walk for search g's names alone,
  // why that search could not look everywhere; a search whose names were all found is told
  // nothing, as its own walk would have stopped there. Empty: no groups.
  std::span<const std::size_t> groups;
  std::span<SearchTrouble> groupTrouble;
};

// Whether a name is blank (empty or only spaces). No file has such a name: the searches
// never look for one.
inline bool IsBlank(std::string_view name) {
  return name.find_first_not_of(' ') == std::string_view::npos;
}

// Tells trouble to each search of a grouped walk (see TreeSearch::groups) that still
// wanted a name: one that the walk looked for (looked(i)) and did not find.
template <typename Looked>
void TellUnfinishedSearches(const TreeSearch& search, std::span<const std::string> found,
                            const SearchTrouble& trouble, Looked looked) {
  if (search.groups.size() != search.names.size()) return;
  for (std::size_t i = 0; i < search.names.size() && i < found.size(); ++i) {
    const std::size_t group = search.groups[i];
    if (group < search.groupTrouble.size() && found[i].empty() && looked(i)) {
      search.groupTrouble[group] = trouble;
    }
  }
}

// The operations themselves, described in operations.h (none is generated: the searches
// below are written out in platform_calls.cpp).
BELVOSTA_IMAGEHLP_OPERATIONS(BELVOSTA_DECLARE_FUNCTION, BELVOSTA_NO_FUNCTION)

// Looks for a file named inputPathName anywhere in the folder tree below rootPath, the root
// included, comparing names without regard to letter case, following no links or
// junctions and skipping folders it cannot read. Stops at the first match. On success the
// buffer holds the file's full path and a NUL, and the result is true. A path that does
// not fit the buffer with its NUL is never written and counts as not found.
bool SearchTreeForFile(std::string_view rootPath, std::string_view inputPathName,
                       std::span<char> outputPathBuffer);

// For every name, the path SearchTreeForFile would have found for it alone (its first
// match in the same walk order), or an empty text; found has one place per name. The walk
// ends as soon as every name is found. Returns how many names were found.
std::size_t SearchTreeForFiles(const TreeSearch& search, std::span<std::string> found);

}  // namespace platform
