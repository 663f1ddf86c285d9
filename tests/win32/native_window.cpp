#include "native_window.h"

#include <commctrl.h>

#include <algorithm>

#include "views/win32/form_view.h"

namespace views::win32::testing {
namespace {

// The common controls (tool tips) registered before any test, as the program's start does.
[[maybe_unused]] const bool kCommonControls = [] {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  return InitCommonControlsEx(&controls) != FALSE;
}();

}  // namespace

// The form's controls are numbered 1000 plus their place in the form; those inside a frame
// are its children, not the form's.
HWND NativeOf(const ui::Control& control) {
  const auto& controls = control.Owner().Controls();
  const ui::FormView* view = ui::ViewOf(control.Owner());
  const auto place = std::find(controls.begin(), controls.end(), &control);
  if (!view || place == controls.end()) return nullptr;
  struct Search {
    int id;
    HWND found;
  } search{Win32FormView::kFirstControlId + static_cast<int>(place - controls.begin()), nullptr};
  EnumChildWindows(
      reinterpret_cast<HWND>(view->Handle()),
      [](HWND window, LPARAM data) CALLBACK -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (GetDlgCtrlID(window) != s->id) return TRUE;
        s->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace views::win32::testing
