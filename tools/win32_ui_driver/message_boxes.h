// The program's message boxes as a user reads them: title, text, buttons from left to
// right, whether an icon shows, and which window owns the box.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

struct BoxView {
  HWND window = nullptr;
  std::string title;
  std::string text;
  std::vector<std::string> buttons;  // "OK", "Yes", "No", "Cancel", ...
  bool icon = false;
  HWND owner = nullptr;
};

BoxView ReadBox(HWND box);
// "title "..." text "..." buttons=Yes,No,Cancel", for failure messages.
std::string Describe(const BoxView& box);
std::string JoinButtons(const std::vector<std::string>& buttons);
// The box's button of that name, or nullptr.
HWND FindButton(HWND box, const std::string& name);

}  // namespace e2e
