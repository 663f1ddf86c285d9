// shell32: the special folders, from the mapping (windows_mapping.h), and the shell's
// "Open", which hands a document, folder or web address to the desktop's opener (xdg-open;
// open on macOS) as one argument of a spawned program, never through a shell.
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/buffer_rules.h"
#include "platform/posix/ascii_case.h"
#include "platform/posix/system_backend.h"

extern char** environ;

namespace platform::posix {

namespace {

#if defined(__APPLE__)
constexpr const char* kOpener = "open";
#else
constexpr const char* kOpener = "xdg-open";
#endif

// ShellExecute's results: above 32 is success.
constexpr std::intptr_t kStarted = 42;
constexpr std::intptr_t kFileNotFound = 2;
constexpr std::intptr_t kNoAssociation = 31;

bool IsOpenVerb(std::string_view operation) {
  return operation.empty() || EqualsIgnoringAsciiCase(operation, "open");
}

}  // namespace

long PosixBackend::SpecialFolderLocation(WindowHandle, int csidl, ItemIdList** list) {
  if (list == nullptr) return kShellFailure;
  *list = nullptr;
  SpecialFolder folder = ResolveSpecialFolder(host_, csidl);
  if (!folder.known) return kShellFailure;
  folderItems_.push_back(std::make_unique<FolderItem>(FolderItem{std::move(folder.path)}));
  *list = reinterpret_cast<ItemIdList*>(folderItems_.back().get());
  return 0;
}

// Item lists are only ever read through the table of those handed out, so a stale or
// foreign pointer is refused instead of being read.
int PosixBackend::PathFromIdList(const ItemIdList* list, std::span<char> path) {
  for (const auto& item : folderItems_) {
    if (reinterpret_cast<const ItemIdList*>(item.get()) != list) continue;
    return item->path && CopyWithNul(*item->path, path) ? 1 : 0;
  }
  return 0;
}

PathPhrase PosixBackend::FolderOrigin(int csidl) {
  return PrefixFolderOrigin(host_, csidl);
}

void PosixBackend::FreeIdList(ItemIdList* list) {
  std::erase_if(folderItems_, [list](const std::unique_ptr<FolderItem>& item) {
    return reinterpret_cast<ItemIdList*>(item.get()) == list;
  });
}

std::intptr_t PosixBackend::ShellOpen(WindowHandle, std::string_view operation,
                                      std::string_view file, const char* parameters,
                                      const char* directory, int) {
  ReapFinishedChildren();
  // The opener takes one document and no parameters or other verbs.
  if (!IsOpenVerb(operation) || (parameters != nullptr && *parameters != '\0')) {
    return kNoAssociation;
  }
  if (file.empty() || file.find('\0') != std::string_view::npos) return kFileNotFound;
  // A name that starts with '-' would be read as an option of the opener.
  std::string argument = file.front() == '-' ? "./" + std::string(file) : std::string(file);

  posix_spawn_file_actions_t actions;
  if (posix_spawn_file_actions_init(&actions) != 0) return kNoAssociation;
#if defined(__GLIBC__) || defined(__APPLE__)
  if (directory != nullptr && *directory != '\0') {
    posix_spawn_file_actions_addchdir_np(&actions, directory);
  }
#else
  (void)directory;
#endif
  char* argv[] = {const_cast<char*>(kOpener), argument.data(), nullptr};
  pid_t child = 0;
  const int error = posix_spawnp(&child, kOpener, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return kNoAssociation;
  children_.push_back(child);
  return kStarted;
}

// Collects the exit status of openers that have finished, without waiting for the others;
// only the program's own openers are asked about, never other children of the process.
void PosixBackend::ReapFinishedChildren() {
  std::erase_if(children_, [](pid_t child) {
    int status = 0;
    const pid_t result = waitpid(child, &status, WNOHANG);
    return result == child || (result < 0 && errno == ECHILD);
  });
}

}  // namespace platform::posix
