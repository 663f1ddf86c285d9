// The Wine prefix's dosdevices folder as drive letters. The fuzz data names the entries and
// says what each is (a folder, a regular file, a link to a folder, a link to any target of
// the data); they are made in a real temporary prefix. Whatever stands there: each drive
// letter at most once, in order, each from an entry "x:" that leads to a folder, and the
// drive strings never written past the caller's buffer.
#include <fuzzer/FuzzedDataProvider.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "fuzz/fuzz_checks.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/windows_mapping.h"
#include "support/temp_tree.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // One prefix for the whole run, removed at exit.
  static test_support::TempTree prefix;
  if (!fs::exists(prefix.Root() + "/drive_c")) prefix.AddFolder("drive_c");
  FuzzedDataProvider provider(data, size);
  const std::string devices = prefix.Root() + "/dosdevices";
  std::error_code ec;
  fs::remove_all(devices, ec);
  fs::create_directory(devices);

  std::vector<std::string> names;
  const int count = provider.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < count; ++i) {
    const std::string name = provider.ConsumeRandomLengthString(5);
    const int kind = provider.ConsumeIntegralInRange(0, 3);
    const std::string target = provider.ConsumeRandomLengthString(40);
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
        name.find('\0') != std::string::npos ||
        fs::symlink_status(devices + "/" + name, ec).type() != fs::file_type::not_found) {
      continue;
    }
    const std::string entry = devices + "/" + name;
    names.push_back(name);
    if (kind == 0) {
      fs::create_directory(entry, ec);
    } else if (kind == 1) {
      std::ofstream(entry) << target;
    } else if (kind == 2) {
      fs::create_directory_symlink("../drive_c", entry, ec);
    } else if (!target.empty() && target.find('\0') == std::string::npos) {
      fs::create_symlink(target, entry, ec);
    }
  }
  // The letters whose entry leads to a folder, now that every entry (a link may lead to
  // another) is in place.
  std::set<char> folders;
  for (const std::string& name : names) {
    const char letter = fuzz::AsciiLower(name)[0];
    if (name.size() == 2 && name[1] == ':' && letter >= 'a' && letter <= 'z' &&
        fs::is_directory(devices + "/" + name, ec)) {
      folders.insert(static_cast<char>(letter - 'a' + 'A'));
    }
  }

  platform::posix::HostEnvironment host;
  host.home = "/nonexistent";
  host.winePrefix = prefix.Root();
  const std::vector<platform::posix::DriveRoot> drives = platform::posix::ListDrives(host);
  std::string expected;
  for (char letter : folders) expected += std::string(1, letter) + ":\\" + '\0';
  std::string listed;
  for (const platform::posix::DriveRoot& drive : drives) {
    fuzz::Require(drive.root.size() == 3 && drive.root[0] >= 'A' && drive.root[0] <= 'Z' &&
                      drive.root.substr(1) == ":\\",
                  "a drive is a letter, a colon and a backslash");
    listed += drive.root + '\0';
  }
  fuzz::Require(listed == expected, "each letter of a folder entry once, in order, and no other");

  // The drive strings as a caller with a buffer of any size receives them.
  platform::posix::PosixBackend backend(host);
  std::vector<char> buffer(provider.ConsumeIntegralInRange<std::size_t>(0, 120), 'x');
  const unsigned length = backend.LogicalDriveStrings(buffer);
  if (expected.empty()) {
    fuzz::Require(length == 0, "no drives, no strings");
  } else if (length < buffer.size()) {
    fuzz::Require(std::string(buffer.data(), length) == expected && buffer[length] == '\0',
                  "the strings fitted are the drives and the list's final NUL");
  } else {
    fuzz::Require(length == expected.size() + 1, "too small a buffer is told the size needed");
  }
  return 0;
}
