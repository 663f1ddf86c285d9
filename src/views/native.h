// Start-up of the platform the program was built for: installs the operating-system
// backend and the native window system (Win32 on Windows, FLTK elsewhere).
#pragma once

#include <memory>

#include "platform/system_only.h"

namespace views {

// Installs both backends for the life of the returned object.
std::unique_ptr<platform::NativePlatform> InstallNativePlatform(int argc, char** argv);

}  // namespace views
