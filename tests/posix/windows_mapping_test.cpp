// The mapping of Windows folders, drives and registry keys onto a POSIX system, against
// home folders, Wine prefixes and system files made up in temporary folders.
#include "platform/posix/windows_mapping.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/kernel32.h"
#include "platform/posix/system_backend.h"
#include "platform/shell32.h"
#include "support/folder_chain.h"
#include "support/temp_tree.h"

namespace {

using namespace platform;
using platform::posix::HostEnvironment;
using platform::posix::PosixBackend;

// The folder path the shell calls give for csidl, or nothing when either call fails.
std::optional<std::string> ShellFolder(Backend& backend, int csidl) {
  ItemIdList* list = nullptr;
  if (backend.SpecialFolderLocation(0, csidl, &list) != 0) return std::nullopt;
  char path[512];
  const int found = backend.PathFromIdList(list, path);
  backend.FreeIdList(list);
  if (found == 0) return std::string("<no path>");
  return std::string(path);
}

std::string DriveStrings(Backend& backend) {
  char buffer[64];
  const unsigned length = backend.LogicalDriveStrings(buffer);
  return length < sizeof buffer ? std::string(buffer, length + 1) : std::string();
}

class MappingTest : public ::testing::Test {
 protected:
  MappingTest() {
    host.home = tree.AddFolder("home");
    host.autostartFolder = tree.Root() + "/etc/xdg/autostart";
    host.cpuInfoFile = tree.Root() + "/cpuinfo";
    host.osReleaseFile = tree.Root() + "/os-release";
    host.kernelRelease = "6.1.0-18-amd64";
  }

  // What the command line says about the Windows folder csidl when it has no path.
  std::string Origin(int csidl) const {
    return platform::posix::PrefixFolderOrigin(host, csidl).Whole();
  }

  test_support::TempTree tree;
  HostEnvironment host;
};

TEST_F(MappingTest, AWinePrefixGivesTheWindowsFoldersAndItsDriveLetters) {
  const std::string prefix = tree.AddFolder("prefix");
  host.winePrefix = prefix;
  const std::string system = tree.AddFolder("prefix/drive_c/windows/system32");
  const std::string programs = tree.AddFolder("prefix/drive_c/Program Files");
  tree.AddFolder("prefix/dosdevices");
  const std::string devices = prefix + "/dosdevices/";
  ASSERT_EQ(symlink("../drive_c", (devices + "c:").c_str()), 0);
  ASSERT_EQ(symlink("/", (devices + "z:").c_str()), 0);
  ASSERT_EQ(symlink("/dev/null", (devices + "d::").c_str()), 0);   // a raw device entry
  ASSERT_EQ(symlink("/", (devices + "f::").c_str()), 0);           // one that is a folder
  ASSERT_EQ(symlink("/dev/null", (devices + "com1").c_str()), 0);  // a port
  ASSERT_EQ(symlink("/nonexistent/x", (devices + "e:").c_str()), 0);
  // "Z:" beside "z:" on a case-sensitive file system is still the one drive Z.
  ASSERT_EQ(symlink("/", (devices + "Z:").c_str()), 0);

  PosixBackend backend(host);
  EXPECT_EQ(ShellFolder(backend, kCsidlSystem), system);
  EXPECT_EQ(ShellFolder(backend, kCsidlWindows), prefix + "/drive_c/windows");
  EXPECT_EQ(ShellFolder(backend, kCsidlProgramFiles), programs);
  EXPECT_EQ(ShellFolder(backend, kCsidlFonts), "<no path>");  // not in this prefix
  EXPECT_EQ(DriveStrings(backend), std::string("C:\\\0Z:\\\0", 9));
  EXPECT_EQ(backend.DriveType("c:\\"), kDriveFixed);
  EXPECT_EQ(backend.DriveType("E:\\"), kDriveNoRootDir);
  // An item list is read-only while it is handed out, and refused once released.
  ItemIdList* list = nullptr;
  ASSERT_EQ(backend.SpecialFolderLocation(0, kCsidlNetwork, &list), 0);
  ASSERT_NE(list, nullptr);
  backend.FreeIdList(list);
  char path[512] = "unchanged";
  EXPECT_EQ(backend.PathFromIdList(list, path), 0);  // released: refused, not read
  backend.FreeIdList(list);                          // a second release is harmless
  EXPECT_STREQ(path, "unchanged");
  EXPECT_NE(backend.SpecialFolderLocation(0, 999, &list), 0);
  EXPECT_EQ(list, nullptr);

  // A prefix named but absent counts as none: the root file system is the fixed drive C.
  host.winePrefix = prefix + "/missing";
  PosixBackend withoutPrefix(host);
  EXPECT_EQ(ShellFolder(withoutPrefix, kCsidlSystem), "<no path>");
  EXPECT_EQ(DriveStrings(withoutPrefix), std::string("C:\\\0", 5));
  EXPECT_EQ(withoutPrefix.DriveType("C:\\"), kDriveFixed);

  host.winePrefix.reset();
  PosixBackend byDefault(host);
  tree.AddFolder("home/.wine/drive_c/windows/system32");  // ~/.wine is the default prefix
  EXPECT_EQ(ShellFolder(byDefault, kCsidlSystem), host.home + "/.wine/drive_c/windows/system32");
}

// What the command line says about a Windows folder that has no path: where the prefix came
// from and which part of it is not there. A prefix deeper than the system's path limit is
// found and told about like any other; a name longer than a file system allows is told as
// such, not as missing.
TEST_F(MappingTest, TheOriginOfAPrefixFolderSaysWhatIsMissing) {
  const auto named = [&] { return "Wine-Präfix \"" + *host.winePrefix + "\" aus WINEPREFIX"; };
  host.winePrefix = tree.Root() + "/prefix";
  EXPECT_EQ(Origin(kCsidlSystem), named() + ": fehlt");
  // The path apart, to be shortened.
  EXPECT_EQ(posix::PrefixFolderOrigin(host, kCsidlSystem).path, *host.winePrefix);
  std::ofstream(*host.winePrefix) << "";
  EXPECT_EQ(Origin(kCsidlSystem), named() + ": ist kein Ordner");
  std::filesystem::remove(*host.winePrefix);
  tree.AddFolder("prefix/drive_c/windows");
  EXPECT_EQ(Origin(kCsidlSystem), named() + ": \"drive_c/windows/system32\" fehlt");
  EXPECT_EQ(Origin(kCsidlWindows), named());
  EXPECT_EQ(Origin(kCsidlDesktopDirectory), "");  // not a prefix folder

  test_support::FolderChain chain(tree.Root(), PATH_MAX + 100);
  host.winePrefix = chain.Path();
  for (const char* name : {"drive_c", "windows", "system32"}) chain.Enter(name);
  EXPECT_EQ(posix::ResolveSpecialFolder(host, kCsidlSystem).path, chain.Path());
  EXPECT_EQ(Origin(kCsidlSystem), named());
  EXPECT_EQ(posix::ResolveSpecialFolder(host, kCsidlFonts).path, std::nullopt);
  EXPECT_EQ(Origin(kCsidlFonts), named() + ": \"drive_c/windows/Fonts\" fehlt");
  chain.AddFile("file");
  host.winePrefix = chain.Path() + "/file";
  EXPECT_EQ(Origin(kCsidlSystem), named() + ": ist kein Ordner");
  host.winePrefix = tree.Root() + "/" + std::string(NAME_MAX + 1, 'n');
  EXPECT_EQ(Origin(kCsidlSystem), named() + ": hat einen zu langen Pfad");

  host.winePrefix = "prefix";
  EXPECT_EQ(Origin(kCsidlSystem), named() + ": ist kein absoluter Pfad");
  host.winePrefix.reset();
  EXPECT_EQ(Origin(kCsidlSystem), "Wine-Präfix \"" + host.home + "/.wine\" aus HOME: fehlt");
  host.homeFromAccount = true;
  EXPECT_EQ(Origin(kCsidlSystem),
            "Wine-Präfix \"" + host.home +
                "/.wine\" aus dem Benutzerkonto (HOME ist nicht gesetzt): fehlt");
  host.home.clear();
  EXPECT_EQ(Origin(kCsidlSystem),
            "kein Wine-Präfix: HOME ist nicht gesetzt und das Benutzerkonto nennt keinen Ordner");
}

TEST_F(MappingTest, UserFoldersComeFromTheXdgSettingsAndExistOrDoNotResolve) {
  const std::string desktop = tree.AddFolder("home/Schreibtisch");
  const std::string documents = tree.AddFolder("elsewhere/docs");
  const std::string templates = tree.AddFolder("home/Templates");
  const std::string quoted = tree.AddFolder("home/quoted");
  tree.AddFolder("home/quote");
  const std::string slashed = tree.AddFolder("home/back\\");
  const std::string applications = tree.AddFolder("home/.local/share/applications");
  const std::string autostart = tree.AddFolder("etc/xdg/autostart");
  const std::string settings = tree.AddFolder("home/.config") + "/user-dirs.dirs";
  const std::string none = "<no path>";
  const struct {
    std::optional<std::string> settingsLine;  // none: no settings file
    int csidl;
    std::optional<std::string> path;
  } rows[] = {
      {"XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"", kCsidlDesktopDirectory, desktop},
      {"XDG_DOCUMENTS_DIR=\"" + documents + "//\"", kCsidlPersonal, documents},
      {"XDG_TEMPLATES_DIR=\"$HOME//\"", kCsidlTemplates, none},  // set to home: none
      // Quotes and backslashes as the shell reads them: a lone quote stays (and makes the
      // path relative), a backslash at the very end stays too.
      {"XDG_DESKTOP_DIR=\"" + quoted, kCsidlDesktopDirectory, none},
      {"XDG_DOCUMENTS_DIR=\"$HOME/back\\\"", kCsidlPersonal, slashed},
      // A relative folder, even one that exists from where the program runs, is no folder.
      {"XDG_DESKTOP_DIR=\".\"", kCsidlDesktopDirectory, none},
      // Without the settings file the usual English names are the defaults.
      {std::nullopt, kCsidlTemplates, templates},
      {std::nullopt, kCsidlDesktopDirectory, none},  // no ~/Desktop
      {std::nullopt, kCsidlAppData, host.home + "/.config"},
      {std::nullopt, kCsidlStartMenu, applications},
      {std::nullopt, kCsidlCommonStartup, autostart},
      {std::nullopt, kCsidlInternetCache, none},      // no ~/.cache here
      {std::nullopt, kCsidlNetwork, none},            // virtual
      {std::nullopt, kCsidlFavorites, std::nullopt},  // unknown here
  };
  PosixBackend backend(host);
  for (const auto& row : rows) {
    SCOPED_TRACE(row.settingsLine.value_or("no settings file"));
    if (row.settingsLine) {
      std::ofstream(settings) << "# written by xdg-user-dirs-update\n" << *row.settingsLine << "\n";
    } else {
      std::filesystem::remove(settings);
    }
    EXPECT_EQ(ShellFolder(backend, row.csidl), row.path) << row.csidl;
  }
  // Found by the fuzz targets: "$HOMEfoo" would be the neighbour /home/annafoo: relative, so no
  // folder.
  EXPECT_EQ(posix::UserFolderSetting("/home/anna", "$HOMEfoo"), std::nullopt);
}

TEST_F(MappingTest, RegistryKeysAndTheVersionAreBuiltFromTheHostsFiles) {
  std::ofstream(host.cpuInfoFile)
      << "processor\t: 0\nvendor_id\t: GenuineIntel\ncpu family\t: 6\nmodel\t\t: 158\n"
         "model name\t: Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\nstepping\t: 10\n"
         "cpu MHz\t\t: 3191.998\n\n"
         "processor\t: 1\nvendor_id\t: OtherVendor\nmodel name\t: second\n";
  std::ofstream(host.osReleaseFile)
      << "NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12\"\n";
  // The key's values as "name=data" lines, or "none" for no key.
  const auto values = [&](std::string_view key) {
    const auto read = posix::ReadRegistryKey(host, key);
    std::string lines = read ? "" : "none";
    for (const auto& value : read.value_or(std::vector<posix::RegistryValue>{})) {
      lines += value.name + "=" + value.data + "\n";
    }
    return lines;
  };
  EXPECT_EQ(values("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\"),
            "Identifier=x86 Family 6 Model 158 Stepping 10\n"
            "ProcessorNameString=Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz\n"
            "VendorIdentifier=GenuineIntel\n~MHz=3192\n");
  EXPECT_EQ(values("software\\microsoft\\WINDOWS NT\\CurrentVersion"),
            "ProductName=Debian GNU/Linux 12\nCurrentVersion=6.1\nCurrentBuildNumber=0\n");
  EXPECT_EQ(values("SOFTWARE\\Other"), "none");
  std::filesystem::remove(host.cpuInfoFile);
  EXPECT_EQ(values("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"), "none");

  // Clocks the fuzz targets (tests/fuzz/) found wrong answers for: none that is no DWORD.
  const auto clock = [](const std::string& mhz) -> std::optional<std::string> {
    for (const auto& value : posix::ProcessorValues("cpu family\t: 6\ncpu MHz\t\t: " + mhz)) {
      if (value.name == "~MHz") return value.data;
    }
    return std::nullopt;
  };
  EXPECT_EQ(clock("2400.499"), "2400");
  EXPECT_EQ(clock("4294967295.4"), "4294967295");
  for (const char* noClock : {"nan", "-inf", "1e400", "4294967296", "-3", "x"}) {
    EXPECT_EQ(clock(noClock), std::nullopt) << noClock;
  }

  // The version is the kernel's, on the NT platform.
  host.kernelRelease = "5.15.167.4-microsoft-standard-WSL2";
  PosixBackend backend(host);
  OSVERSIONINFOEXA info;
  std::fill(std::begin(info.szCSDVersion), std::end(info.szCSDVersion), 'x');
  ASSERT_NE(backend.VersionEx(info), 0);
  EXPECT_EQ(info.dwMajorVersion, 5u);
  EXPECT_EQ(info.dwMinorVersion, 15u);
  EXPECT_EQ(info.dwBuildNumber, 167u);
  EXPECT_STREQ(info.szCSDVersion, "");
  EXPECT_EQ(info.wSuiteMask, 0);
  EXPECT_EQ(posix::ParseKernelRelease("99999999999999999999.1").major, 0u);  // no overflow
}

}  // namespace
