// A fresh folder below the temporary folder for one test, removed with all it holds
// (paths beyond MAX_PATH included) when the test ends.
#pragma once

#include <string>

namespace platform::win32::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  // Makes the folders of a relative path below this one, and a file at its end when
  // fileName is not empty; returns the full path of what it made last.
  std::wstring Make(const std::wstring& folders, const std::wstring& fileName = {}) const;

 private:
  std::wstring path_;
};

}  // namespace platform::win32::testing
