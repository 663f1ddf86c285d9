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
// Every window inside this one, at any depth.
std::vector<HWND> Descendants(HWND window);

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

  // Starts it in its own folder (ending an earlier run); false with the reason when
  // Windows refuses.
  bool Start(const std::wstring& path, std::string& error);
  // Ends it at once if it still runs.
  void Stop();
  bool Running() const;
  DWORD ExitCode() const;

  // Its top-level windows other than message boxes, visible ones only unless asked.
  std::vector<HWND> Windows(bool visibleOnly) const { return TopLevel(visibleOnly, false); }
  // Its message boxes (Windows' dialog class #32770) that are on screen.
  std::vector<HWND> MessageBoxes() const { return TopLevel(true, true); }

 private:
  std::vector<HWND> TopLevel(bool visibleOnly, bool boxes) const;
  PROCESS_INFORMATION info_{};
};

// The program's message boxes as a user reads them: title, text, buttons from left to
// right, whether an icon shows, and which window owns the box.
struct BoxView {
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
