// FileFind and Pause: the two routines every component check stands on.
#include <cmath>
#include <cstdint>

#include "checks/file_search.h"
#include "checks/sucher1.h"
#include "platform/kernel32.h"

namespace belvosta {

std::string sucher1::FileFind(const std::string& hFileName, std::string hPart) {
  const std::string_view names[] = {hFileName};
  return std::move(FindFiles(names, hPart).front());
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
