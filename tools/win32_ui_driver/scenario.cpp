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
    if (quote == '\'' || c != '\\' || pos >= line.size()) {
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
    // \t \r \n; \" and \\, and any other character as itself.
    const std::size_t named = std::string_view("trn").find(next);
    text += named == std::string_view::npos ? next : "\t\r\n"[named];
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
  for (std::size_t start = 0, end = 0; end != std::string_view::npos; start = end + 1) {
    end = content.find('\n', start);
    std::string_view line = content.substr(start, end - start);  // to the end without a '\n'
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
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
    // The markers are bare words before the verb: win64, then not.
    const auto marker = [&](const char* word) {
      const bool marked = step.args.size() > 1 && !step.args.front().quoted &&
                          step.args.front().key.empty() && step.args.front().text == word;
      if (marked) step.args.erase(step.args.begin());
      return marked;
    };
    step.only64 = marker("win64");
    step.negated = marker("not");
    if (step.args.front().quoted || !step.args.front().key.empty()) {
      throw ParseError(number, "a step starts with its verb, a bare word");
    }
    step.verb = step.args.front().text;
    step.args.erase(step.args.begin());
    if ((step.negated || step.only64) && (step.verb == "setup" || step.verb == "scenario")) {
      throw ParseError(number, "not and win64 mark steps of a scenario");
    }

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
