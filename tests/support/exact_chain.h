// A chain of folders below a folder, made one step at a time relative to the last, so that
// its full path may pass the system's path limit (POSIX tests only); removed again, with
// the one file it may hold, when it goes.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace test_support {

// A chain whose full path is exactly `length` bytes.
class ExactChain {
 public:
  ExactChain(const std::string& root, std::size_t length) : path_(root) {
    fds_.push_back(open(root.c_str(), O_RDONLY | O_DIRECTORY));
    while (path_.size() < length) {
      const std::size_t left = length - path_.size();  // '/' and a name
      const std::size_t name = left > 256 ? 200 : left - 1;
      Enter(std::string(name, static_cast<char>('a' + names_.size() % 26)));
    }
  }
  // Adds a folder below the deepest one.
  void Enter(const std::string& name) {
    mkdirat(fds_.back(), name.c_str(), 0755);
    fds_.push_back(openat(fds_.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
    names_.push_back(name);
    path_ += "/" + name;
  }
  void AddFile(const std::string& name) {
    close(openat(fds_.back(), name.c_str(), O_CREAT | O_WRONLY, 0644));
    file_ = name;
  }
  ~ExactChain() {
    if (!file_.empty()) unlinkat(fds_.back(), file_.c_str(), 0);
    for (std::size_t i = names_.size(); i > 0; --i) {
      close(fds_[i]);
      unlinkat(fds_[i - 1], names_[i - 1].c_str(), AT_REMOVEDIR);
    }
    close(fds_[0]);
  }
  ExactChain(const ExactChain&) = delete;
  ExactChain& operator=(const ExactChain&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::vector<int> fds_;
  std::vector<std::string> names_;
  std::string file_;
};

}  // namespace test_support
