#include "user_input.h"

#include "program_windows.h"

namespace e2e {
namespace {

// Absolute mouse coordinates run from 0 to 65535 across the primary screen.
LONG Normalised(int pixel, int extent) {
  return static_cast<LONG>((pixel * 65535LL + extent / 2) / (extent > 1 ? extent - 1 : 1));
}

void SendMouse(DWORD flags, POINT point) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = Normalised(point.x, GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = Normalised(point.y, GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &input, sizeof(INPUT));
}

void SendKey(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, 0));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof(INPUT));
}

// Lets the program take in what was sent before the next event follows.
constexpr DWORD kSettleMs = 60;

}  // namespace

bool VisibleRect(HWND target, RECT& visible, std::string& whyNot) {
  if (!IsWindowVisible(target)) {
    whyNot = "it is hidden";
    return false;
  }
  GetWindowRect(target, &visible);
  // Every parent up to the form clips it: what lies outside a client area is never seen.
  for (HWND parent = GetParent(target); parent; parent = GetParent(parent)) {
    RECT client{};
    GetClientRect(parent, &client);
    MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
    IntersectRect(&visible, &visible, &client);
    if ((GetWindowLongPtrW(parent, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  if (IsRectEmpty(&visible)) {
    whyNot = "it lies outside the visible client area";
    return false;
  }
  return true;
}

bool VisibleMiddle(HWND target, POINT& point, std::string& whyNot) {
  RECT visible{};
  if (!VisibleRect(target, visible, whyNot)) return false;
  point = {(visible.left + visible.right) / 2, (visible.top + visible.bottom) / 2};
  const HWND under = WindowFromPoint(point);
  if (!under || (under != target && !IsChild(target, under))) {
    whyNot = "at its middle lies " + (under ? Describe(under) : std::string("no window"));
    return false;
  }
  return true;
}

UserInput::UserInput() {
  POINT before{};
  GetCursorPos(&before);
  const POINT probe{before.x == 7 ? 9 : 7, 5};
  SendMouse(0, probe);
  Sleep(100);
  POINT after{};
  GetCursorPos(&after);
  real_ = after.x == probe.x && after.y == probe.y;
}

void UserInput::Park() {
  if (real_) MoveTo({GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

void UserInput::MoveTo(POINT point) {
  // Under Wine on a busy machine, a move can be followed by a late mouse event at the place
  // the pointer came from, which would light up or leave lit what lies there. Arriving in
  // two steps, the second of one pixel, keeps that late event on the same window.
  for (const POINT step : {POINT{point.x - 1, point.y}, point}) {
    SendMouse(0, step);
    POINT now{};
    for (int i = 0; i < 100 && GetCursorPos(&now) && (now.x != step.x || now.y != step.y); ++i)
      Sleep(20);
    Sleep(kSettleMs);
  }
}

bool UserInput::Click(HWND target, int clicks, std::string& whyNot) {
  POINT point{};
  if (!VisibleMiddle(target, point, whyNot)) return false;
  POINT client = point;
  ScreenToClient(target, &client);
  const LPARAM at = MAKELPARAM(client.x, client.y);
  if (real_) {
    MoveTo(point);
  } else {
    PostMessageW(target, WM_MOUSEMOVE, 0, at);
    Sleep(kSettleMs);
  }
  for (int click = 0; click < clicks; ++click) {
    if (real_) {
      SendMouse(MOUSEEVENTF_LEFTDOWN, point);
      SendMouse(MOUSEEVENTF_LEFTUP, point);
    } else {
      PostMessageW(target, click == 0 ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK, MK_LBUTTON, at);
      PostMessageW(target, WM_LBUTTONUP, 0, at);
    }
  }
  if (clicks > 0) Sleep(kSettleMs);
  return true;
}

void UserInput::Press(WORD virtualKey, HWND focused) {
  if (real_) {
    SendKey(virtualKey, false);
    SendKey(virtualKey, true);
  } else if (focused) {
    const UINT scan = MapVirtualKeyW(virtualKey, 0);
    PostMessageW(focused, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    PostMessageW(focused, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
  }
  Sleep(kSettleMs);
}

}  // namespace e2e
