// The Windows shell: special folders and opening documents.
#pragma once

#include <span>
#include <string_view>

#include "platform/forms.h"

namespace platform {

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

// Returns 0 and an item list for a folder the system knows, nonzero otherwise (list null).
long SHGetSpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList** list);
// Nonzero when the list names a file-system folder: the buffer then holds its path and a
// NUL. Virtual folders (the network neighbourhood) give 0. A path that does not fit the
// buffer with its NUL gives 0 and writes nothing.
int SHGetPathFromIDListA(const ItemIdList* list, std::span<char> path);
// Releases an item list through the shell's allocator; null is allowed.
void ILFree(ItemIdList* list);

inline constexpr int kSwShowNormal = 1;

// Hands a document, folder or web address to the shell, which opens it with its program.
// parameters and directory may be null. The result (above 32 on success) is informational.
std::intptr_t ShellExecuteA(WindowHandle owner, std::string_view operation, std::string_view file,
                            const char* parameters, const char* directory, int showCmd);

}  // namespace platform
