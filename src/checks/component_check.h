// What one component check searches, records and says, the checks in chain order, and the
// rows of the main window they show their outcome in.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace belvosta {

enum class SearchRoot { SystemFolder, ProgramFiles };

// The rows of the main window's column of checks, top to bottom: one per check of the chain,
// in chain order, then the speed test's. Each row has a tick and a cover over it.
enum class CheckRow : std::size_t {
  FlashPlayer,
  RuntimeFiles,
  ServicePackFiles,
  InternetExplorer,
  MediaPlayer,
  SpeedTest,  // the row after the chain's
};

// How many checks the chain holds, and rows the main window.
inline constexpr std::size_t kComponentCount = static_cast<std::size_t>(CheckRow::SpeedTest);
inline constexpr std::size_t kCheckRowCount = kComponentCount + 1;

// The index of a row among the main window's ticks and covers.
constexpr std::size_t RowIndex(CheckRow row) {
  return static_cast<std::size_t>(row);
}

struct ComponentCheck {
  std::string_view name;  // the component's German name, as the command line prints it
  std::vector<std::string_view> files;  // searched in this order, names as written
  SearchRoot root = SearchRoot::SystemFolder;
  bool anyFileSuffices = false;          // the Flash Player: one of its files is enough
  std::string_view missingEntry;         // listed for a missing file; empty: the file's own name
  CheckRow row = CheckRow::FlashPlayer;  // the row of the check's tick and its cover
  std::string_view failTitle;
  std::string_view failText;
  std::string_view query;  // the search page's query offered on failure
  std::string_view okText;
  bool countBox = false;     // a box with the number of missing files before the failure box
  bool revealOnPass = true;  // the Media Player check reveals its tick at the end of the chain
};

extern const ComponentCheck kFlashPlayer;
extern const ComponentCheck kRuntimeFiles;
extern const ComponentCheck kServicePackFiles;
extern const ComponentCheck kInternetExplorer;
extern const ComponentCheck kMediaPlayer;

// Flash Player, runtime files, service pack, Internet Explorer, Media Player: check i shows
// its outcome in row i.
extern const std::array<const ComponentCheck*, kComponentCount> kComponentChain;

}  // namespace belvosta
