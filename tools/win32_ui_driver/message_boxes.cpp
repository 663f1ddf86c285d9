#include "message_boxes.h"

#include <algorithm>
#include <utility>

#include "program_windows.h"
#include "text.h"

namespace e2e {
namespace {

// The control numbers of a message box: its text, its icon, and the buttons by answer.
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x0440;
constexpr std::pair<int, const char*> kButtonNames[] = {
    {IDOK, "OK"},         {IDCANCEL, "Cancel"}, {IDABORT, "Abort"}, {IDRETRY, "Retry"},
    {IDIGNORE, "Ignore"}, {IDYES, "Yes"},       {IDNO, "No"}};

std::string ButtonName(int id) {
  for (const auto& [number, name] : kButtonNames) {
    if (number == id) return name;
  }
  std::string unknown = "#";
  return unknown += std::to_string(id);
}

BOOL CALLBACK CollectButton(HWND window, LPARAM context) {
  if (IsWindowVisible(window) && ClassName(window) == "Button") {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  }
  return TRUE;
}

std::vector<HWND> Buttons(HWND box) {
  std::vector<HWND> buttons;
  EnumChildWindows(box, &CollectButton, reinterpret_cast<LPARAM>(&buttons));
  std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
    RECT ra{};
    RECT rb{};
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return buttons;
}

}  // namespace

BoxView ReadBox(HWND box) {
  BoxView view;
  view.window = box;
  view.title = WindowText(box);
  if (const HWND text = GetDlgItem(box, kTextId)) view.text = WindowText(text);
  for (const HWND button : Buttons(box)) view.buttons.push_back(ButtonName(GetDlgCtrlID(button)));
  const HWND icon = GetDlgItem(box, kIconId);
  view.icon = icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
  view.owner = GetWindow(box, GW_OWNER);
  return view;
}

std::string JoinButtons(const std::vector<std::string>& buttons) {
  std::string joined;
  for (const std::string& button : buttons) AppendItem(joined, ",", button);
  return joined;
}

std::string Describe(const BoxView& box) {
  return "box title=" + Quoted(box.title) + " text=" + Quoted(box.text) +
         " buttons=" + JoinButtons(box.buttons) + (box.icon ? " with an icon" : "");
}

HWND FindButton(HWND box, const std::string& name) {
  for (const HWND button : Buttons(box)) {
    if (ButtonName(GetDlgCtrlID(button)) == name) return button;
  }
  return nullptr;
}

}  // namespace e2e
