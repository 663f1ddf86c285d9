// The seventeen special folders of FormS, resolved through the shell at every load.
#include <algorithm>
#include <array>
#include <vector>

#include "folders/form_s.h"
#include "folders/special_folders.h"
#include "platform/shell32.h"

namespace belvosta {
namespace {

struct FolderRow {
  ui::Label FormS::*pathLabel;
  int folderNumber;  // CSIDL
};

// Filled in this order, which differs from the order on screen.
constexpr std::array<FolderRow, 17> kFolderTable = {{
    {&FormS::Label1, platform::kCsidlDesktopDirectory},
    {&FormS::Label2, platform::kCsidlStartMenu},
    {&FormS::Label3, platform::kCsidlProgramFiles},
    {&FormS::Label4, platform::kCsidlPersonal},
    {&FormS::Label5, platform::kCsidlFavorites},
    {&FormS::Label6, platform::kCsidlCommonStartup},
    {&FormS::Label7, platform::kCsidlRecent},
    {&FormS::Label8, platform::kCsidlSendTo},
    {&FormS::Label9, platform::kCsidlTemplates},
    {&FormS::Label10, platform::kCsidlNetwork},
    {&FormS::Label11, platform::kCsidlFonts},
    {&FormS::Label12, platform::kCsidlInternetCache},
    {&FormS::Label42, platform::kCsidlCookies},
    {&FormS::Label34, platform::kCsidlSystem},
    {&FormS::Label36, platform::kCsidlAppData},
    {&FormS::Label38, platform::kCsidlProgramFilesCommon},
    {&FormS::Label40, platform::kCsidlWindows},
}};

// The first path buffer of the shell call; the platform's path limit of 260 fits in it. A
// path that does not fit (a Wine prefix deep down, 260 letters of three bytes each) is asked
// for again with twice the room, up to far beyond anything the environment can name.
constexpr std::size_t kPathBufferSize = 512;
constexpr std::size_t kLongestPathBuffer = 1 << 20;

}  // namespace

std::string ErmittleSpezialordner(platform::WindowHandle owner, int folderNumber) {
  platform::ItemIdList* list = nullptr;
  if (platform::SHGetSpecialFolderLocation(owner, folderNumber, &list) != 0) return {};
  std::vector<char> buffer(kPathBufferSize, '\0');
  int found = platform::SHGetPathFromIDListA(list, buffer);
  while (found == 0 && buffer.size() < kLongestPathBuffer) {
    buffer.assign(buffer.size() * 2, '\0');
    found = platform::SHGetPathFromIDListA(list, buffer);
  }
  platform::ILFree(list);
  // A virtual folder (the network neighbourhood) has no file-system path.
  if (found == 0) return {};
  return std::string(buffer.begin(), std::find(buffer.begin(), buffer.end(), '\0'));
}

void FormS::FillSpecialFolders() {
  for (const FolderRow& row : kFolderTable) {
    (this->*row.pathLabel).SetCaption(ErmittleSpezialordner(hWnd(), row.folderNumber));
  }
}

}  // namespace belvosta
