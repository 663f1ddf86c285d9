#include "program_windows.h"

#include <algorithm>
#include <utility>

#include "text.h"

namespace e2e {
namespace {

struct Search {
  DWORD processId;
  bool visibleOnly;
  bool boxes;  // message boxes instead of the other windows
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search.processId) return TRUE;
  if (search.visibleOnly && !IsWindowVisible(window)) return TRUE;
  const bool box = ClassName(window) == "#32770";
  // Tool tips and other helper windows of the program have no caption of their own.
  if (box == search.boxes && (box || GetWindowTextLengthW(window) > 0)) {
    search.found.push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

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
  return "#" + std::to_string(id);
}

std::vector<HWND> Buttons(HWND box) {
  std::vector<HWND> buttons;
  for (const HWND window : Descendants(box)) {
    if (IsWindowVisible(window) && ClassName(window) == "Button") buttons.push_back(window);
  }
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

std::vector<HWND> Descendants(HWND form) {
  std::vector<HWND> windows;
  EnumChildWindows(form, &CollectChild, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string WindowText(HWND window) {
  // WM_GETTEXT reaches the window's own text also in another process.
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return Narrow(text);
}

std::string ClassName(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return Narrow(std::wstring_view(name, static_cast<std::size_t>(length > 0 ? length : 0)));
}

std::string Describe(HWND window) {
  const HWND root = GetAncestor(window, GA_ROOT);
  const RECT rect = RectIn(window, root ? root : window);
  return ClassName(window) + " " + Quoted(WindowText(window)) + " at " + std::to_string(rect.left) +
         "," + std::to_string(rect.top) + " px" + (IsWindowVisible(window) ? "" : " (hidden)");
}

RECT RectIn(HWND window, HWND reference) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, reference, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

unsigned ScreenDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

bool Program::Start(const std::wstring& path, std::string& error) {
  Stop();
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &info_)) {
    error = "cannot start " + Narrow(path) + " (error " + std::to_string(GetLastError()) + ")";
    info_ = {};
    return false;
  }
  // Until it waits for input, it has no windows to look at.
  WaitForInputIdle(info_.hProcess, 10000);
  return true;
}

void Program::Stop() {
  if (!info_.hProcess) return;
  if (Running()) {
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
  }
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
  info_ = {};
}

bool Program::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const {
  DWORD code = 0;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

std::vector<HWND> Program::TopLevel(bool visibleOnly, bool boxes) const {
  Search search{info_.dwProcessId, visibleOnly, boxes, {}};
  if (info_.hProcess) EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BoxView ReadBox(HWND box) {
  BoxView view;
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
