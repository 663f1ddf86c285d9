// The system folders window: its folder rows, drive list, computer facts and handlers.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fake/fixture.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"

namespace {

using namespace platform;
using namespace ui;

// A German Windows XP as its shell describes it: each row's caption, the folder it names
// and the path the shell gives for it.
struct FolderRow {
  const char* caption;
  int csidl;
  std::optional<std::string> path;
};
const std::string kUser = "C:\\Dokumente und Einstellungen\\tester\\";
const FolderRow kGermanXp[] = {
    {"Desktop:", kCsidlDesktopDirectory, kUser + "Desktop"},
    {"Startmenü:", kCsidlStartMenu, kUser + "Startmenü"},
    {"Programme:", kCsidlProgramFiles, "C:\\Programme"},
    {"Eigene Dateien:", kCsidlPersonal, kUser + "Eigene Dateien"},
    {"Favoriten:", kCsidlFavorites, kUser + "Favoriten"},
    {"Autostart:", kCsidlCommonStartup,
     "C:\\Dokumente und Einstellungen\\All Users\\Startmenü\\Autostart"},
    {"Dokumente:", kCsidlRecent, kUser + "Recent"},
    {"COOKIES", kCsidlCookies, kUser + "Cookies"},
    {"Senden an:", kCsidlSendTo, kUser + "SendTo"},
    {"Vorlagen:", kCsidlTemplates, kUser + "Vorlagen"},
    {"Netzwerkumgebung:", kCsidlNetwork, std::nullopt},  // virtual: no file-system path
    {"Schriftarten:", kCsidlFonts, "C:\\WINDOWS\\Fonts"},
    {"Temporär Internet:", kCsidlInternetCache,
     kUser + "Lokale Einstellungen\\Temporary Internet Files"},
    {"Anwendungsdaten:", kCsidlAppData, kUser + "Anwendungsdaten"},
    {"Gemeinsamme:", kCsidlProgramFilesCommon, "C:\\Programme\\Gemeinsame Dateien"},
    {"WINDOWS:", kCsidlWindows, "C:\\WINDOWS"},
    {"System32:", kCsidlSystem, "C:\\WINDOWS\\system32"}};
const std::string kTemp = "C:\\DOKUME~1\\tester\\LOKALE~1\\Temp\\";

class FoldersWindowTest : public fake::ProgramTest {
 protected:
  FoldersWindowTest() {
    for (const FolderRow& row : kGermanXp) fake.system.specialFolders[row.csidl] = row.path;
    fake.system.tempPath = kTemp;
    fake.system.drives = {{"a:\\", kDriveRemovable}, {"C:\\", kDriveFixed}, {"D:\\", kDriveCdRom}};
  }
  belvosta::FormS& folders() { return program->FormS; }

  // The folder rows as the user reads them: each caption of the folder frame that opens a
  // folder when clicked, with the text beside it (the label at its height, to its right).
  std::map<std::string, std::string> Rows() {
    std::map<std::string, std::string> rows;
    for (Control* name : FolderFrameLabels()) {
      if (!name->Click) continue;
      for (Control* path : FolderFrameLabels()) {
        if (path->Top() == name->Top() && path->Left() > name->Left()) {
          rows[name->Caption()] = path->Caption();
        }
      }
    }
    return rows;
  }
  std::vector<Control*> FolderFrameLabels() {
    std::vector<Control*> labels;
    for (Control* c : folders().Controls()) {
      if (c->Kind() == ControlKind::Label && CurrentValues(*c).container == &folders().Frame1) {
        labels.push_back(c);
      }
    }
    return labels;
  }
};

TEST_F(FoldersWindowTest, EveryRowShowsAndOpensTheFolderItNames) {
  folders().Show();
  std::map<std::string, std::string> expected = {{"Temporärer Ordner:", kTemp}};
  for (const FolderRow& row : kGermanXp) expected[row.caption] = row.path.value_or("");
  EXPECT_EQ(Rows(), expected);
  EXPECT_EQ(folders().Label31.Caption(), "Dieser Rechner heißt: " + *fake.system.computerName);
  EXPECT_EQ(folders().Caption(), folders().Label31.Caption());

  // A click on a row's caption hands the shell what the row shows, owned by this window.
  for (Control* name : FolderFrameLabels()) {
    const std::string caption = name->Caption();
    if (!expected.contains(caption)) continue;
    fake.system.shellOpens.clear();
    name->RaiseClick();
    ASSERT_EQ(fake.system.shellOpens.size(), 1u) << caption;
    EXPECT_EQ(fake.system.shellOpens[0].file, expected.at(caption)) << caption;
    EXPECT_EQ(fake.system.shellOpens[0].owner, folders().hWnd()) << caption;
  }
  EXPECT_EQ(fake.system.idListsOutstanding, 0);  // every item list released once
}

TEST_F(FoldersWindowTest, DrivesAreListedWithTheirGermanTypeNames) {
  EXPECT_EQ(folders().List1.Items(),
            (std::vector<std::string>{"A: Wechseldatenträger", "C: Festplatte", "D: CD-ROM"}));
  folders().List1.RaiseDblClick();
  folders().List1.RaiseDblClick();
  EXPECT_EQ(folders().List1.ListCount(), 3);

  // Types the table does not name: no root is left out, an unknown type is still listed.
  fake.system.drives = {{"C:\\", kDriveFixed},
                        {"E:\\", kDriveNoRootDir},
                        {"F:\\", kDriveUnknown},
                        {"Z:\\", kDriveRemote},
                        {"R:\\", kDriveRamDisk}};
  folders().List1.RaiseDblClick();
  EXPECT_EQ(folders().List1.Items(), (std::vector<std::string>{"C: Festplatte", "F: Unbekannt",
                                                               "Z: Netzlaufwerk", "R: RAM-Disk"}));

  // Twenty drives are all listed.
  fake.system.drives.clear();
  for (char letter = 'C'; letter < 'C' + 20; ++letter) {
    fake.system.drives.push_back({std::string(1, letter) + ":\\", kDriveFixed});
  }
  folders().List1.RaiseDblClick();
  ASSERT_EQ(folders().List1.ListCount(), 20);
  EXPECT_EQ(folders().List1.List(19), "V: Festplatte");
}

TEST_F(FoldersWindowTest, TheResolutionInTwipsIsRoundedToWholePixels) {
  // 110 dots per inch: 13.09 twips per pixel, and the screen's size in whole twips.
  const double twipsPerPixel = 1440.0 / 110;
  fake.system.desktopRect = {0, 0, 1366, 900};
  fake.system.screen = {17881, 11782, twipsPerPixel, twipsPerPixel};  // 1365.9 x 900.0
  folders().Show();
  EXPECT_EQ(folders().Label27.Caption(), "1366 x 900");
  EXPECT_EQ(folders().Label28.Caption(), "1366 x 900");
}

// Facts the system cannot give leave their design captions; a folder that cannot be resolved
// leaves only its own row empty, a screen size no 32-bit number holds only its own route.
TEST_F(FoldersWindowTest, FailingFactsLeaveTheirDesignCaptions) {
  fake.system.specialFolders.erase(kCsidlCommonStartup);
  fake.system.computerName.reset();
  fake.system.tempPath.reset();
  fake.system.screen.twipsPerPixelY = 1e-9;  // 11 520 twips: 1.2e13 pixels down
  folders().Show();
  EXPECT_EQ(folders().Label31.Caption(), "Rechner");
  EXPECT_EQ(folders().Caption(), "Rechner");
  EXPECT_EQ(folders().Label13.Caption(), "");
  EXPECT_EQ(folders().Label28.Caption(), "1");
  EXPECT_EQ(folders().Label27.Caption(), "1024 x 768");
  const auto rows = Rows();
  EXPECT_EQ(rows.at("Autostart:"), "");
  EXPECT_EQ(rows.at("Favoriten:"), kUser + "Favoriten");
}

}  // namespace
