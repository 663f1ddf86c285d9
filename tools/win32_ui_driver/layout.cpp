#include "layout.h"

#include <charconv>

#include "scenario.h"

namespace e2e {
namespace {

int Number(const Token& token, int line) {
  int value = 0;
  const char* end = token.text.data() + token.text.size();
  const auto [last, error] = std::from_chars(token.text.data(), end, value);
  if (error != std::errc() || last != end) {
    throw ParseError(line, "not a number of twips: " + token.text);
  }
  return value;
}

std::optional<int> Size(const Token& token, int line) {
  if (token.text == "-") return std::nullopt;
  return Number(token, line);
}

}  // namespace

Layout Layout::Parse(std::string_view content) {
  Layout layout;
  const std::vector<std::string_view> lines = Lines(content);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    std::vector<Token> tokens;
    try {
      tokens = Tokenize(lines[i]);
    } catch (const std::runtime_error& error) {
      throw ParseError(number, error.what());
    }
    if (tokens.empty() || tokens.front().text.starts_with("#")) continue;
    const std::string& kind = tokens.front().text;
    if (kind == "form" && tokens.size() == 5) {
      layout.forms_.push_back(
          {tokens[1].text, tokens[2].text, Number(tokens[3], number), Number(tokens[4], number)});
    } else if (kind == "control" && (tokens.size() == 9 || tokens.size() == 10)) {
      ControlEntry control{.form = tokens[1].text,
                           .name = tokens[2].text,
                           .className = tokens[3].text,
                           .container = tokens[4].text == "-" ? std::string() : tokens[4].text,
                           .left = Number(tokens[5], number),
                           .top = Number(tokens[6], number),
                           .width = Size(tokens[7], number),
                           .height = Size(tokens[8], number)};
      if (tokens.size() == 10) {
        if (tokens[9].key != "nth") throw ParseError(number, "the tenth column is nth=N");
        control.nth = Number(tokens[9], number);
      }
      if (!layout.FindForm(control.form)) throw ParseError(number, "unknown form " + control.form);
      if (!control.container.empty() && !layout.FindControl(control.form, control.container)) {
        throw ParseError(number, "the container must come first: " + control.container);
      }
      layout.controls_.push_back(std::move(control));
    } else {
      throw ParseError(number,
                       "expected: form NAME CAPTION WIDTH HEIGHT, or control FORM NAME CLASS "
                       "CONTAINER LEFT TOP WIDTH HEIGHT [nth=N]");
    }
  }
  return layout;
}

const FormEntry* Layout::FindForm(std::string_view name) const {
  for (const FormEntry& form : forms_) {
    if (form.name == name) return &form;
  }
  return nullptr;
}

const ControlEntry* Layout::FindControl(std::string_view form, std::string_view name) const {
  for (const ControlEntry& control : controls_) {
    if (control.form == form && control.name == name) return &control;
  }
  return nullptr;
}

std::vector<const ControlEntry*> Layout::Chain(const ControlEntry& control) const {
  std::vector<const ControlEntry*> chain{&control};
  // Containers are declared before what they hold, so the walk always ends.
  while (!chain.back()->container.empty()) {
    const ControlEntry* container = FindControl(control.form, chain.back()->container);
    if (!container || chain.size() > controls_.size()) break;
    chain.push_back(container);
  }
  return chain;
}

}  // namespace e2e
