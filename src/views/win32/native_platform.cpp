// Start-up on Windows: the OS backend and the native Win32 window system.
#include "platform/native.h"

#include "platform/win32/windows_api.h"

#include <commctrl.h>
#include <objbase.h>

#include "platform/win32/later_windows.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/windows_api.h"
#include "platform/win32_view/ui_backend.h"

namespace platform {
namespace {

// No "insert a disk" boxes when a drive without a medium is looked at, and no DLLs from
// the current folder.
void ProtectProcess() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetDllDirectoryW(L"");
}

class Win32Platform final : public NativePlatform {
 public:
  Win32Platform() {
    ProtectProcess();
    win32::DeclareDpiAware();
    // The shell's "Open" may start COM servers on this thread.
    comReady_ =
        SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    ui_ = std::make_unique<win32::Win32Ui>();
    SetBackend(&backend_);
    SetUiBackend(ui_.get());
  }

  ~Win32Platform() override {
    SetUiBackend(nullptr);
    SetBackend(nullptr);
    ui_.reset();
    if (comReady_) CoUninitialize();
  }

  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

 private:
  win32::Win32Backend backend_;
  std::unique_ptr<win32::Win32Ui> ui_;
  bool comReady_ = false;
};

// The operations alone, for the command line: no windows, no COM.
class Win32System final : public NativePlatform {
 public:
  Win32System() {
    ProtectProcess();
    SetBackend(&backend_);
  }
  ~Win32System() override { SetBackend(nullptr); }
  Win32System(const Win32System&) = delete;
  Win32System& operator=(const Win32System&) = delete;

 private:
  win32::Win32Backend backend_;
};

}  // namespace

std::unique_ptr<NativePlatform> InstallNativePlatform(int, char**) {
  return std::make_unique<Win32Platform>();
}

std::unique_ptr<NativePlatform> InstallSystemOnly() {
  return std::make_unique<Win32System>();
}

}  // namespace platform
