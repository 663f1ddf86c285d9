// Start-up on Windows: the OS backend and the native Win32 window system. The start-up
// without windows, for the command line, belongs to the OS half (win32/console.cpp).
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

class Win32Platform final : public NativePlatform {
 public:
  Win32Platform() {
    win32::ProtectProcess();
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

}  // namespace

std::unique_ptr<NativePlatform> InstallNativePlatform(int, char**) {
  return std::make_unique<Win32Platform>();
}

}  // namespace platform
