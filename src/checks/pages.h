// The web pages the program hands to the shell, exactly as the browser receives them.
#pragma once

#include <string>
#include <string_view>

namespace belvosta {

// The search engine behind "Bei Googele suchen...": its search page answers at /search.
inline constexpr std::string_view kSearchSiteName = "Google";
inline constexpr std::string_view kSearchPage = "http://www.google.de/search?";

// The Flash Player download page of its vendor.
inline constexpr std::string_view kFlashPlayerPage = "http://www.adobe.com/de/flashplayer/";

// One fixed query per component, blanks kept as they stand.
inline constexpr std::string_view kRuntimeQuery =
    "hl=de&q=vb+runtime+download&meta=&aq=1&oq=vb+runtime+download";
inline constexpr std::string_view kServicePackQuery =
    "hl=de&q=Windows Service -Pack+SP+download&meta=&aq=1&oq=Windows Service -Pack+sp+download";
inline constexpr std::string_view kExplorerQuery =
    "hl=de&q=Windows-Internet-Explorer+download&meta=&aq=1&oq=Windows-Internet-Explorer+download";
inline constexpr std::string_view kMediaPlayerQuery =
    "hl=de&q=Windows+Media Player+download&meta=&aq=1&oq=Windows+Media Player+download";

// The search page with one of the queries above.
inline std::string SearchPage(std::string_view query) {
  return std::string(kSearchPage) + std::string(query);
}

}  // namespace belvosta
