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

// A German Windows XP as its shell describes it.
const std::map<int, std::optional<std::string>> kGermanXp = {
    {kCsidlDesktopDirectory, "C:\\Dokumente und Einstellungen\\tester\\Desktop"},
    {kCsidlStartMenu, "C:\\Dokumente und Einstellungen\\tester\\Startmenü"},
    {kCsidlProgramFiles, "C:\\Programme"},
    {kCsidlPersonal, "C:\\Dokumente und Einstellungen\\tester\\Eigene Dateien"},
    {kCsidlFavorites, "C:\\Dokumente und Einstellungen\\tester\\Favoriten"},
    {kCsidlCommonStartup, "C:\\Dokumente und Einstellungen\\All Users\\Startmenü\\Autostart"},
    {kCsidlRecent, "C:\\Dokumente und Einstellungen\\tester\\Recent"},
    {kCsidlSendTo, "C:\\Dokumente und Einstellungen\\tester\\SendTo"},
    {kCsidlTemplates, "C:\\Dokumente und Einstellungen\\tester\\Vorlagen"},
    {kCsidlNetwork, std::nullopt},  // virtual: no file-system path
    {kCsidlFonts, "C:\\WINDOWS\\Fonts"},
    {kCsidlInternetCache,
     "C:\\Dokumente und Einstellungen\\tester\\Lokale "
     "Einstellungen\\Temporary Internet Files"},
    {kCsidlCookies, "C:\\Dokumente und Einstellungen\\tester\\Cookies"},
    {kCsidlSystem, "C:\\WINDOWS\\system32"},
    {kCsidlAppData, "C:\\Dokumente und Einstellungen\\tester\\Anwendungsdaten"},
    {kCsidlProgramFilesCommon, "C:\\Programme\\Gemeinsame Dateien"},
    {kCsidlWindows, "C:\\WINDOWS"}};

class FoldersWindowTest : public fake::ProgramTest {
 protected:
  FoldersWindowTest() {
    fake.system.specialFolders = kGermanXp;
    fake.system.tempPath = "C:\\DOKUME~1\\tester\\LOKALE~1\\Temp\\";
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
  const std::map<std::string, std::string> expected = {
      {"Desktop:", "C:\\Dokumente und Einstellungen\\tester\\Desktop"},
      {"Startmenü:", "C:\\Dokumente und Einstellungen\\tester\\Startmenü"},
      {"Programme:", "C:\\Programme"},
      {"Eigene Dateien:", "C:\\Dokumente und Einstellungen\\tester\\Eigene Dateien"},
      {"Favoriten:", "C:\\Dokumente und Einstellungen\\tester\\Favoriten"},
      {"Autostart:", "C:\\Dokumente und Einstellungen\\All Users\\Startmenü\\Autostart"},
      {"Dokumente:", "C:\\Dokumente und Einstellungen\\tester\\Recent"},
      {"COOKIES", "C:\\Dokumente und Einstellungen\\tester\\Cookies"},
      {"Senden an:", "C:\\Dokumente und Einstellungen\\tester\\SendTo"},
      {"Vorlagen:", "C:\\Dokumente und Einstellungen\\tester\\Vorlagen"},
      {"Netzwerkumgebung:", ""},
      {"Schriftarten:", "C:\\WINDOWS\\Fonts"},
      {"Temporär Internet:",
       "C:\\Dokumente und Einstellungen\\tester\\Lokale Einstellungen\\Temporary Internet Files"},
      {"Temporärer Ordner:", "C:\\DOKUME~1\\tester\\LOKALE~1\\Temp\\"},
      {"Anwendungsdaten:", "C:\\Dokumente und Einstellungen\\tester\\Anwendungsdaten"},
      {"Gemeinsamme:", "C:\\Programme\\Gemeinsame Dateien"},
      {"WINDOWS:", "C:\\WINDOWS"},
      {"System32:", "C:\\WINDOWS\\system32"}};
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
  for (const auto& lookup : fake.system.folderLookups) EXPECT_EQ(lookup.owner, folders().hWnd());
  EXPECT_EQ(fake.system.idListsOutstanding, 0);  // every item list released
  EXPECT_EQ(fake.system.idListMisuses, 0);
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
// leaves only its own row empty.
TEST_F(FoldersWindowTest, FailingFactsLeaveTheirDesignCaptions) {
  fake.system.specialFolders.erase(kCsidlCommonStartup);
  fake.system.computerName.reset();
  fake.system.tempPath.reset();
  fake.system.screen.twipsPerPixelX = 0;  // no screen metrics: no division by zero
  folders().Show();
  EXPECT_EQ(folders().Label31.Caption(), "Rechner");
  EXPECT_EQ(folders().Caption(), "Rechner");
  EXPECT_EQ(folders().Label13.Caption(), "");
  EXPECT_EQ(folders().Label28.Caption(), "1");
  const auto rows = Rows();
  EXPECT_EQ(rows.at("Autostart:"), "");
  EXPECT_EQ(rows.at("Favoriten:"), "C:\\Dokumente und Einstellungen\\tester\\Favoriten");
}

TEST_F(FoldersWindowTest, AScreenSizeNoThirtyTwoBitNumberHoldsIsLeftOut) {
  fake.system.screen.twipsPerPixelY = 1e-9;  // 11 520 twips: 1.2e13 pixels down
  folders().Show();
  EXPECT_EQ(folders().Label28.Caption(), "1");
  EXPECT_EQ(folders().Label27.Caption(), "1024 x 768");  // the other route still answers
}

}  // namespace
