// A native window as the operations see it, without the window system's types.
#pragma once

#include <cstdint>

namespace platform {

// An opaque native window handle (HWND on Windows); 0 means none.
using WindowHandle = std::uintptr_t;

}  // namespace platform
