#include "platform/win32/later_windows.h"

#include <string>

namespace platform::win32 {
namespace {

// A function of a DLL that is loaded already, or nullptr when this Windows lacks it.
template <typename Function>
Function Lookup(const wchar_t* module, const char* name) {
  const HMODULE handle = GetModuleHandleW(module);
  if (!handle) return nullptr;
  const FARPROC proc = GetProcAddress(handle, name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

// Loads a DLL from the system folder only, never from the program's folder or the current
// one, so that no planted copy is picked up.
HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  path += L'\\';
  path += name;
  return LoadLibraryW(path.c_str());
}

unsigned SystemDpi() {
  const HDC screen = GetDC(nullptr);
  if (!screen) return kDefaultDpi;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<unsigned>(dpi) : kDefaultDpi;
}

}  // namespace

std::uint64_t TickCount64() {
  using Function = ULONGLONG(WINAPI*)();
  static const auto tickCount64 = Lookup<Function>(L"kernel32.dll", "GetTickCount64");
  if (tickCount64) return tickCount64();
  // One thread reads it (the program has only one), so plain statics suffice.
  static DWORD last = 0;
  static std::uint64_t wraps = 0;
  const DWORD now = GetTickCount();
  if (now < last) ++wraps;
  last = now;
  return (wraps << 32) | now;
}

std::optional<unsigned> CurrentProcessorNumber() {
  using Function = DWORD(WINAPI*)();
  static const auto number = Lookup<Function>(L"kernel32.dll", "GetCurrentProcessorNumber");
  if (!number) return std::nullopt;
  return static_cast<unsigned>(number());
}

void DeclareDpiAware() {
  using ContextFunction = BOOL(WINAPI*)(HANDLE);
  using AwareFunction = BOOL(WINAPI*)();
  const auto setContext = Lookup<ContextFunction>(L"user32.dll", "SetProcessDpiAwarenessContext");
  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
  if (setContext && setContext(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)))) return;
  const auto setAware = Lookup<AwareFunction>(L"user32.dll", "SetProcessDPIAware");
  if (setAware) setAware();
}

unsigned WindowDpi(HWND window) {
  using Function = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = Lookup<Function>(L"user32.dll", "GetDpiForWindow");
  if (dpiForWindow && window) {
    const UINT dpi = dpiForWindow(window);
    if (dpi > 0) return dpi;
  }
  return SystemDpi();
}

RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, unsigned dpi) {
  using Function = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = Lookup<Function>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT rect{0, 0, width, height};
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, dpi)) {
    rect = RECT{0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  }
  return rect;
}

void DisableVisualStyle(HWND control) {
  using Function = HRESULT(WINAPI*)(HWND, const wchar_t*, const wchar_t*);
  static const auto setWindowTheme = [] {
    const HMODULE uxtheme = LoadSystemLibrary(L"uxtheme.dll");
    if (!uxtheme) return Function{nullptr};
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(uxtheme, "SetWindowTheme")));
  }();
  if (setWindowTheme) setWindowTheme(control, L"", L"");
}

}  // namespace platform::win32
