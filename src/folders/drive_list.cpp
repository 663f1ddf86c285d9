// The drive list of FormS: one line per drive, its letter and a German name for its type.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

#include "folders/form_s.h"
#include "platform/kernel32.h"

namespace belvosta {
namespace {

// The buffer the drive roots are first asked into; more drives ask for a larger one.
constexpr std::size_t kDriveBufferSize = 64;

// The text of a drive type; nothing for a root that has no drive.
std::optional<std::string_view> DriveTypeText(unsigned type) {
  switch (type) {
    case platform::kDriveNoRootDir:
      return std::nullopt;
    case platform::kDriveRemovable:
      return "Wechseldatenträger";
    case platform::kDriveFixed:
      return "Festplatte";
    case platform::kDriveRemote:
      return "Netzlaufwerk";
    case platform::kDriveCdRom:
      return "CD-ROM";
    case platform::kDriveRamDisk:
      return "RAM-Disk";
    default:
      // The platform could not tell what the drive is; list it all the same.
      return "Unbekannt";
  }
}

// The drive roots, each ended by a NUL, as the platform lists them; no NUL on failure.
std::vector<char> LogicalDriveStrings() {
  std::vector<char> buffer(kDriveBufferSize, ' ');
  const unsigned needed = platform::GetLogicalDriveStringsA(buffer);
  if (needed <= buffer.size()) return buffer;
  // Too many drives for the first buffer: the result is the size needed.
  std::vector<char> larger(needed, ' ');
  if (platform::GetLogicalDriveStringsA(larger) > larger.size()) return {};
  return larger;
}

}  // namespace

void FormS::Command2_Click() {
  List1.Clear();
  const std::vector<char> buffer = LogicalDriveStrings();
  std::string_view rest(buffer.data(), buffer.size());
  for (;;) {
    const std::size_t nul = rest.find('\0');
    if (nul == std::string_view::npos) break;
    const std::string_view root = rest.substr(0, nul);
    // The empty root is the extra NUL that ends the list.
    if (root.empty()) break;
    rest.remove_prefix(nul + 1);
    const auto text = DriveTypeText(platform::GetDriveTypeA(root));
    if (!text) continue;
    std::string line(root.substr(0, 2));
    std::transform(line.begin(), line.end(), line.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    List1.AddItem(line + " " + std::string(*text));
  }
}

void FormS::List1_DblClick() {
  Command2_Click();
}

}  // namespace belvosta
