// imagehlp: the tree search (tree_search.cpp).
#include "platform/posix/system_backend.h"
#include "platform/posix/tree_search.h"

namespace platform::posix {

std::size_t PosixBackend::SearchTree(const TreeSearch& search, std::span<std::string> found) {
  return posix::SearchTree(search, found);
}

}  // namespace platform::posix
