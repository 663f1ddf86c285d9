// The system folders window: its folder rows, drive list, computer facts and handlers.
#include <gtest/gtest.h>

#include "fake/fixture.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"

namespace {

using namespace platform;

// The folder numbers in the order the window fills its rows.
const std::vector<int> kLoadOrder = {
    kCsidlDesktopDirectory, kCsidlStartMenu,     kCsidlProgramFiles, kCsidlPersonal,
    kCsidlFavorites,        kCsidlCommonStartup, kCsidlRecent,       kCsidlSendTo,
    kCsidlTemplates,        kCsidlNetwork,       kCsidlFonts,        kCsidlInternetCache,
    kCsidlCookies,          kCsidlSystem,        kCsidlAppData,      kCsidlProgramFilesCommon,
    kCsidlWindows};

class FoldersWindowTest : public fake::ProgramTest {
 protected:
  FoldersWindowTest() {
    for (int csidl : kLoadOrder) {
      fake.system.specialFolders[csidl] = "C:\\Folder" + std::to_string(csidl);
    }
    fake.system.specialFolders[kCsidlNetwork] = std::nullopt;  // virtual: no path
    fake.system.drives = {{"a:\\", kDriveRemovable}, {"C:\\", kDriveFixed}, {"D:\\", kDriveCdRom}};
  }
  belvosta::FormS& folders() { return program->FormS; }
};

TEST_F(FoldersWindowTest, ReadingTheSystemFolderLoadsTheWindowHiddenWithEveryRowFilled) {
  EXPECT_EQ(folders().Label34.Caption(), "C:\\Folder37");
  EXPECT_TRUE(folders().IsLoaded());
  EXPECT_FALSE(folders().IsShown());
  std::vector<int> asked;
  for (const auto& lookup : fake.system.folderLookups) {
    asked.push_back(lookup.csidl);
    EXPECT_EQ(lookup.owner, folders().hWnd());
  }
  EXPECT_EQ(asked, kLoadOrder);
  EXPECT_EQ(fake.system.idListsOutstanding, 0);  // every item list released
  EXPECT_EQ(folders().Label3.Caption(), "C:\\Folder38");
  EXPECT_EQ(folders().Label42.Caption(), "C:\\Folder33");
  EXPECT_EQ(folders().Label10.Caption(), "");  // Netzwerkumgebung: no file-system path
  EXPECT_EQ(folders().Label11.Caption(), "C:\\Folder20");

  // After EXIT the next read resolves every folder again.
  fake.system.specialFolders[kCsidlSystem] = "D:\\WINNT\\system32";
  EXPECT_EQ(folders().Label34.Caption(), "C:\\Folder37");  // still loaded: not refreshed
  folders().Command3.RaiseClick();
  EXPECT_FALSE(folders().IsLoaded());
  EXPECT_EQ(folders().Label34.Caption(), "D:\\WINNT\\system32");
  EXPECT_EQ(fake.system.folderLookups.size(), 2 * kLoadOrder.size());
}

TEST_F(FoldersWindowTest, AnUnresolvableFolderLeavesOnlyItsOwnRowEmpty) {
  fake.system.specialFolders.erase(kCsidlCommonStartup);
  EXPECT_EQ(folders().Label6.Caption(), "");
  EXPECT_EQ(folders().Label5.Caption(), "C:\\Folder6");
  EXPECT_EQ(folders().Label7.Caption(), "C:\\Folder8");
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
}

TEST_F(FoldersWindowTest, TwentyDrivesAreAllListed) {
  fake.system.drives.clear();
  for (char letter = 'C'; letter < 'C' + 20; ++letter) {
    fake.system.drives.push_back({std::string(1, letter) + ":\\", kDriveFixed});
  }
  ASSERT_EQ(folders().List1.ListCount(), 20);
  EXPECT_EQ(folders().List1.List(19), "V: Festplatte");
}

TEST_F(FoldersWindowTest, TheLoadShowsNameTempFolderAndResolutionAndTitlesTheWindow) {
  fake.system.computerName = "ABCDEFGHIJKLMNO";  // 15 characters, the longest there is
  fake.system.tempPath = "C:\\DOKUME~1\\tester\\LOKALE~1\\Temp\\";
  folders().Show();
  EXPECT_EQ(folders().Label31.Caption(), "Dieser Rechner heißt: ABCDEFGHIJKLMNO");
  EXPECT_EQ(folders().Caption(), folders().Label31.Caption());
  EXPECT_EQ(folders().Label13.Caption(), "C:\\DOKUME~1\\tester\\LOKALE~1\\Temp\\");
  EXPECT_EQ(folders().Label27.Caption(), "1024 x 768");
  EXPECT_EQ(folders().Label28.Caption(), "1024 x 768");
  EXPECT_EQ(folders().Frame1.Caption(), "Windows-System-Ordner:");
}

TEST_F(FoldersWindowTest, FailingFactsLeaveTheirDesignCaptions) {
  fake.system.computerName.reset();
  fake.system.tempPath.reset();
  fake.system.screen.twipsPerPixelX = 0;  // no screen metrics: no division by zero
  folders().Show();
  EXPECT_EQ(folders().Label31.Caption(), "Rechner");
  EXPECT_EQ(folders().Caption(), "Rechner");
  EXPECT_EQ(folders().Label13.Caption(), "");
  EXPECT_EQ(folders().Label28.Caption(), "1");
}

TEST_F(FoldersWindowTest, ShowingAfterACheckLoadedItDisplaysThatLoadAndExitRereads) {
  folders().Label34.Caption();  // as a check does
  fake.system.computerName = "NEWNAME";
  main().Command11.RaiseClick();
  EXPECT_TRUE(folders().IsShown());
  EXPECT_EQ(folders().Label31.Caption(), "Dieser Rechner heißt: TESTPC");
  folders().Command3.RaiseClick();
  EXPECT_FALSE(folders().IsShown());
  main().Command11.RaiseClick();
  EXPECT_EQ(folders().Label31.Caption(), "Dieser Rechner heißt: NEWNAME");
}

TEST_F(FoldersWindowTest, ARowClickHandsItsPathToTheShellAndHoverShowsIt) {
  folders().Show();
  folders().Label33.RaiseClick();  // System32
  folders().Label23.RaiseClick();  // Netzwerkumgebung: the empty path as it stands
  folders().Label26.RaiseClick();  // temporary folder
  ASSERT_EQ(fake.system.shellOpens.size(), 3u);
  EXPECT_EQ(fake.system.shellOpens[0].file, "C:\\Folder37");
  EXPECT_EQ(fake.system.shellOpens[0].owner, folders().hWnd());
  EXPECT_EQ(fake.system.shellOpens[0].operation, "Open");
  EXPECT_EQ(fake.system.shellOpens[1].file, "");
  EXPECT_EQ(fake.system.shellOpens[2].file, "C:\\TEMP\\");

  folders().Label34.RaiseMouseMove();
  EXPECT_EQ(folders().Label34.ToolTipText(), "C:\\Folder37");
  folders().Label10.RaiseMouseMove();
  EXPECT_EQ(folders().Label10.ToolTipText(), "");
  EXPECT_EQ(folders().Label20.ToolTipText(),
            "Mit Klick Pfad öffnen: Verknüpfungen von den zuletzt benutzte Dokumente !");
}

}  // namespace
