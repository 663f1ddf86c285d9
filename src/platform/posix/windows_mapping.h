// The one table of how the Windows view of a computer maps onto a Linux (or other POSIX)
// system:
//
//   Windows                         here
//   ------------------------------  -------------------------------------------------------
//   system, Windows, program        inside the Wine prefix ($WINEPREFIX, else ~/.wine) as
//   files, common files, fonts      drive_c/windows/system32, drive_c/windows,
//                                   drive_c/Program Files, .../Common Files,
//                                   drive_c/windows/Fonts; nothing without a prefix
//   desktop, documents, templates   the XDG user folders (~/.config/user-dirs.dirs, else
//                                   ~/Desktop, ~/Documents, ~/Templates)
//   application data                the XDG config home (~/.config)
//   start menu                      ~/.local/share/applications (XDG data home)
//   temporary internet files        the XDG cache home (~/.cache)
//   common startup                  /etc/xdg/autostart
//   network neighbourhood           known, but a virtual folder without a path
//   anything else                   unknown
//   drive letters                   the prefix's dosdevices links; without a prefix C:\ is
//                                   the root file system
//   processor registry key          built from /proc/cpuinfo
//   Windows version key             ProductName from os-release, CurrentVersion from the
//                                   kernel; no service pack
//
// A folder resolves only when it exists. Everything is read from the environment and the
// files named in HostEnvironment, so tests can point it at a tree of their own.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell32.h"

namespace platform::posix {

// What the mapping reads from the process and the system.
struct HostEnvironment {
  std::string home;
  bool homeFromAccount = false;              // $HOME unset or empty: the account's folder
  std::optional<std::string> winePrefix;     // $WINEPREFIX
  std::optional<std::string> xdgConfigHome;  // $XDG_CONFIG_HOME
  std::optional<std::string> xdgCacheHome;   // $XDG_CACHE_HOME
  std::optional<std::string> xdgDataHome;    // $XDG_DATA_HOME
  std::string autostartFolder = "/etc/xdg/autostart";
  std::string cpuInfoFile = "/proc/cpuinfo";
  std::string osReleaseFile = "/etc/os-release";
  std::string kernelRelease;  // as uname reports it, e.g. "6.1.0-18-amd64"

  static HostEnvironment FromProcess();
};

// A special folder as the shell knows it.
struct SpecialFolder {
  bool known = false;               // false: the shell does not know the folder at all
  std::optional<std::string> path;  // nothing: a virtual folder, or no such folder here
};
SpecialFolder ResolveSpecialFolder(const HostEnvironment& host, int csidl);

// The Wine prefix folder, when the user has one. Like Wine, only an absolute path counts.
std::optional<std::string> WinePrefix(const HostEnvironment& host);

// For a folder inside the prefix (system, Windows, program files, common files, fonts):
// where the prefix comes from and what is wrong with it or with the folder, as a German
// phrase for a message ("Wine-Präfix \"/x\" aus WINEPREFIX: fehlt", the prefix as its path).
// Empty for other folders.
PathPhrase PrefixFolderOrigin(const HostEnvironment& host, int csidl);

struct DriveRoot {
  std::string root;  // "C:\"
  unsigned type = 0;
};
// The drives in letter order.
std::vector<DriveRoot> ListDrives(const HostEnvironment& host);

struct RegistryValue {
  std::string name;
  std::string data;
};
// The values of a key below HKEY_LOCAL_MACHINE (path compared without regard to case or a
// trailing backslash), or nothing when the key does not exist here.
std::optional<std::vector<RegistryValue>> ReadRegistryKey(const HostEnvironment& host,
                                                          std::string_view path);

struct KernelVersion {
  unsigned long major = 0;
  unsigned long minor = 0;
  unsigned long build = 0;
};
// "6.1.0-18-amd64" gives 6, 1, 0; missing parts are 0.
KernelVersion ParseKernelRelease(std::string_view release);

// The texts the mapping reads from files, parsed from memory (the tests and the fuzzers
// give them directly).
using TextFields = std::map<std::string, std::string, std::less<>>;
// The text's lines without their '\n'; a last line without one counts too.
std::vector<std::string> SplitLines(std::string_view text);
// KEY=value lines as user-dirs.dirs and os-release write them, the values unquoted;
// comments and malformed lines left out, the first of a repeated key kept.
TextFields ParseAssignments(std::string_view text);
// The first processor's block of /proc/cpuinfo as "key: value" pairs.
TextFields ParseFirstProcessor(std::string_view text);
// The processor key's values built from /proc/cpuinfo's text; empty when it names nothing.
std::vector<RegistryValue> ProcessorValues(std::string_view cpuInfo);
// The version key's values from os-release's text and the kernel's release.
std::vector<RegistryValue> VersionValues(std::string_view osRelease,
                                         std::string_view kernelRelease);
// A folder set in user-dirs.dirs ("$HOME/Schreibtisch", "/data/docs") as a path; nothing
// when the setting may not be used: relative (also "$HOMEX"), or the home folder itself.
std::optional<std::string> UserFolderSetting(std::string_view home, std::string_view value);

}  // namespace platform::posix
