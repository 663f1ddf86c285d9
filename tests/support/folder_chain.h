// A chain of folders below a folder, made one step at a time relative to the last, so that
// its full path may pass the system's path limit where whole-path calls refuse it (POSIX
// tests only). What it made, files and side folders at any level included, is removed
// again, deepest first, when it goes.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace test_support {

class FolderChain {
 public:
  explicit FolderChain(const std::string& root) : path_(root) {
    fds_.push_back(open(root.c_str(), O_RDONLY | O_DIRECTORY));
  }
  // A chain whose full path is exactly `length` bytes, of names of at most 200 letters.
  FolderChain(const std::string& root, std::size_t length) : FolderChain(root) {
    while (path_.size() < length) {
      const std::size_t left = length - path_.size();  // '/' and a name
      const std::size_t name = left > 256 ? 200 : left - 1;
      Enter(std::string(name, static_cast<char>('a' + Depth() % 26)));
    }
  }
  ~FolderChain() {
    for (std::size_t i = made_.size(); i > 0; --i) {
      const Made& item = made_[i - 1];
      if (item.entered) close(fds_[item.level + 1]);
      unlinkat(fds_[item.level], item.name.c_str(), item.folder ? AT_REMOVEDIR : 0);
    }
    close(fds_[0]);
  }
  FolderChain(const FolderChain&) = delete;
  FolderChain& operator=(const FolderChain&) = delete;

  // Adds a folder below the deepest one and goes into it.
  void Enter(const std::string& name) {
    mkdirat(fds_.back(), name.c_str(), 0755);
    made_.push_back({Depth(), name, true, true});
    fds_.push_back(openat(fds_.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
    path_ += "/" + name;
  }
  // Adds a folder beside the chain's next step, in the deepest folder.
  void AddFolder(const std::string& name) {
    mkdirat(fds_.back(), name.c_str(), 0755);
    made_.push_back({Depth(), name, true, false});
  }
  // Adds an empty file in the deepest folder, or in a folder AddFolder made there
  // ("side/file").
  void AddFile(const std::string& relative) {
    close(openat(fds_.back(), relative.c_str(), O_CREAT | O_WRONLY, 0644));
    made_.push_back({Depth(), relative, false, false});
  }
  // The deepest folder's full path.
  const std::string& Path() const { return path_; }
  std::size_t Depth() const { return fds_.size() - 1; }

 private:
  struct Made {
    std::size_t level;  // the folder it is in: 0 for the root
    std::string name;
    bool folder;
    bool entered;
  };
  std::string path_;
  std::vector<int> fds_;
  std::vector<Made> made_;
};

}  // namespace test_support
