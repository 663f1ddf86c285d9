// What the program handed to the shell to open: the logger that stands in for the browser
// and the file manager appends one line per address or folder to this file.
#pragma once

#include <string>
#include <vector>

namespace e2e {

class OpenedLog {
 public:
  explicit OpenedLog(std::wstring path) : path_(std::move(path)) {}

  // Forgets every earlier entry (a new run of the program starts).
  void Reset();
  // The entries written since the last Reset and not yet taken.
  std::vector<std::string> Pending() const;
  // Marks the oldest pending entry as checked.
  void Take() { ++checked_; }

 private:
  std::vector<std::string> All() const;

  std::wstring path_;
  std::size_t checked_ = 0;  // entries from before the last Reset, and those taken since
};

}  // namespace e2e
