// The Windows shell: special folders and opening documents.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "platform/operations.h"
#include "platform/window_handle.h"

namespace platform {

// A German phrase for a message that names one path, the path kept apart so that the
// message can shorten it: before + path + after.
struct PathPhrase {
  std::string before;
  std::string path;
  std::string after;

  std::string Whole() const { return before + path + after; }
  bool empty() const { return before.empty() && path.empty() && after.empty(); }
};

// The shell's identifier of a folder; opaque, released with ILFree.
struct ItemIdList;

// Special folder numbers (CSIDL) that the program asks for.
inline constexpr int kCsidlPersonal = 5;
inline constexpr int kCsidlFavorites = 6;
inline constexpr int kCsidlRecent = 8;
inline constexpr int kCsidlSendTo = 9;
inline constexpr int kCsidlStartMenu = 11;
inline constexpr int kCsidlDesktopDirectory = 16;
inline constexpr int kCsidlNetwork = 18;
inline constexpr int kCsidlFonts = 20;
inline constexpr int kCsidlTemplates = 21;
inline constexpr int kCsidlCommonStartup = 24;
inline constexpr int kCsidlAppData = 26;
inline constexpr int kCsidlInternetCache = 32;
inline constexpr int kCsidlCookies = 33;
inline constexpr int kCsidlWindows = 36;
inline constexpr int kCsidlSystem = 37;
inline constexpr int kCsidlProgramFiles = 38;
inline constexpr int kCsidlProgramFilesCommon = 43;

inline constexpr int kSwShowNormal = 1;

// The status of a failed shell call (E_FAIL).
inline constexpr long kShellFailure = static_cast<long>(0x80004005u);

// The operations themselves, described in operations.h.
BELVOSTA_SHELL32_OPERATIONS(BELVOSTA_DECLARE_FUNCTION, BELVOSTA_NO_FUNCTION)
long SHGetSpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList** list);
int SHGetPathFromIDListA(const ItemIdList* list, std::span<char> path);
void ILFree(ItemIdList* list);

}  // namespace platform
