#include "views/win32/ui_backend.h"

#include <algorithm>

#include "platform/win32/later_windows.h"
#include "platform/win32/utf8.h"
#include "views/win32/form_view.h"
#include "views/win32/native_images.h"

namespace views::win32 {
namespace {

// The one instance, for the timer callback (Windows passes it no context).
Win32Ui* g_ui = nullptr;

bool KeyIsDown(int key) {
  return (GetKeyState(key) & 0x8000) != 0;
}

// Tab or Shift+Tab, without Ctrl or Alt.
bool IsTabKey(const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_TAB && !KeyIsDown(VK_CONTROL) &&
         !KeyIsDown(VK_MENU);
}

// Windows never fires a timer sooner than this (USER_TIMER_MINIMUM).
constexpr std::int64_t kMinimumDelayMs = 10;
constexpr std::int64_t kMaximumDelayMs = 0x7FFFFFFF;

// The box's answer in the program's numbering, which is Windows' own (IDOK 1, IDYES 6 ...).
int Answer(int pressed, int style) {
  if (pressed != 0) return pressed;
  // The box could not be shown: an answer that nothing acts upon.
  return (style & 0xF) == ui::vbOKOnly ? ui::vbOK : ui::vbCancel;
}

}  // namespace

Win32Ui::Win32Ui() {
  g_ui = this;
  handCursor_ = CreateHandCursor();
}

Win32Ui::~Win32Ui() {
  // Views that are still alive (of forms that stay loaded) must not reach back here.
  const std::vector<Win32FormView*> remaining = views_;
  for (Win32FormView* view : remaining) view->Detach();
  views_.clear();
  if (timerId_) KillTimer(nullptr, timerId_);
  if (handCursor_) DestroyCursor(handCursor_);
  if (g_ui == this) g_ui = nullptr;
}

std::unique_ptr<ui::FormView> Win32Ui::CreateView(ui::Form& form) {
  std::unique_ptr<Win32FormView> view = Win32FormView::Create(*this, form);
  // A window made while a message box is open takes no input until the box closes, like
  // the program's other windows.
  if (view && !disabledByBoxes_.empty()) {
    EnableWindow(view->Window(), FALSE);
    disabledByBoxes_.back().push_back(view->Window());
  }
  return view;
}

HWND Win32Ui::BoxOwner(ui::Form* owner) const {
  if (owner && ui::ViewOf(*owner)) {
    const HWND window = reinterpret_cast<HWND>(ui::ViewOf(*owner)->Handle());
    if (window && IsWindowVisible(window)) return window;
  }
  // The calling form is hidden (a form that is still loading): the box belongs to a window
  // the user can see, so that it comes up in front of it.
  for (Win32FormView* view : views_) {
    if (view->Window() && IsWindowVisible(view->Window())) return view->Window();
  }
  return nullptr;
}

int Win32Ui::MessageBox(ui::Form* owner, std::string_view text, int style, std::string_view title) {
  ArmTimer();  // a handler may have started a timer just before asking
  const HWND ownerWindow = BoxOwner(owner);

  // Windows disables the owner; every other window of the program takes no input either.
  disabledByBoxes_.emplace_back();
  const std::vector<Win32FormView*> views = views_;  // Windows' messages may run code
  for (Win32FormView* view : views) {
    const HWND window = view->Window();
    if (window && window != ownerWindow && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      disabledByBoxes_.back().push_back(window);
    }
  }

  const std::wstring wideText = platform::win32::Widen(text);
  const std::wstring wideTitle = platform::win32::Widen(title);
  const UINT buttons = static_cast<UINT>(style & 0xF);  // the program's numbering is Windows'
  const UINT flags = buttons | MB_SETFOREGROUND | (ownerWindow ? MB_APPLMODAL : MB_TASKMODAL);
  const int pressed = MessageBoxW(ownerWindow, wideText.c_str(), wideTitle.c_str(), flags);

  const std::vector<HWND> disabled = std::move(disabledByBoxes_.back());
  disabledByBoxes_.pop_back();
  for (const HWND window : disabled) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  return Answer(pressed, style);
}

void Win32Ui::Dispatch(MSG& message) {
  // Keyboard navigation inside the program's windows: Tab walks the form's tab stops as the
  // window model orders them; space and Enter work as in a dialog.
  if (message.hwnd) {
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    const auto view = std::find_if(views_.begin(), views_.end(),
                                   [root](Win32FormView* each) { return each->Window() == root; });
    if (view != views_.end()) {
      if (IsTabKey(message)) {
        (*view)->MoveFocus(!KeyIsDown(VK_SHIFT));
        return;
      }
      if (IsDialogMessageW(root, &message)) return;
    }
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void Win32Ui::DoEvents() {
  ArmTimer();
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Leave it for the outermost loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    Dispatch(message);
    ArmTimer();
  }
}

void Win32Ui::WaitEvents(std::int64_t maxMs) {
  ArmTimer();  // the thread timer's message wakes the wait when a timer is due
  const auto timeout = static_cast<DWORD>(std::clamp<std::int64_t>(maxMs, 0, kMaximumDelayMs));
  // Returns at once when input is already waiting, even input seen before.
  MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  ui::DoEvents();
}

void Win32Ui::Run() {
  ArmTimer();
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    Dispatch(message);
    // Nothing of the program runs now: views of unloaded forms can go.
    ui::CollectRetiredViews();
    ArmTimer();
  }
}

void Win32Ui::End() {
  // At once: no further handler runs, and Windows closes the windows with the process.
  ExitProcess(0);
}

std::int64_t Win32Ui::NowMs() {
  return static_cast<std::int64_t>(platform::win32::TickCount64());
}

HCURSOR Win32Ui::CursorFor(ui::MousePointer pointer) const {
  switch (pointer) {
    case ui::MousePointer::Hourglass:
      return LoadCursorW(nullptr, IDC_WAIT);
    case ui::MousePointer::Hand:
      return handCursor_ ? handCursor_ : LoadCursorW(nullptr, IDC_ARROW);
    case ui::MousePointer::Default:
      break;
  }
  return LoadCursorW(nullptr, IDC_ARROW);
}

void Win32Ui::Register(Win32FormView* view) {
  views_.push_back(view);
}

void Win32Ui::Unregister(Win32FormView* view) {
  std::erase(views_, view);
}

void Win32Ui::ArmTimer() {
  const std::int64_t due = ui::NextTimerDueMs();
  if (due < 0) {
    if (timerId_) KillTimer(nullptr, timerId_);
    timerId_ = 0;
    armedDueMs_ = -1;
    return;
  }
  if (timerId_ && due == armedDueMs_) return;
  const std::int64_t delay = std::clamp(due - NowMs(), kMinimumDelayMs, kMaximumDelayMs);
  // A thread timer (no window), so that it also ticks inside Windows' own modal loops:
  // message boxes, and moving a window by its title bar.
  timerId_ = SetTimer(nullptr, timerId_, static_cast<UINT>(delay), &Win32Ui::TimerTick);
  armedDueMs_ = timerId_ ? due : -1;
}

void CALLBACK Win32Ui::TimerTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!g_ui) return;
  g_ui->armedDueMs_ = -1;  // re-arm in any case: Windows' timer repeats at its old delay
  ui::RunDueTimers(g_ui->NowMs());
  g_ui->ArmTimer();
}

}  // namespace views::win32
