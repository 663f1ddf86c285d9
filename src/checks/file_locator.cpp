// FileFind and Pause: the two routines every component check stands on.
#include <algorithm>
#include <vector>

#include "checks/sucher1.h"
#include "platform/imagehlp.h"
#include "platform/kernel32.h"

namespace belvosta {

std::string sucher1::FileFind(const std::string& hFileName, std::string hPart) {
  // A name of blanks only, or no name, finds nothing without searching.
  if (hFileName.find_first_not_of(' ') == std::string::npos) return {};
  // Room for any full path the platform can hand back, so a long find is returned whole
  // and nothing is ever written past the buffer.
  std::vector<char> buffer(platform::kMaxFullPath, '\0');
  if (!platform::SearchTreeForFile(hPart, hFileName, buffer)) return {};
  const auto end = std::find(buffer.begin(), buffer.end(), '\0');
  if (end == buffer.end()) return {};
  return std::string(buffer.begin(), end);
}

void sucher1::Pause(float seconds) {
  // A clock that never restarts, so a wait across midnight ends like any other.
  const std::uint64_t start = platform::GetTickCount64();
  do {
    platform::DoEvents();
  } while (static_cast<double>(platform::GetTickCount64() - start) / 1000.0 < seconds);
}

}  // namespace belvosta
