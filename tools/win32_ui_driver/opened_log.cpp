#include "opened_log.h"

#include "text.h"

namespace e2e {

std::vector<std::string> OpenedLog::All() const {
  std::vector<std::string> lines;
  const std::string content = ReadWholeFile(path_).value_or("");
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
  checked_ = All().size();
}

std::vector<std::string> OpenedLog::Pending() const {
  std::vector<std::string> all = All();
  if (checked_ >= all.size()) return {};
  return {all.begin() + static_cast<std::ptrdiff_t>(checked_), all.end()};
}

}  // namespace e2e
