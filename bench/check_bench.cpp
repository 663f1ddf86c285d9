// Times the command line's whole check (`belvosta --check`, a process of its own) on a Wine
// prefix whose system folder is a big generated tree, against a bare walk of that folder
// (getdents64 and a name comparison, nothing else), against this build's own walk of the
// system folder plus its walk of the program files folder, and against GNU find and fd, in
// interleaved rounds of one run; the figures are medians over the rounds, each ratio the
// median of the rounds' ratios to the bare walk. Before that it counts the check's work
// (WalkCounts) against one walk of each folder. Build in Release for meaningful numbers.
//
//   belvosta_check_bench PREFIX BELVOSTA [ROUNDS]
//   belvosta_check_bench --last-folder ROOT    (the folder a walk of ROOT reads last)
//
// PREFIX/drive_c/windows/system32 is the system folder (bench/check.sh makes it).
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <strings.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "checks/component_search.h"
#include "counting_backend.h"
#include "platform/imagehlp.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/tree_search.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kAbsentName = "NotThere.ocx";

// The least a walk must do: every folder read with getdents64, every name compared, no
// path put together. Returns whether the name was found.
bool BareWalk(int folder, const char* name, std::vector<char>& buffer) {
  std::vector<std::string> subfolders;
  for (;;) {
    const ssize_t filled = getdents64(folder, buffer.data(), buffer.size());
    if (filled <= 0) break;
    for (ssize_t offset = 0; offset < filled;) {
      const auto* entry = reinterpret_cast<const dirent64*>(buffer.data() + offset);
      offset += entry->d_reclen;
      const char* entryName = entry->d_name;
      if (entryName[0] == '.' &&
          (entryName[1] == '\0' || (entryName[1] == '.' && entryName[2] == '\0'))) {
        continue;
      }
      if (entry->d_type == DT_DIR) {
        subfolders.emplace_back(entryName);
      } else if (strcasecmp(entryName, name) == 0) {
        return true;
      }
    }
  }
  for (const std::string& subfolder : subfolders) {
    const int child = openat(folder, subfolder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (child < 0) continue;
    const bool found = BareWalk(child, name, buffer);
    close(child);
    if (found) return true;
  }
  return false;
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A program spawned directly (no shell), its output discarded; its time, or -1 when it
// could not be run or was killed.
double TimeProgram(std::vector<std::string> arguments, char** environment = environ) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const auto start = Clock::now();
  pid_t child = 0;
  int status = 0;
  const int error = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environment);
  if (error == 0) waitpid(child, &status, 0);
  const double seconds = Seconds(start);
  posix_spawn_file_actions_destroy(&actions);
  return error == 0 && WIFEXITED(status) ? seconds : -1;
}

double Median(std::vector<double> values) {
  if (values.empty()) return -1;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The names the check looks for below one folder, in its order.
std::vector<std::string_view> NamesBelow(belvosta::SearchRoot root) {
  std::vector<std::string_view> names;
  for (const belvosta::ComponentCheck* check : belvosta::kComponentChain) {
    if (check->root != root) continue;
    names.insert(names.end(), check->files.begin(), check->files.end());
  }
  return names;
}

// One walk of a folder, its work added to counts.
void OneWalk(const std::string& root, std::span<const std::string_view> names,
             platform::posix::WalkCounts& counts) {
  std::vector<std::string> found(names.size());
  platform::posix::SearchTree({.root = root, .names = names}, found, counts);
}

std::string LastFolder(std::string root) {
  // The walk reads the folders a folder lists in the reverse order of the listing, so the
  // last one it reads lies below the first folder listed, and so on down.
  for (;;) {
    DIR* folder = opendir(root.c_str());
    if (folder == nullptr) return root;
    std::string first;
    while (const dirent* entry = readdir(folder)) {
      const std::string name = entry->d_name;
      if (entry->d_type == DT_DIR && name != "." && name != "..") {
        first = name;
        break;
      }
    }
    closedir(folder);
    if (first.empty()) return root;
    root += "/" + first;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--last-folder") == 0) {
    std::printf("%s\n", LastFolder(argv[2]).c_str());
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "--bare") == 0) {
    const int root = open(argv[2], O_RDONLY | O_DIRECTORY);
    if (root < 0) return 2;
    std::vector<char> buffer(64 * 1024);
    const bool found = BareWalk(root, argv[3], buffer);
    close(root);
    return found ? 0 : 1;
  }
  if (argc == 4 && std::strcmp(argv[1], "--ours") == 0) {
    // This build's single walk of each folder for the check's names below it.
    platform::posix::WalkCounts counts;
    OneWalk(argv[2], NamesBelow(belvosta::SearchRoot::SystemFolder), counts);
    OneWalk(argv[3], NamesBelow(belvosta::SearchRoot::ProgramFiles), counts);
    return 0;
  }
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s PREFIX BELVOSTA [ROUNDS]\n", argv[0]);
    return 2;
  }
  const std::string prefix = argv[1];
  const std::string belvosta = argv[2];
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  const std::string system = prefix + "/drive_c/windows/system32";
  const std::string programFiles = prefix + "/drive_c/Program Files";
  const std::string self = argv[0];
  setenv("WINEPREFIX", prefix.c_str(), 1);

  // The work of the whole check against one walk of each folder that reads all of it.
  CountingBackend backend;
  platform::SetBackend(&backend);
  const auto findings = belvosta::FindAllComponents([&](belvosta::SearchRoot root) {
    return root == belvosta::SearchRoot::ProgramFiles ? programFiles : system;
  });
  platform::SetBackend(nullptr);
  platform::posix::WalkCounts once;
  const std::string_view absent[] = {kAbsentName};
  OneWalk(system, absent, once);
  OneWalk(programFiles, absent, once);
  int present = 0;
  for (const auto& finding : findings) present += finding.present ? 1 : 0;
  std::printf("system folder %s, %d of %zu components present\n", system.c_str(), present,
              findings.size());
  std::printf("work of the whole check: %d walks, %zu entries read, %zu folder steps\n",
              backend.walks, backend.counts.entries, backend.counts.folderSteps);
  std::printf("one walk of each folder:          %zu entries read, %zu folder steps\n",
              once.entries, once.folderSteps);

  struct Contender {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<double> times;
    std::vector<double> ratios;
  };
  // With a separator at its end, so that find and fd go into a system folder that is a link.
  const std::string systemInside = system + "/";
  std::vector<Contender> contenders = {
      {"bare getdents64 walk of the system folder", {self, "--bare", system, kAbsentName}},
      {"belvosta --check", {belvosta, "--check"}},
      {"our walk of each folder", {self, "--ours", system, programFiles}},
      {"find -iname -quit", {"find", systemInside, "-iname", kAbsentName, "-print", "-quit"}},
      {"fdfind -u -i -g (2 threads)", {"fdfind", "-u", "-i", "-g", kAbsentName, systemInside}},
      {"fdfind -u -i -g -j1", {"fdfind", "-u", "-i", "-g", "-j1", kAbsentName, systemInside}},
  };
  for (int round = 0; round < rounds; ++round) {
    // Every other round in reverse order, so that neither side always runs warmer.
    std::vector<std::size_t> order(contenders.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    if (round % 2 == 1) std::reverse(order.begin(), order.end());
    std::vector<double> times(contenders.size());
    for (std::size_t i : order) times[i] = TimeProgram(contenders[i].arguments);
    for (std::size_t i = 0; i < contenders.size(); ++i) {
      if (times[i] < 0) continue;
      contenders[i].times.push_back(times[i]);
      if (times[0] > 0) contenders[i].ratios.push_back(times[i] / times[0]);
    }
  }
  std::printf("%d rounds, medians:\n", rounds);
  for (const Contender& contender : contenders) {
    if (contender.times.empty()) {
      std::printf("  %-42s (could not be run)\n", contender.name);
      continue;
    }
    std::printf("  %-42s %.3f s  %.2f x the bare walk\n", contender.name, Median(contender.times),
                Median(contender.ratios));
  }
  return 0;
}
