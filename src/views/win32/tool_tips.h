// The tool tips of one window's controls, in one native tool tip window.
#pragma once

#include <set>
#include <string>

#include "platform/win32/windows_api.h"

namespace views::win32 {

class ToolTips {
 public:
  explicit ToolTips(HWND owner);
  ~ToolTips();
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;

  // Shows text over the control from now on (also while the tip is up); empty text
  // removes the tip.
  void Set(HWND control, const std::wstring& text);
  // Lets long tips (full paths) wrap at this width instead of running off the screen.
  void SetMaxWidth(int pixels);

 private:
  HWND owner_;
  HWND window_ = nullptr;
  std::set<HWND> tools_;
};

}  // namespace views::win32
