#include "scenario.h"

#include <cctype>

namespace e2e {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsKeyChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '-';
}

bool IsQuote(char c) {
  return c == '"' || c == '\'';
}

// Reads a quoted text starting at the opening quote; pos ends behind the closing quote.
// 'single quotes' take every character as written, so that paths keep their backslashes.
std::string ReadQuoted(std::string_view line, std::size_t& pos, bool pattern) {
  std::string text;
  const char quote = line[pos++];
  while (pos < line.size()) {
    const char c = line[pos++];
    if (c == quote) return text;
    if (quote == '\'') {
      text += c;
      continue;
    }
    if (c != '\\' || pos >= line.size()) {
      text += c;
      continue;
    }
    const char next = line[pos++];
    if (pattern) {
      // The expression keeps its own escapes; only the quote needs one here.
      if (next != '"') text += '\\';
      text += next;
      continue;
    }
    switch (next) {
      case 't':
        text += '\t';
        break;
      case 'r':
        text += '\r';
        break;
      case 'n':
        text += '\n';
        break;
      default:
        text += next;  // \" and \\, and any other character as itself
    }
  }
  throw std::runtime_error("a quoted text has no closing quote");
}

}  // namespace

std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (pos < line.size()) {
    if (IsBlank(line[pos])) {
      ++pos;
      continue;
    }
    Token token;
    // key=value, key="text", key~"expression"
    std::size_t end = pos;
    while (end < line.size() && IsKeyChar(line[end])) ++end;
    const bool patternFollows = end + 1 < line.size() && line[end] == '~' && IsQuote(line[end + 1]);
    if (end > pos && end < line.size() && (line[end] == '=' || patternFollows)) {
      token.key = std::string(line.substr(pos, end - pos));
      pos = line[end] == '=' ? end + 1 : end;
    }
    if (pos + 1 < line.size() && line[pos] == '~' && IsQuote(line[pos + 1])) {
      token.pattern = true;
      ++pos;
    }
    if (pos < line.size() && IsQuote(line[pos])) {
      token.quoted = true;
      token.text = ReadQuoted(line, pos, token.pattern);
    } else {
      const std::size_t start = pos;
      while (pos < line.size() && !IsBlank(line[pos])) ++pos;
      token.text = std::string(line.substr(start, pos - start));
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

std::vector<std::string_view> Lines(std::string_view content) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start <= content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string_view::npos) end = content.size();
    std::string_view line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == content.size()) break;
    start = end + 1;
  }
  return lines;
}

ScenarioFile ParseScenarioFile(std::string_view content) {
  ScenarioFile file;
  const std::vector<std::string_view> lines = Lines(content);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    std::string_view line = lines[i];
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() == '#') continue;

    Step step;
    step.line = number;
    step.source = std::string(line);
    try {
      step.args = Tokenize(line);
    } catch (const std::runtime_error& error) {
      throw ParseError(number, error.what());
    }
    if (step.args.front().quoted || !step.args.front().key.empty()) {
      throw ParseError(number, "a step starts with its verb, a bare word");
    }
    step.verb = step.args.front().text;
    step.args.erase(step.args.begin());

    if (step.verb == "setup") {
      if (!file.scenarios.empty()) throw ParseError(number, "setup comes before the scenarios");
      file.setup.push_back(std::move(step));
    } else if (step.verb == "scenario") {
      if (step.args.size() != 1) throw ParseError(number, "scenario takes one name");
      file.scenarios.push_back({step.args.front().text, number, {}});
    } else if (file.scenarios.empty()) {
      throw ParseError(number, "a step outside a scenario");
    } else {
      file.scenarios.back().steps.push_back(std::move(step));
    }
  }
  return file;
}

}  // namespace e2e
