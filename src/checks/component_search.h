// The searches of the component checks, apart from what a check shows: the windows' checks
// and the command line both run them, so both look for the same files in the same folders
// with the same file search (checks/file_search.h).
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "checks/component_check.h"
#include "platform/imagehlp.h"

namespace belvosta {

// The folder a check searches below, asked once per folder and search of several checks.
using RootFolder = std::function<std::string(SearchRoot)>;

// What the walk of its folder found for one check's files.
struct CheckFiles {
  const ComponentCheck* check = nullptr;
  std::string folder;               // searched below; empty when the system names none
  std::vector<std::string> paths;   // one per file of the check, in its table's order;
                                    // empty when the file was not found
  platform::SearchTrouble trouble;  // why the check's folder could not be searched completely
};

// What one walk of each folder found for the files of several checks.
class ChecksFound {
 public:
  explicit ChecksFound(std::vector<CheckFiles> checks) : checks_(std::move(checks)) {}
  // The findings of a check that was searched; a check that was not is a fault of the caller.
  const CheckFiles& Of(const ComponentCheck& check) const;
  std::span<const CheckFiles> All() const { return checks_; }

 private:
  std::vector<CheckFiles> checks_;
};

// Searches the files of every check, each folder walked once for the files of all checks
// below it (the folders in the order the checks first name them, the names in the checks'
// order). Each file's path is what FindFiles would find for it alone, and each check's
// trouble what a walk for its own files would have told: the walk of a folder stops early
// only when every file wanted below it has been found.
ChecksFound SearchChecks(std::span<const ComponentCheck* const> checks, const RootFolder& root);

// Present; missing (the walk looked everywhere it may); or not checked, as the folder is
// unknown or could not be searched completely.
enum class ComponentStatus { Present, Missing, Unchecked };

// What the searches of one check found.
struct ComponentFinding {
  std::string_view name;
  bool present = false;
  ComponentStatus status = ComponentStatus::Missing;
  std::vector<std::string> missing;  // the files not found, in search order
  std::string found;                 // the Flash Player: the first path found; else empty
  SearchRoot root = SearchRoot::SystemFolder;
  std::string folder;               // searched below; empty when the system names none
  platform::SearchTrouble trouble;  // when unchecked with a folder: why
};

// Judges one check from its files' findings: a component is present when none of its files
// is missing, the Flash Player when one of its files is found. What a walk found counts even
// when it then had to stop; a component not present by then is unchecked, never missing.
ComponentFinding JudgeComponent(const CheckFiles& files);

// Every component in chain order, each checked whatever the others' outcome, from one walk
// of each folder.
std::vector<ComponentFinding> FindAllComponents(const RootFolder& root);

}  // namespace belvosta
