// What one component check searches, records and says, and the five checks in chain order.
#pragma once

#include <array>
#include <string_view>
#include <vector>

namespace belvosta {

enum class SearchRoot { SystemFolder, ProgramFiles };

struct ComponentCheck {
  std::string_view name;  // the component's German name, as the command line prints it
  std::vector<std::string_view> files;  // searched in this order, names as written
  SearchRoot root = SearchRoot::SystemFolder;
  bool anyFileSuffices = false;   // the Flash Player: one of its files is enough
  std::string_view missingEntry;  // listed for a missing file; empty: the file's own name
  int cover = 0;                  // index of the cover over the check's tick
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

// Flash Player, runtime files, service pack, Internet Explorer, Media Player.
extern const std::array<const ComponentCheck*, 5> kComponentChain;

}  // namespace belvosta
