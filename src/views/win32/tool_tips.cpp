#include "views/win32/tool_tips.h"

#include <commctrl.h>

namespace views::win32 {
namespace {

// The record size every comctl32 version since 5.80 understands (Windows XP included).
const UINT kToolInfoSize = TTTOOLINFOW_V2_SIZE;

TOOLINFOW ToolFor(HWND owner, HWND control, const std::wstring* text) {
  TOOLINFOW tool{};
  tool.cbSize = kToolInfoSize;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = owner;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text ? const_cast<wchar_t*>(text->c_str()) : nullptr;
  return tool;
}

}  // namespace

ToolTips::ToolTips(HWND owner) : owner_(owner) {
  window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                            WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
}

ToolTips::~ToolTips() {
  if (window_) DestroyWindow(window_);
}

void ToolTips::Set(HWND control, const std::wstring& text) {
  if (!window_ || !control) return;
  const bool known = tools_.count(control) != 0;
  if (text.empty()) {
    if (!known) return;
    TOOLINFOW tool = ToolFor(owner_, control, nullptr);
    SendMessageW(window_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    tools_.erase(control);
    return;
  }
  TOOLINFOW tool = ToolFor(owner_, control, &text);
  if (known) {
    SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  } else if (SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    tools_.insert(control);
  }
}

void ToolTips::SetMaxWidth(int pixels) {
  if (window_) SendMessageW(window_, TTM_SETMAXTIPWIDTH, 0, pixels);
}

}  // namespace views::win32
