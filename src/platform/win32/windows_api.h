// The one place that includes <windows.h> for the Win32 platform, with the settings every
// file of it shares: wide (W) functions, nothing older Windows lacks declared by accident
// (the target is Windows XP, so newer functions are reached only through later_windows.h),
// and no min/max macros.
#pragma once

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif

#include <windows.h>

// The window system's UiBackend::MessageBox would otherwise be renamed; the program calls
// MessageBoxW by its own name.
#undef MessageBox
