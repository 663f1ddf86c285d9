// The drive selector: a drop-down list of the computer's drives, as Windows' standard
// drive list shows them ("c: [SYSTEM]"), with the current drive selected.
#pragma once

#include "platform/win32/windows_api.h"

namespace views::win32 {

void FillDriveCombo(HWND combo);

}  // namespace views::win32
