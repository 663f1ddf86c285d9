#include "support/temp_tree.h"

#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace test_support {
namespace {

namespace fs = std::filesystem;

}  // namespace

TempTree::TempTree() {
  std::string pattern = (fs::temp_directory_path() / "belvosta-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::system_error(errno, std::generic_category());
  root_ = pattern;
}

TempTree::~TempTree() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

std::string TempTree::AddFolder(std::string_view relativePath) {
  fs::path full = fs::path(root_) / relativePath;
  fs::create_directories(full);
  return full.string();
}

std::string TempTree::AddFile(std::string_view relativePath) {
  fs::path full = fs::path(root_) / relativePath;
  fs::create_directories(full.parent_path());
  std::ofstream(full).flush();
  if (!fs::exists(full)) throw std::runtime_error("cannot create " + full.string());
  return full.string();
}

}  // namespace test_support
