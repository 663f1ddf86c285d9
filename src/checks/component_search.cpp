#include "checks/component_search.h"

#include <algorithm>
#include <stdexcept>

#include "checks/file_search.h"

namespace belvosta {

const CheckFiles& ChecksFound::Of(const ComponentCheck& check) const {
  for (const CheckFiles& files : checks_) {
    if (files.check == &check) return files;
  }
  throw std::logic_error("a check was judged that its search did not include");
}

ChecksFound SearchChecks(std::span<const ComponentCheck* const> checks, const RootFolder& root) {
  std::vector<CheckFiles> results(checks.size());
  std::vector<SearchRoot> roots;  // in the order the checks first name them
  for (std::size_t c = 0; c < checks.size(); ++c) {
    results[c].check = checks[c];
    results[c].paths.resize(checks[c]->files.size());
    if (std::find(roots.begin(), roots.end(), checks[c]->root) == roots.end()) {
      roots.push_back(checks[c]->root);
    }
  }
  for (const SearchRoot searched : roots) {
    // One walk for the files of every check below this folder, each check a group of its own
    // so that it learns the trouble its own walk would have had.
    std::vector<std::string_view> names;
    std::vector<std::size_t> groups;
    for (std::size_t c = 0; c < checks.size(); ++c) {
      if (checks[c]->root != searched) continue;
      for (std::string_view file : checks[c]->files) {
        names.push_back(file);
        groups.push_back(c);
      }
    }
    const std::string folder = root(searched);
    std::vector<platform::SearchTrouble> troubles(checks.size());
    std::vector<std::string> found = FindFiles(names, folder, groups, troubles);
    std::size_t next = 0;
    for (std::size_t c = 0; c < checks.size(); ++c) {
      if (checks[c]->root != searched) continue;
      results[c].folder = folder;
      results[c].trouble = troubles[c];
      for (std::string& path : results[c].paths) path = std::move(found[next++]);
    }
  }
  return ChecksFound(std::move(results));
}

ComponentFinding JudgeComponent(const CheckFiles& files) {
  const ComponentCheck& check = *files.check;
  ComponentFinding finding{
      .name = check.name, .root = check.root, .folder = files.folder, .trouble = files.trouble};
  for (std::size_t i = 0; i < check.files.size(); ++i) {
    const std::string& path = files.paths[i];
    if (path.empty()) {
      finding.missing.emplace_back(check.files[i]);
    } else if (check.anyFileSuffices && finding.found.empty()) {
      finding.found = path;
    }
  }
  finding.present = check.anyFileSuffices ? !finding.found.empty() : finding.missing.empty();
  if (finding.present) {
    finding.status = ComponentStatus::Present;
  } else if (finding.folder.empty() || finding.trouble.problem != platform::SearchProblem::None) {
    finding.status = ComponentStatus::Unchecked;
  }
  return finding;
}

std::vector<ComponentFinding> FindAllComponents(const RootFolder& root) {
  const ChecksFound found = SearchChecks(kComponentChain, root);
  std::vector<ComponentFinding> findings;
  for (const CheckFiles& files : found.All()) findings.push_back(JudgeComponent(files));
  return findings;
}

}  // namespace belvosta
