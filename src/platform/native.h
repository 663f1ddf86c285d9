// Start-up of the platform the program was built for: installs the operating-system
// backend and the native window system (Win32 on Windows, FLTK elsewhere).
#pragma once

#include <memory>

namespace platform {

class NativePlatform {
 public:
  virtual ~NativePlatform() = default;
};

// Installs both backends for the life of the returned object. Defined by the window-view
// half (fltk/native_platform.cpp, win32_view/native_platform.cpp).
std::unique_ptr<NativePlatform> InstallNativePlatform(int argc, char** argv);

// Installs the operating-system backend alone, for the command line: no window system is
// started and no display is opened. Defined by the operating-system half, beside the
// console (posix/console.cpp, win32/console.cpp).
std::unique_ptr<NativePlatform> InstallSystemOnly();

}  // namespace platform
