#include "checks/file_search.h"

#include <cstdint>

#include "platform/kernel32.h"
#include "ui/forms.h"

namespace belvosta {
namespace {

// While a walk runs, the window's events are processed at least this often, so that it
// repaints, its timers tick and it answers input (Windows greys a window that does not
// answer for five seconds).
constexpr std::uint64_t kEventsEveryMs = 25;

std::vector<std::string> FindNames(std::span<const std::string_view> names,
                                   const std::string& folder, std::span<const std::size_t> groups,
                                   std::span<platform::SearchTrouble> groupTrouble,
                                   platform::SearchTrouble* trouble) {
  std::vector<std::string> found(names.size());
  // A name of blanks only, or no name, finds nothing without searching.
  std::vector<std::string_view> searched;
  std::vector<std::size_t> searchedGroups;
  std::vector<std::size_t> places;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (platform::IsBlank(names[i])) continue;
    searched.push_back(names[i]);
    if (i < groups.size()) searchedGroups.push_back(groups[i]);
    places.push_back(i);
  }
  if (searched.empty()) return found;

  std::uint64_t lastEvents = platform::GetTickCount64();
  const auto keepWindowAlive = [&lastEvents] {
    if (platform::GetTickCount64() - lastEvents < kEventsEveryMs) return;
    // Input is handled as during the main window's Pause: a click runs its handler nested, here.
    ui::DoEvents();
    lastEvents = platform::GetTickCount64();
  };
  // Room for any full path the platform can hand back, so a long find is returned whole.
  std::vector<std::string> paths(searched.size());
  platform::SearchTreeForFiles({.root = folder,
                                .names = searched,
                                .bufferSize = platform::kMaxFullPath,
                                .whileSearching = keepWindowAlive,
                                .trouble = trouble,
                                .groups = searchedGroups,
                                .groupTrouble = groupTrouble},
                               paths);
  for (std::size_t i = 0; i < places.size(); ++i) found[places[i]] = std::move(paths[i]);
  return found;
}

}  // namespace

std::vector<std::string> FindFiles(std::span<const std::string_view> names,
                                   const std::string& folder, platform::SearchTrouble* trouble) {
  return FindNames(names, folder, {}, {}, trouble);
}

std::vector<std::string> FindFiles(std::span<const std::string_view> names,
                                   const std::string& folder, std::span<const std::size_t> groups,
                                   std::span<platform::SearchTrouble> groupTrouble) {
  return FindNames(names, folder, groups, groupTrouble, nullptr);
}

}  // namespace belvosta
