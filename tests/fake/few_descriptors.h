// A process that is short of file descriptors, for tests of what the search does then.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <vector>

namespace fake {

// The soft descriptor limit lowered so that exactly `spare` descriptors are free, for the
// life of the object.
class FewDescriptors {
 public:
  explicit FewDescriptors(int spare) {
    getrlimit(RLIMIT_NOFILE, &saved_);
    int highest = dup(0);
    close(highest);
    for (int fd = highest; fd < highest + 64; ++fd) {
      if (fcntl(fd, F_GETFD) >= 0) highest = fd;
    }
    rlimit lowered = saved_;
    lowered.rlim_cur = static_cast<rlim_t>(highest + 1 + spare);
    setrlimit(RLIMIT_NOFILE, &lowered);
    for (int fd; (fd = dup(0)) >= 0;) fillers_.push_back(fd);
    for (int i = 0; i < spare && !fillers_.empty(); ++i) {
      close(fillers_.back());
      fillers_.pop_back();
    }
  }
  ~FewDescriptors() {
    for (int fd : fillers_) close(fd);
    setrlimit(RLIMIT_NOFILE, &saved_);
  }
  FewDescriptors(const FewDescriptors&) = delete;
  FewDescriptors& operator=(const FewDescriptors&) = delete;

 private:
  rlimit saved_{};
  std::vector<int> fillers_;
};

}  // namespace fake
