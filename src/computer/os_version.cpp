// The Windows version: its code, cached for the window object's life, and its name.
#include <array>
#include <string_view>

#include "computer/form3.h"
#include "platform/kernel32.h"
#include "ui/forms.h"

namespace belvosta {
namespace {

// A code the version table does not list.
constexpr std::int32_t kUnknown = -1;

constexpr std::array<std::string_view, 10> kVersionNames = {"Windows 32s",
                                                            "Windows 95",
                                                            "Windows 98",
                                                            "Windows ME",
                                                            "Windows NT 3",
                                                            "Windows NT 4",
                                                            "Windows 2000",
                                                            "Windows XP professional",
                                                            "Windows XP Home Edition",
                                                            "Windows 2003"};

void ReportQueryError() {
  ui::MsgBox("Das Betriebssystem konnte nicht korrekt erkannt werden:\r\nFehler im API-Aufruf");
}

std::int32_t Windows9xCode(unsigned long minor) {
  switch (minor) {
    case 0:
      return 1;
    case 10:
      return 2;
    case 90:
      return 3;
    default:
      return kUnknown;
  }
}

}  // namespace

std::int32_t Form3::GetOSVersion() {
  if (OSVersionErmittelt) return OSVersionCode;

  platform::OSVERSIONINFOA info;
  if (platform::GetVersionExA(info) == 0) {
    ReportQueryError();
    // Not cached: the next report asks again. Nothing is known, so no name is claimed.
    OSVersionCode = kUnknown;
    return OSVersionCode;
  }

  std::int32_t code = kUnknown;
  if (info.dwPlatformId == platform::kVerPlatformWin32s) {
    code = 0;
  } else if (info.dwPlatformId == platform::kVerPlatformWin32Windows) {
    code = Windows9xCode(info.dwMinorVersion);
  } else if (info.dwPlatformId == platform::kVerPlatformWin32Nt) {
    if (info.dwMajorVersion == 3) code = 4;
    if (info.dwMajorVersion == 4) code = 5;
    if (info.dwMajorVersion == 5 && info.dwMinorVersion == 0) code = 6;
    if (info.dwMajorVersion == 5 && info.dwMinorVersion == 2) code = 9;
    if (info.dwMajorVersion == 5 && info.dwMinorVersion == 1) {
      // Home and professional differ only in the suite mask of the extended record.
      platform::OSVERSIONINFOEXA ex;
      if (platform::GetVersionExA(ex) == 0) {
        ReportQueryError();
        OSVersionCode = 7;
        return OSVersionCode;
      }
      code = (ex.wSuiteMask & platform::kVerSuitePersonal) != 0 ? 8 : 7;
    }
  }
  OSVersionCode = code;
  OSVersionErmittelt = true;
  return OSVersionCode;
}

std::string Form3::ErmittleWVers() {
  const std::int32_t code = GetOSVersion();
  if (code < 0 || code >= static_cast<std::int32_t>(kVersionNames.size())) return "*unknown*";
  return std::string(kVersionNames[static_cast<std::size_t>(code)]);
}

}  // namespace belvosta
