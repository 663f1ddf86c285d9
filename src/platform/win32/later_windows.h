// Functions that Windows XP lacks, looked up at run time so that the program starts on XP
// and uses them where they exist. Each wrapper says what it does without them.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32/windows_api.h"

namespace platform::win32 {

// The DPI that Windows lays windows out at without scaling (15 twips a pixel).
inline constexpr unsigned kDefaultDpi = 96;

// Milliseconds since start; never wraps (without GetTickCount64 the 32-bit tick count is
// extended, which holds as long as it is read at least once every 49 days).
std::uint64_t TickCount64();

// The processor the thread runs on, when Windows can tell (Vista and later).
std::optional<unsigned> CurrentProcessorNumber();

// Declares the process DPI aware (per monitor where possible), unless the manifest did.
void DeclareDpiAware();

// The DPI a window is drawn at: its monitor's where Windows tracks that, else the system's.
unsigned WindowDpi(HWND window);

// The window rectangle for a client size at a DPI (AdjustWindowRectExForDpi where it
// exists, else AdjustWindowRectEx, which uses the system DPI).
RECT WindowRectForClient(int width, int height, DWORD style, DWORD exStyle, unsigned dpi);

// Switches the visual style off for one control, so that it draws in the colours the
// program gives it (a themed group box ignores them). Does nothing without uxtheme.
void DisableVisualStyle(HWND control);

}  // namespace platform::win32
