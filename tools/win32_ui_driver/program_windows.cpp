#include "program_windows.h"

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

}  // namespace

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
  if (Running()) {
    error = "the program runs already";
    return false;
  }
  Stop();
  std::wstring folder = path;
  const std::size_t slash = folder.find_last_of(L"\\/");
  folder = slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash);
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info_)) {
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

bool Program::WaitForExit(DWORD timeoutMs) const {
  return !info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const {
  DWORD code = 0;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

std::vector<HWND> Program::Windows(bool visibleOnly) const {
  Search search{info_.dwProcessId, visibleOnly, false, {}};
  if (info_.hProcess) EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Program::MessageBoxes() const {
  Search search{info_.dwProcessId, true, true, {}};
  if (info_.hProcess) EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace e2e
