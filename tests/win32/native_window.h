// The native window that shows a control, for the tests of the native view. Linking it
// registers the common controls.
#pragma once

#include "platform/win32/windows_api.h"
#include "ui/view_side.h"

namespace views::win32::testing {

// The window of the control in its form's current view, or null.
HWND NativeOf(const ui::Control& control);

}  // namespace views::win32::testing
