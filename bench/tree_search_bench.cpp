// Times a full walk of the tree search (a name that is nowhere in the tree) against GNU
// find on the same tree: about 100,000 files in 5,000 folders, made in a temporary folder
// and removed at the end. Build in Release for meaningful numbers.
//
//   belvosta_tree_search_bench [runs]
#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
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

double TimeOurs(const std::string& root) {
  std::vector<char> buffer(platform::kMaxFullPath);
  const auto start = Clock::now();
  const bool found = platform::posix::SearchTree(root, kAbsentName, buffer);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  if (found) std::printf("unexpected match: %s\n", buffer.data());
  return seconds;
}

// find ROOT -iname NAME -print -quit, spawned directly (no shell), its output discarded.
double TimeFind(const std::string& root) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::string rootArgument = root;
  std::string name = kAbsentName;
  char* argv[] = {const_cast<char*>("find"),
                  rootArgument.data(),
                  const_cast<char*>("-iname"),
                  name.data(),
                  const_cast<char*>("-print"),
                  const_cast<char*>("-quit"),
                  nullptr};
  const auto start = Clock::now();
  pid_t child = 0;
  int status = 0;
  const int error = posix_spawnp(&child, "find", &actions, nullptr, argv, environ);
  if (error == 0) waitpid(child, &status, 0);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  std::string root = (fs::temp_directory_path() / "belvosta-bench-XXXXXX").string();
  if (mkdtemp(root.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  int result = 0;
  if (!MakeTree(root)) {
    std::perror("making the tree");
    result = 1;
  } else {
    TimeOurs(root);  // warm the folder cache for both
    TimeFind(root);
    std::vector<double> ours, find;
    for (int run = 0; run < runs; ++run) {
      ours.push_back(TimeOurs(root));
      find.push_back(TimeFind(root));
    }
    if (*std::min_element(find.begin(), find.end()) < 0) {
      std::printf("find could not be run\n");
      result = 1;
    } else {
      const double oursMedian = Median(ours), findMedian = Median(find);
      std::printf("full walk, median of %d runs:\n", runs);
      std::printf("  SearchTreeForFile  %.4f s\n", oursMedian);
      std::printf("  find -iname        %.4f s\n", findMedian);
      std::printf("  ratio ours/find    %.2f\n", oursMedian / findMedian);
    }
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  return result;
}
