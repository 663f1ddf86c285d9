// The Windows view of a Linux computer.
//
// This file, in order:
//   - helpers: the environment, folders, text files, trimming and unquoting
//   - the user's and Wine's settings: the configuration home, the prefix's folders, the
//     registry keys read from the prefix, the host environment
//   - the special folders and the drives
//   - the kernel's version, the processor's values from /proc/cpuinfo, the user folders of
//     user-dirs.dirs
#include "platform/posix/windows_mapping.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "platform/kernel32.h"
#include "platform/posix/ascii_case.h"
#include "platform/posix/system_calls.h"
#include "platform/posix/tree_search.h"
#include "platform/shell32.h"

namespace platform::posix {

namespace fs = std::filesystem;

namespace {

// The files read here are a few kilobytes; reading stops at this size so that a huge or
// endless file cannot hold the program up.
constexpr std::size_t kMaxFileBytes = 1 << 20;

std::optional<std::string> Environment(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

// stat for a path of any length: one past the system's path limit is looked up from its
// parent folder, which is opened as the tree walk opens its root, a stretch at a time.
int StatAnyLength(const std::string& path, struct stat& info) {
  if (path.size() < PATH_MAX) return systemCalls.stat(path.c_str(), &info);
  std::size_t end = path.size();
  while (end > 1 && path[end - 1] == '/') --end;
  const std::size_t slash = path.rfind('/', end - 1);
  const std::string name = path.substr(slash + 1);  // a trailing '/' still asks for a folder
  if (slash == std::string::npos) return systemCalls.stat(name.c_str(), &info);
  const int parent = OpenRoot(path.substr(0, slash));
  if (parent < 0) return -1;
  const int result = systemCalls.fstatat(parent, name.c_str(), &info, 0);
  const int error = errno;
  systemCalls.close(parent);
  errno = error;
  return result;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return !path.empty() && StatAnyLength(path, info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::string> IfFolder(std::string path) {
  if (!IsFolder(path)) return std::nullopt;
  return path;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The text of a regular file (procfs files included). Anything else, such as a named
// pipe someone put in place of a settings file, reads as empty instead of blocking.
std::string ReadText(const std::string& file) {
  const int fd = RetryInterrupted(
      [&] { return systemCalls.open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC); });
  if (fd < 0) return {};
  struct stat info;
  std::string text;
  if (systemCalls.fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    char chunk[4096];
    ssize_t got = 0;
    // A read cut short by a signal is made again: stopping there would read a short text.
    while (text.size() < kMaxFileBytes && (got = RetryInterrupted([&] {
                                             return systemCalls.read(fd, chunk, sizeof chunk);
                                           })) > 0) {
      text.append(chunk, static_cast<std::size_t>(got));
    }
  }
  systemCalls.close(fd);
  return text;
}

// A shell-style quoted value as user-dirs.dirs and os-release write it: the quotes are
// removed and a backslash keeps the character after it.
std::string Unquote(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  std::string result;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) ++i;
    result.push_back(value[i]);
  }
  return result;
}

std::string ConfigHome(const HostEnvironment& host) {
  return host.xdgConfigHome.value_or(host.home + "/.config");
}

// An XDG user folder (XDG_DESKTOP_DIR, ...) from user-dirs.dirs, else its usual default.
// A folder set to the home folder itself means "none" there.
std::optional<std::string> UserFolder(const HostEnvironment& host, std::string_view key,
                                      std::string_view fallback) {
  if (host.home.empty()) return std::nullopt;
  std::string path = host.home + "/" + std::string(fallback);
  const auto values = ParseAssignments(ReadText(ConfigHome(host) + "/user-dirs.dirs"));
  if (auto found = values.find(key); found != values.end()) {
    std::optional<std::string> setting = UserFolderSetting(host.home, found->second);
    if (!setting) return std::nullopt;
    path = std::move(*setting);
  }
  return IfFolder(path);
}

// The folder below drive_c of the special folders that live in the prefix; empty for others.
std::string_view PrefixFolderBelow(int csidl) {
  switch (csidl) {
    case kCsidlSystem:
      return "windows/system32";
    case kCsidlWindows:
      return "windows";
    case kCsidlProgramFiles:
      return "Program Files";
    case kCsidlProgramFilesCommon:
      return "Program Files/Common Files";
    case kCsidlFonts:
      return "windows/Fonts";
    default:
      return {};
  }
}

// What stands at path, said for a message: empty when it is a folder.
std::string PathState(const std::string& path) {
  struct stat info;
  if (path.empty() || path.front() != '/') return "ist kein absoluter Pfad";
  if (StatAnyLength(path, info) != 0) {
    switch (errno) {
      case ENOENT:
      case ENOTDIR:
        return "fehlt";
      case ENAMETOOLONG:  // a name longer than the file system allows
        return "hat einen zu langen Pfad";
      default:
        return "ist nicht erreichbar";
    }
  }
  if (!S_ISDIR(info.st_mode)) return "ist kein Ordner";
  return {};
}

std::optional<std::string> PrefixFolder(const HostEnvironment& host, std::string_view below) {
  const std::optional<std::string> prefix = WinePrefix(host);
  if (!prefix) return std::nullopt;
  return IfFolder(*prefix + "/drive_c/" + std::string(below));
}

std::string NormalisedKeyPath(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  std::string result(path);
  for (char& c : result) c = LowerAscii(c);
  return result;
}

std::optional<std::vector<RegistryValue>> ProcessorKey(const HostEnvironment& host) {
  std::vector<RegistryValue> values = ProcessorValues(ReadText(host.cpuInfoFile));
  if (values.empty()) return std::nullopt;
  return values;
}

std::optional<std::vector<RegistryValue>> VersionKey(const HostEnvironment& host) {
  return VersionValues(ReadText(host.osReleaseFile), host.kernelRelease);
}

}  // namespace

HostEnvironment HostEnvironment::FromProcess() {
  HostEnvironment host;
  if (auto home = Environment("HOME")) {
    host.home = *home;
  } else {
    host.homeFromAccount = true;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (systemCalls.getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
        result) {
      host.home = result->pw_dir;
    }
  }
  host.winePrefix = Environment("WINEPREFIX");
  host.xdgConfigHome = Environment("XDG_CONFIG_HOME");
  host.xdgCacheHome = Environment("XDG_CACHE_HOME");
  host.xdgDataHome = Environment("XDG_DATA_HOME");
  std::error_code ec;
  if (!fs::exists(host.osReleaseFile, ec)) host.osReleaseFile = "/usr/lib/os-release";
  utsname names{};
  if (systemCalls.uname(&names) == 0) host.kernelRelease = names.release;
  return host;
}

std::optional<std::string> WinePrefix(const HostEnvironment& host) {
  if (host.winePrefix) {
    if (host.winePrefix->front() != '/') return std::nullopt;
    return IfFolder(*host.winePrefix);
  }
  if (host.home.empty() || host.home.front() != '/') return std::nullopt;
  return IfFolder(host.home + "/.wine");
}

PathPhrase PrefixFolderOrigin(const HostEnvironment& host, int csidl) {
  const std::string_view below = PrefixFolderBelow(csidl);
  if (below.empty()) return {};
  std::string prefix;
  std::string origin;
  if (host.winePrefix) {
    prefix = *host.winePrefix;
    origin = "aus WINEPREFIX";
  } else if (host.home.empty()) {
    return {"kein Wine-Präfix: HOME ist nicht gesetzt und das Benutzerkonto nennt keinen Ordner"};
  } else {
    prefix = host.home + "/.wine";
    origin = host.homeFromAccount ? "aus dem Benutzerkonto (HOME ist nicht gesetzt)" : "aus HOME";
  }
  PathPhrase phrase{"Wine-Präfix \"", prefix, "\" " + origin};
  if (std::string state = PathState(prefix); !state.empty()) {
    phrase.after += ": " + state;
  } else if (state = PathState(prefix + "/drive_c/" + std::string(below)); !state.empty()) {
    phrase.after += ": \"drive_c/" + std::string(below) + "\" " + state;
  }
  return phrase;
}

SpecialFolder ResolveSpecialFolder(const HostEnvironment& host, int csidl) {
  switch (csidl) {
    case kCsidlSystem:
    case kCsidlWindows:
    case kCsidlProgramFiles:
    case kCsidlProgramFilesCommon:
    case kCsidlFonts:
      return {true, PrefixFolder(host, PrefixFolderBelow(csidl))};
    case kCsidlDesktopDirectory:
      return {true, UserFolder(host, "XDG_DESKTOP_DIR", "Desktop")};
    case kCsidlPersonal:
      return {true, UserFolder(host, "XDG_DOCUMENTS_DIR", "Documents")};
    case kCsidlTemplates:
      return {true, UserFolder(host, "XDG_TEMPLATES_DIR", "Templates")};
    case kCsidlAppData:
      return {true, IfFolder(ConfigHome(host))};
    case kCsidlStartMenu:
      return {true,
              IfFolder(host.xdgDataHome.value_or(host.home + "/.local/share") + "/applications")};
    case kCsidlInternetCache:
      return {true, IfFolder(host.xdgCacheHome.value_or(host.home + "/.cache"))};
    case kCsidlCommonStartup:
      return {true, IfFolder(host.autostartFolder)};
    case kCsidlNetwork:
      return {true, std::nullopt};
    default:
      return {};
  }
}

std::vector<DriveRoot> ListDrives(const HostEnvironment& host) {
  std::vector<DriveRoot> drives;
  const std::optional<std::string> prefix = WinePrefix(host);
  if (!prefix) {
    drives.push_back({"C:\\", kDriveFixed});
    return drives;
  }
  std::error_code ec;
  for (fs::directory_iterator it(*prefix + "/dosdevices", ec), end; !ec && it != end;
       it.increment(ec)) {
    // "c:" is a drive; "d::" names the raw device behind a drive and "com1" a port.
    const std::string name = it->path().filename().string();
    const char letter = name.empty() ? '\0' : LowerAscii(name[0]);
    if (name.size() != 2 || name[1] != ':' || letter < 'a' || letter > 'z') continue;
    std::error_code statError;
    if (!fs::is_directory(it->path(), statError)) continue;  // a link to nothing: no drive
    drives.push_back({std::string(1, static_cast<char>(letter - 32)) + ":\\", kDriveFixed});
  }
  std::sort(drives.begin(), drives.end(),
            [](const DriveRoot& a, const DriveRoot& b) { return a.root < b.root; });
  // "c:" and "C:" side by side (a case-sensitive file system) are still one drive.
  drives.erase(std::unique(drives.begin(), drives.end(),
                           [](const DriveRoot& a, const DriveRoot& b) { return a.root == b.root; }),
               drives.end());
  return drives;
}

std::optional<std::vector<RegistryValue>> ReadRegistryKey(const HostEnvironment& host,
                                                          std::string_view path) {
  const std::string key = NormalisedKeyPath(path);
  if (key == "hardware\\description\\system\\centralprocessor\\0") return ProcessorKey(host);
  if (key == "software\\microsoft\\windows nt\\currentversion") return VersionKey(host);
  return std::nullopt;
}

KernelVersion ParseKernelRelease(std::string_view release) {
  unsigned long parts[3] = {0, 0, 0};
  std::size_t part = 0;
  for (char c : release) {
    if (c >= '0' && c <= '9') {
      parts[part] = parts[part] * 10 + static_cast<unsigned long>(c - '0');
      if (parts[part] > 0xFFFFFFFFu) return {};
    } else if (c == '.' && part < 2) {
      ++part;
    } else {
      break;
    }
  }
  return {parts[0], parts[1], parts[2]};
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

TextFields ParseAssignments(std::string_view text) {
  TextFields values;
  for (const std::string& line : SplitLines(text)) {
    std::string_view assignment = Trim(line);
    if (assignment.empty() || assignment.front() == '#') continue;
    const std::size_t equals = assignment.find('=');
    if (equals == std::string_view::npos) continue;
    values.emplace(std::string(Trim(assignment.substr(0, equals))),
                   Unquote(assignment.substr(equals + 1)));
  }
  return values;
}

TextFields ParseFirstProcessor(std::string_view text) {
  TextFields fields;
  for (const std::string& line : SplitLines(text)) {
    if (Trim(line).empty()) {
      if (!fields.empty()) break;
      continue;
    }
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    fields.emplace(std::string(Trim(std::string_view(line).substr(0, colon))),
                   std::string(Trim(std::string_view(line).substr(colon + 1))));
  }
  return fields;
}

std::vector<RegistryValue> ProcessorValues(std::string_view cpuInfo) {
  const TextFields cpu = ParseFirstProcessor(cpuInfo);
  const auto field = [&](std::string_view key) -> std::string {
    auto found = cpu.find(key);
    return found == cpu.end() ? std::string() : found->second;
  };
  std::vector<RegistryValue> values;
  if (!field("cpu family").empty()) {
    values.push_back({"Identifier", "x86 Family " + field("cpu family") + " Model " +
                                        field("model") + " Stepping " + field("stepping")});
  } else if (!field("CPU architecture").empty()) {
    values.push_back({"Identifier", "ARM Family " + field("CPU architecture") + " Model " +
                                        field("CPU part") + " Revision " + field("CPU revision")});
  }
  if (!field("model name").empty()) values.push_back({"ProcessorNameString", field("model name")});
  if (!field("vendor_id").empty()) values.push_back({"VendorIdentifier", field("vendor_id")});
  if (const std::string mhz = field("cpu MHz"); !mhz.empty()) {
    char* end = nullptr;
    const double value = std::strtod(mhz.c_str(), &end);
    // Windows keeps the clock as a DWORD of MHz: "nan", "inf", negative or huge values are
    // no clock (rounding them gives no defined number).
    if (end != mhz.c_str() && std::isfinite(value) && value >= 0 && value < 4294967295.5) {
      values.push_back({"~MHz", std::to_string(std::llround(value))});
    }
  }
  return values;
}

std::vector<RegistryValue> VersionValues(std::string_view osRelease,
                                         std::string_view kernelRelease) {
  std::vector<RegistryValue> values;
  const TextFields release = ParseAssignments(osRelease);
  if (auto pretty = release.find("PRETTY_NAME"); pretty != release.end()) {
    values.push_back({"ProductName", pretty->second});
  } else if (auto name = release.find("NAME"); name != release.end()) {
    values.push_back({"ProductName", name->second});
  }
  const KernelVersion kernel = ParseKernelRelease(kernelRelease);
  values.push_back(
      {"CurrentVersion", std::to_string(kernel.major) + "." + std::to_string(kernel.minor)});
  values.push_back({"CurrentBuildNumber", std::to_string(kernel.build)});
  return values;
}

std::optional<std::string> UserFolderSetting(std::string_view home, std::string_view value) {
  std::string path;
  // "$HOME" alone or before a '/': "$HOMEX" is no folder below the home folder.
  if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/')) {
    path = std::string(home) + std::string(value.substr(5));
  } else if (value.empty() || value.front() != '/') {
    return std::nullopt;  // only absolute and $HOME-relative paths are allowed
  } else {
    path = value;
  }
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path == home) return std::nullopt;
  return path;
}

}  // namespace platform::posix
