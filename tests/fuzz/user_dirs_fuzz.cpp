// user-dirs.dirs as the user's folders. Whatever the text and the home folder: a folder
// set "$HOME/..." stays below the home folder, any other is absolute, none ends in '/',
// the home folder itself is never a user folder; and settings written out as a shell
// quotes them read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <map>
#include <set>
#include <string>

#include "fuzz/fuzz_checks.h"
#include "platform/posix/windows_mapping.h"

using platform::posix::ParseAssignments;
using platform::posix::UserFolderSetting;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  std::string home = "/" + provider.ConsumeRandomLengthString(32);
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  if (home == "/") home = "/home/user";
  const std::string text = provider.ConsumeRandomLengthString(8192);

  for (const auto& [key, value] : ParseAssignments(text)) {
    fuzz::Require(key.find('\n') == std::string::npos, "a key is one line");
    const std::optional<std::string> path = UserFolderSetting(home, value);
    if (!path) continue;
    fuzz::Require(!path->empty() && path->front() == '/', "a user folder is an absolute path");
    fuzz::Require(*path == "/" || path->back() != '/', "a user folder does not end in '/'");
    fuzz::Require(*path != home, "the home folder itself is no user folder");
    if (value.rfind("$HOME", 0) == 0) {
      fuzz::Require(path->rfind(home + "/", 0) == 0, "a $HOME folder lies below the home folder");
    }
  }

  // Settings written out as xdg-user-dirs-update and os-release's writers write them (in a
  // shell's double quotes, lines ended by \n or \r\n) read back as written; a folder written
  // "$HOME/name" lies below the home folder.
  std::map<std::string, std::string> written;
  std::set<std::string> belowHome;
  std::string file = "# This file is written by xdg-user-dirs-update\n\n";
  for (int i = provider.ConsumeIntegralInRange(0, 8); i > 0; --i) {
    std::string key = provider.ConsumeRandomLengthString(12);
    std::erase_if(key, [](char c) { return !(c == '_' || (c >= 'A' && c <= 'Z')); });
    const bool folder = provider.ConsumeBool();
    std::string value = provider.ConsumeRandomLengthString(40);
    std::erase_if(value, [&](char c) { return c == '\n' || (folder && (c == '/' || c == '\0')); });
    if (key.empty() || written.count(key) != 0 || (folder && value.empty())) continue;
    if (folder) belowHome.insert(key);
    written[key] = (folder ? "$HOME/" : "") + value;
    file += key + "=\"" + (folder ? "$HOME/" : "") + fuzz::ShellEscaped(value) +
            (i % 2 == 0 ? "\"\n" : "\"\r\n");
  }
  const auto read = ParseAssignments(file);
  fuzz::Require(read.size() == written.size(), "every assignment is read back");
  for (const auto& [key, value] : written) {
    const auto found = read.find(key);
    fuzz::Require(found != read.end() && found->second == value,
                  "a quoted value reads back as written");
    fuzz::Require(
        belowHome.count(key) == 0 || UserFolderSetting(home, value) == home + value.substr(5),
        "a written folder reads back below the home folder");
  }
  return 0;
}
