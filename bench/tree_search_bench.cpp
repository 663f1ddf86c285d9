// Times a full walk of the tree search (a name that is nowhere in the tree) against GNU
// find and fd (one thread) on the same tree, and compares their peak memory. Without a
// root it makes a tree of 100,000 files in 5,000 folders in a temporary folder and removes
// it at the end; bench/make_trees.py makes the bigger ones. Build in Release for
// meaningful numbers.
//
//   belvosta_tree_search_bench [runs] [ROOT]
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/imagehlp.h"
#include "platform/posix/tree_search.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kTopFolders = 50;
constexpr int kFoldersEach = 100;  // below each top folder: 5,000 leaf folders
constexpr int kFilesEach = 20;     // in each leaf folder: 100,000 files
constexpr const char* kAbsentName = "NotThere.ocx";

// Names such as a system folder holds: mixed case, a few extensions.
std::string FileName(int folder, int file) {
  static const char* const kExtensions[] = {".dll", ".DLL", ".ocx", ".tlb", ".exe"};
  return "Module" + std::to_string(folder) + "_" + std::to_string(file) +
         kExtensions[(folder + file) % 5];
}

bool MakeTree(const std::string& root) {
  int files = 0;
  for (int top = 0; top < kTopFolders; ++top) {
    const std::string topPath = root + "/Group" + std::to_string(top);
    if (mkdir(topPath.c_str(), 0755) != 0) return false;
    for (int sub = 0; sub < kFoldersEach; ++sub) {
      const int folder = top * kFoldersEach + sub;
      const std::string path = topPath + "/folder" + std::to_string(folder);
      if (mkdir(path.c_str(), 0755) != 0) return false;
      const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY);
      if (fd < 0) return false;
      for (int file = 0; file < kFilesEach; ++file, ++files) {
        const int created = openat(fd, FileName(folder, file).c_str(), O_CREAT | O_WRONLY, 0644);
        if (created >= 0) close(created);
      }
      close(fd);
    }
  }
  std::printf("tree: %d files in %d folders below %s\n", files, kTopFolders * (kFoldersEach + 1),
              root.c_str());
  return true;
}

struct Run {
  double seconds = -1;
  long peakKb = 0;  // the largest resident size, in kilobytes
};

Run TimeOurs(const std::string& root) {
  std::vector<char> buffer(platform::kMaxFullPath);
  const auto start = Clock::now();
  const bool found = platform::posix::SearchTree(root, kAbsentName, buffer);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (found) std::printf("unexpected match: %s\n", buffer.data());
  return {seconds, 0};
}

// Our search in a child process of its own, for its peak memory: the child's largest
// resident size less that of a child that does not search.
long OursPeakKb(const std::string& root, bool search) {
  const pid_t child = fork();
  if (child == 0) {
    if (search) TimeOurs(root);
    _exit(0);
  }
  int status = 0;
  rusage usage{};
  if (child < 0 || wait4(child, &status, 0, &usage) != child) return -1;
  return usage.ru_maxrss;
}

// A program spawned directly (no shell), its output discarded; its time and peak memory.
Run TimeProgram(std::vector<std::string> arguments) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const auto start = Clock::now();
  pid_t child = 0;
  int status = 0;
  rusage usage{};
  const int error = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  if (error == 0) wait4(child, &status, 0, &usage);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return {};
  return {seconds, usage.ru_maxrss};
}

// GNU find, stopping at the first match as our search does.
Run TimeFind(const std::string& root) {
  return TimeProgram({"find", root, "-iname", kAbsentName, "-print", "-quit"});
}

// fd on one thread, with nothing hidden or ignored, stopping at the first match.
Run TimeFd(const std::string& root) {
  return TimeProgram({"fdfind", "-j1", "-u", "-i", "-g", "--max-results", "1", kAbsentName, root});
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  std::string root;
  bool made = false;
  if (argc > 2) {
    root = argv[2];  // an existing tree (bench/make_trees.py)
  } else {
    root = (fs::temp_directory_path() / "belvosta-bench-XXXXXX").string();
    if (mkdtemp(root.data()) == nullptr) {
      std::perror("mkdtemp");
      return 1;
    }
    made = true;
    if (!MakeTree(root)) {
      std::perror("making the tree");
      fs::remove_all(root);
      return 1;
    }
  }
  // Warm the folder cache for all three.
  TimeOurs(root);
  const bool haveFd = TimeFd(root).seconds >= 0;
  const Run findWarm = TimeFind(root);
  int result = 0;
  if (findWarm.seconds < 0) {
    std::printf("find could not be run\n");
    result = 1;
  } else {
    std::vector<double> ours, find, fd;
    for (int run = 0; run < runs; ++run) {
      ours.push_back(TimeOurs(root).seconds);
      find.push_back(TimeFind(root).seconds);
      if (haveFd) fd.push_back(TimeFd(root).seconds);
    }
    const double oursMedian = Median(ours), findMedian = Median(find);
    std::printf("full walk of %s, median of %d runs:\n", root.c_str(), runs);
    std::printf("  ours                 %.4f s\n", oursMedian);
    std::printf("  find -iname -quit    %.4f s   ours/find %.2f\n", findMedian,
                oursMedian / findMedian);
    if (haveFd) {
      const double fdMedian = Median(fd);
      std::printf("  fdfind -j1           %.4f s   ours/fd   %.2f\n", fdMedian,
                  oursMedian / fdMedian);
    }
    const long oursPeak = OursPeakKb(root, true) - OursPeakKb(root, false);
    std::printf("peak memory: ours %ld kB more than an idle process; find %ld kB in all\n",
                oursPeak, TimeFind(root).peakKb);
  }
  if (made) {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  return result;
}
