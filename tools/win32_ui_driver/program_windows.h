// What a user and a screen reader can learn about a window: its text, its class, where it
// lies and whether it shows; and the program under test as the process that owns windows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

std::string WindowText(HWND window);
std::string ClassName(HWND window);
// "Static "text" at 120,40 px", for failure messages.
std::string Describe(HWND window);

// The window's rectangle in the client coordinates of another window (pixels).
RECT RectIn(HWND window, HWND reference);
// The DPI of the screen as this process sees it.
unsigned ScreenDpi();

// The program under test.
class Program {
 public:
  Program() = default;
  ~Program() { Stop(); }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Starts it in its own folder; false with the reason when Windows refuses.
  bool Start(const std::wstring& path, std::string& error);
  // Ends it at once if it still runs.
  void Stop();
  bool Running() const;
  // Waits until it has ended; false when it still runs after timeoutMs.
  bool WaitForExit(DWORD timeoutMs) const;
  DWORD ProcessId() const { return info_.dwProcessId; }
  DWORD ExitCode() const;

  // Its top-level windows other than message boxes, visible ones only unless asked.
  std::vector<HWND> Windows(bool visibleOnly) const;
  // Its message boxes (Windows' dialog class #32770) that are on screen.
  std::vector<HWND> MessageBoxes() const;

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace e2e
