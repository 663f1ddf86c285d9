// The platform operations on the real Windows API. Every text crosses into Windows through
// the wide (W) functions and comes back as UTF-8; every result is copied into the caller's
// buffer only when it fits there whole, with its NUL.
#pragma once

#include "platform/backend.h"

namespace platform::win32 {

class Win32Backend final : public Backend {
 public:
  // Every operation of operations.h, one library a file: tree_search_ops.cpp (imagehlp),
  // shell_ops.cpp, kernel_ops.cpp, registry_ops.cpp (advapi32), socket_ops.cpp,
  // screen_ops.cpp (user32), processor_ops.cpp.
  BELVOSTA_OVERRIDE_EVERY_OPERATION
};

// What every start-up on Windows does first, with windows or without (console.cpp): no
// "insert a disk" boxes when a drive without a medium is looked at, and no DLLs from the
// current folder.
void ProtectProcess();

}  // namespace platform::win32
