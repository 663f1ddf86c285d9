// The real operating system, adding up the walks and the work of every walk, for the
// benchmarks that compare whole checks with single walks.
#pragma once

#include <span>
#include <string>

#include "platform/imagehlp.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/tree_search.h"

class CountingBackend : public platform::posix::PosixBackend {
 public:
  std::size_t SearchTree(const platform::TreeSearch& search,
                         std::span<std::string> found) override {
    ++walks;
    return platform::posix::SearchTree(search, found, counts);
  }
  int walks = 0;
  platform::posix::WalkCounts counts;
};
