#include "checks/component_search.h"

#include "checks/sucher1.h"

namespace belvosta {

void SearchComponentFiles(const ComponentCheck& check, const RootFolder& root,
                          const SearchDone& done, platform::SearchTrouble* trouble) {
  // One walk for all of the check's files; their results are then handed on one by one.
  std::vector<std::string> found = sucher1::FindFiles(check.files, root(check.root), trouble);
  for (std::size_t i = 0; i < check.files.size(); ++i) done(i, check.files[i], std::move(found[i]));
}

ComponentFinding FindComponent(const ComponentCheck& check, const RootFolder& root) {
  ComponentFinding finding{.name = check.name, .root = check.root, .folder = root(check.root)};
  SearchComponentFiles(
      check, [&finding](SearchRoot) { return finding.folder; },
      [&](std::size_t, std::string_view file, std::string path) {
        if (path.empty()) {
          finding.missing.emplace_back(file);
        } else if (check.anyFileSuffices && finding.found.empty()) {
          finding.found = std::move(path);
        }
      },
      &finding.trouble);
  finding.present = check.anyFileSuffices ? !finding.found.empty() : finding.missing.empty();
  if (finding.present) {
    finding.status = ComponentStatus::Present;
  } else if (finding.folder.empty() || finding.trouble.problem != platform::SearchProblem::None) {
    finding.status = ComponentStatus::Unchecked;
  }
  return finding;
}

std::vector<ComponentFinding> FindAllComponents(const RootFolder& root) {
  std::vector<ComponentFinding> findings;
  for (const ComponentCheck* check : kComponentChain)
    findings.push_back(FindComponent(*check, root));
  return findings;
}

}  // namespace belvosta
