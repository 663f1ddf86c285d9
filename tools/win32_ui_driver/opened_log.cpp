#include "opened_log.h"

#include <windows.h>

namespace e2e {

std::vector<std::string> OpenedLog::All() const {
  std::vector<std::string> lines;
  const HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return lines;
  std::string content;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
    content.append(buffer, read);
  }
  CloseHandle(file);
  // Only whole lines: the logger may be writing the next one right now.
  std::size_t start = 0;
  for (std::size_t end = content.find('\n'); end != std::string::npos;
       end = content.find('\n', start)) {
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

void OpenedLog::Reset() {
  skipped_ = All().size();
  taken_ = 0;
}

std::vector<std::string> OpenedLog::Pending() const {
  std::vector<std::string> all = All();
  const std::size_t first = skipped_ + taken_;
  if (first >= all.size()) return {};
  return {all.begin() + static_cast<std::ptrdiff_t>(first), all.end()};
}

}  // namespace e2e
