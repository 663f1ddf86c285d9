// The shell's special folders (CSIDL numbers, platform/shell32.h) as file-system paths.
#pragma once

#include <string>

#include "platform/shell32.h"

namespace belvosta {

// The folder's path, or the empty text when the shell does not know it or it has no
// file-system path (the network neighbourhood). `owner` is the window asking, or 0.
std::string ErmittleSpezialordner(platform::WindowHandle owner, int folderNumber);

}  // namespace belvosta
