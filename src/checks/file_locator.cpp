// FileFind and Pause: the two routines every component check stands on.
#include <algorithm>
#include <cmath>
#include <vector>

#include "checks/sucher1.h"
#include "platform/imagehlp.h"
#include "platform/kernel32.h"

namespace belvosta {
namespace {

// While a walk runs, the window's events are processed at least this often, so that it
// repaints, its timers tick and it answers input (Windows greys a window that does not
// answer for five seconds).
constexpr std::uint64_t kEventsEveryMs = 25;

}  // namespace

std::string sucher1::FileFind(const std::string& hFileName, std::string hPart) {
  const std::string_view names[] = {hFileName};
  return std::move(FindFiles(names, hPart).front());
}

std::vector<std::string> sucher1::FindFiles(std::span<const std::string_view> names,
                                            const std::string& hPart,
                                            platform::SearchTrouble* trouble) {
  return FindNames(names, hPart, {}, {}, trouble);
}

std::vector<std::string> sucher1::FindFiles(std::span<const std::string_view> names,
                                            const std::string& hPart,
                                            std::span<const std::size_t> groups,
                                            std::span<platform::SearchTrouble> groupTrouble) {
  return FindNames(names, hPart, groups, groupTrouble, nullptr);
}

std::vector<std::string> sucher1::FindNames(std::span<const std::string_view> names,
                                            const std::string& hPart,
                                            std::span<const std::size_t> groups,
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
    // Input is handled as during Pause: a click runs its handler nested, here.
    ui::DoEvents();
    lastEvents = platform::GetTickCount64();
  };
  // Room for any full path the platform can hand back, so a long find is returned whole.
  std::vector<std::string> paths(searched.size());
  platform::SearchTreeForFiles({.root = hPart,
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

void sucher1::Pause(float seconds) {
  // A clock that never restarts, so a wait across midnight ends like any other.
  const std::uint64_t start = platform::GetTickCount64();
  const double total = static_cast<double>(seconds) * 1000.0;
  for (;;) {
    // Sleeps until input arrives, a timer is due or the pause is over, then handles them.
    const double left = total - static_cast<double>(platform::GetTickCount64() - start);
    ui::WaitEvents(left > 0 ? static_cast<std::int64_t>(std::ceil(left)) : 0);
    if (static_cast<double>(platform::GetTickCount64() - start) >= total) break;
  }
}

}  // namespace belvosta
