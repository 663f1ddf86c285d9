// The facts FormS shows besides the folders: computer name, temporary folder, and the
// screen resolution measured two ways.
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "folders/form_s.h"
#include "platform/kernel32.h"
#include "platform/user32.h"

namespace belvosta {
namespace {

std::string Resolution(long width, long height) {
  return std::to_string(width) + " x " + std::to_string(height);
}

// A screen size in pixels from twips, rounded half to even; nothing for a quotient that no
// 32-bit number holds (no screen, or no twips per pixel).
std::optional<long> Pixels(double twips, double twipsPerPixel) {
  const double pixels = std::nearbyint(twips / twipsPerPixel);
  if (!std::isfinite(pixels) || pixels < std::numeric_limits<std::int32_t>::min() ||
      pixels > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<long>(pixels);
}

}  // namespace

void FormS::ShowComputerName() {
  std::vector<char> buffer(16, '\0');
  unsigned long size = 16;
  if (platform::GetComputerNameA(buffer, size) != 1) return;
  const std::string name(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
  Label31.SetCaption("Dieser Rechner heißt: " + name);
}

void FormS::ShowTempFolder() {
  std::vector<char> buffer(512, ' ');
  platform::GetTempPathA(buffer);
  std::string path(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
  const auto first = path.find_first_not_of(' ');
  path = first == std::string::npos ? std::string() : path.substr(first);
  path.erase(path.find_last_not_of(' ') + 1);
  Label13.SetCaption(path);
}

void FormS::ShowResolutions() {
  platform::RECT desktop;
  if (platform::GetWindowRect(platform::GetDesktopWindow(), desktop) != 0) {
    Label27.SetCaption(Resolution(desktop.right, desktop.bottom));
  }
  const platform::ScreenTwips screen = platform::GetScreenTwips();
  const auto width = Pixels(screen.width, screen.twipsPerPixelX);
  const auto height = Pixels(screen.height, screen.twipsPerPixelY);
  if (width && height) Label28.SetCaption(Resolution(*width, *height));
}

}  // namespace belvosta
