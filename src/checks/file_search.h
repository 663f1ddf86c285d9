// The file search of the component checks: several names looked for in one walk of a
// folder tree, the window kept alive meanwhile. The main window's checks and the command
// line both search with it, so both find the same files.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/imagehlp.h"

namespace belvosta {

// Several names in one walk below folder: for each name the full path of the first file of
// that name, or "" when none was found (a name of blanks only finds nothing without
// searching). The window's events are processed while the walk runs. trouble, when given,
// learns why the walk could not look everywhere (the window's own checks read that as not
// found).
std::vector<std::string> FindFiles(std::span<const std::string_view> names,
                                   const std::string& folder,
                                   platform::SearchTrouble* trouble = nullptr);

// The same for the names of several searches in one walk: groups[i] numbers the search of
// names[i], and groupTrouble[g] learns what search g's own walk would have told.
std::vector<std::string> FindFiles(std::span<const std::string_view> names,
                                   const std::string& folder, std::span<const std::size_t> groups,
                                   std::span<platform::SearchTrouble> groupTrouble);

}  // namespace belvosta
