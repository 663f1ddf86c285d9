#include "text.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>

namespace e2e {

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), {});
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const std::size_t named = std::string_view("\t\r\n\"\\").find(c);
    if (named != std::string_view::npos) {
      (out += '\\') += "trn\"\\"[named];
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
      out += code;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

void AppendItem(std::string& list, std::string_view separator, std::string_view item) {
  if (!list.empty()) list += separator;
  list += item;
}

std::string Expand(std::string_view text, const Variables& variables) {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = text.find("${", pos);
    if (start == std::string_view::npos) break;
    const std::size_t end = text.find('}', start);
    if (end == std::string_view::npos) break;
    out.append(text.substr(pos, start - pos));
    const std::string name(text.substr(start + 2, end - start - 2));
    const auto found = variables.find(name);
    // An unknown name stays as written, so that the failure message shows it.
    out +=
        found != variables.end() ? found->second : std::string(text.substr(start, end - start + 1));
    pos = end + 1;
  }
  out.append(text.substr(pos));
  return out;
}

bool Matcher::Matches(std::string_view seen) const {
  if (!pattern_) return seen == text_;
  try {
    return std::regex_match(seen.begin(), seen.end(), std::regex(text_, std::regex::ECMAScript));
  } catch (const std::regex_error&) {
    return false;  // Describe() names the pattern; a broken one never matches
  }
}

std::string Matcher::Describe() const {
  return pattern_ ? "a text matching /" + text_ + "/" : Quoted(text_);
}

}  // namespace e2e
