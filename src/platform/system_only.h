// The window-less start-up: installs the operating-system backend alone, for the command
// line. Each OS half defines it (posix/console.cpp, win32/system_only.cpp); the start-up with
// the window system is the views' (views/native.h).
#pragma once

#include <memory>

namespace platform {

// What a start-up installed, for as long as it lives.
class NativePlatform {
 public:
  virtual ~NativePlatform() = default;
};

// Installs the operating-system backend alone: no window system is started and no display
// is opened.
std::unique_ptr<NativePlatform> InstallSystemOnly();

}  // namespace platform
