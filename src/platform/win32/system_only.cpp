// The window-less start-up on Windows: the operations alone, for the command line; no
// windows, no COM.
#include "platform/system_only.h"

#include "platform/win32/windows_api.h"

#include "platform/win32/system_backend.h"

namespace platform {
namespace win32 {

void ProtectProcess() {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  SetDllDirectoryW(L"");
}

namespace {

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
  Win32Backend backend_;
};

}  // namespace
}  // namespace win32

std::unique_ptr<NativePlatform> InstallSystemOnly() {
  return std::make_unique<win32::Win32System>();
}

}  // namespace platform
