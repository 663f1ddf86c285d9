// A fresh folder below the system's temporary folder for one test, on real disk, removed
// with everything it holds when the test ends (on Windows, paths beyond MAX_PATH
// included; links are removed, never followed). The POSIX and the Win32
// platform tests and the behaviour tests' file checks all build their trees with it.
// Paths are UTF-8; a relative path may separate its folders with '/' or, on Windows, '\'.
#pragma once

#include <string>
#include <string_view>

namespace test_support {

class TempTree {
 public:
  TempTree();
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The folder itself, without a trailing separator.
  const std::string& Root() const { return root_; }
  // Creates an empty file at a path relative to the root (creating the folders on the way)
  // and returns its full path.
  std::string AddFile(std::string_view relativePath);
  // Creates a folder (and its parents) relative to the root and returns its full path.
  std::string AddFolder(std::string_view relativePath);

 private:
  std::string root_;
};

}  // namespace test_support
