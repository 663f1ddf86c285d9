// The program's windows as their designs describe them: each form by its caption,
// each control by its window class and its place in twips inside its container. The
// driver finds a control's window from this alone, as a user finds it on the screen.
//
//   form sucher1 "Belvosta: Dorvane" 8520 4500
//   control sucher1 Label12 Static Picture9 240 15 7575 375
//   control Form3 Picture2 BelvostaPicture - 4320 840 530 530 nth=2
//
// A form line gives its caption and the size of its client area; a control line gives
// form, name, class, container ("-" for the form itself), left, top, width,
// height ("-" where the size is not the window's, as the height of a drop-down list).
// nth picks among controls that share class and place, in the order they were created.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

struct FormEntry {
  std::string name;
  std::string caption;  // may name ${COMPUTERNAME}
  int clientWidth = 0;  // twips
  int clientHeight = 0;
};

struct ControlEntry {
  std::string form;
  std::string name;
  std::string className;
  std::string container;  // empty: the form's client area
  int left = 0;
  int top = 0;
  std::optional<int> width;
  std::optional<int> height;
  int nth = 0;  // 0: the only one at its place
  std::string Path() const { return form + "." + name; }
};

class Layout {
 public:
  // Throws ParseError (scenario.h) for a malformed line.
  static Layout Parse(std::string_view content);

  const FormEntry* FindForm(std::string_view name) const;
  const ControlEntry* FindControl(std::string_view form, std::string_view name) const;
  // The control and its containers, innermost first: each level's place is relative to
  // the next one's client area.
  std::vector<const ControlEntry*> Chain(const ControlEntry& control) const;

  const std::vector<FormEntry>& Forms() const { return forms_; }
  const std::vector<ControlEntry>& Controls() const { return controls_; }

 private:
  std::vector<FormEntry> forms_;
  std::vector<ControlEntry> controls_;
};

}  // namespace e2e
