// The searches of the component checks, apart from what a check shows: the windows' checks
// and the command line both run them, so both look for the same files in the same folders
// with the same FileFind.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "checks/component_check.h"
#include "platform/imagehlp.h"

namespace belvosta {

// The folder a check searches below, asked once per check.
using RootFolder = std::function<std::string(SearchRoot)>;
// One search done: the file's index in the check's table, its name, and the path found
// (empty when the file is missing).
using SearchDone = std::function<void(std::size_t, std::string_view, std::string)>;

// Searches the check's files in one walk below `root`'s folder (each name finds what
// FileFind would find), then hands on the results in table order. trouble, when given,
// learns why the walk could not look everywhere.
void SearchComponentFiles(const ComponentCheck& check, const RootFolder& root,
                          const SearchDone& done, platform::SearchTrouble* trouble = nullptr);

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

// Runs one check's searches and judges them: a component is present when none of its files
// is missing, the Flash Player when one of its files is found. What a walk found counts even
// when it then had to stop; a component not present by then is unchecked, never missing.
ComponentFinding FindComponent(const ComponentCheck& check, const RootFolder& root);

// Every component in chain order, each checked whatever the others' outcome.
std::vector<ComponentFinding> FindAllComponents(const RootFolder& root);

}  // namespace belvosta
