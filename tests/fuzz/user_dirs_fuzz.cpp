// user-dirs.dirs as the user's folders. Whatever the text and the home folder: a folder
// set "$HOME/..." stays below the home folder, any other is absolute, none ends in '/',
// the home folder itself is never a user folder; and settings written out as
// xdg-user-dirs writes them read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <map>
#include <string>

#include "fuzz/fuzz_checks.h"
#include "platform/posix/windows_mapping.h"

namespace {

using platform::posix::ParseAssignments;
using platform::posix::UserFolderSetting;

const char* const kKeys[] = {"XDG_DESKTOP_DIR", "XDG_DOCUMENTS_DIR", "XDG_TEMPLATES_DIR"};

void CheckSetting(const std::string& home, const std::string& value) {
  const std::optional<std::string> path = UserFolderSetting(home, value);
  if (!path) return;
  fuzz::Require(!path->empty() && path->front() == '/', "a user folder is an absolute path");
  fuzz::Require(*path == "/" || path->back() != '/', "a user folder does not end in '/'");
  fuzz::Require(*path != home, "the home folder itself is no user folder");
  if (value.rfind("$HOME", 0) == 0) {
    fuzz::Require(path->rfind(home + "/", 0) == 0, "a $HOME folder lies below the home folder");
  }
}

// As xdg-user-dirs-update writes the file: comments, then KEY="$HOME/name" lines, with \
// before ", \, $ and `.
void WrittenSettingsReadBack(FuzzedDataProvider& provider, const std::string& home) {
  std::map<std::string, std::string> names;
  std::string file = "# This file is written by xdg-user-dirs-update\n";
  for (const char* key : kKeys) {
    std::string name = provider.ConsumeRandomLengthString(24);
    std::erase_if(name, [](char c) { return c == '\n' || c == '/' || c == '\0'; });
    if (name.empty()) continue;
    names[key] = name;
    file += std::string(key) + "=\"$HOME/" + fuzz::ShellEscaped(name) + "\"\n";
  }
  const auto read = ParseAssignments(file);
  for (const auto& [key, name] : names) {
    const auto found = read.find(key);
    fuzz::Require(found != read.end(), "every written setting is read");
    fuzz::Require(UserFolderSetting(home, found->second) == home + "/" + name,
                  "a written folder reads back below the home folder");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  std::string home = "/" + provider.ConsumeRandomLengthString(32);
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  if (home == "/") home = "/home/user";
  const std::string text = provider.ConsumeRandomLengthString(8192);

  for (const auto& [key, value] : ParseAssignments(text)) {
    fuzz::Require(key.find('\n') == std::string::npos, "a key is one line");
    CheckSetting(home, value);
  }
  WrittenSettingsReadBack(provider, home);
  return 0;
}
