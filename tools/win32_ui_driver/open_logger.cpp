// Stands in for the browser and the file manager: appends what it was asked to open, its
// arguments joined by blanks, as one UTF-8 line to opened.log beside itself.
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "platform/win32/utf8.h"

namespace {

std::wstring LogPath() {
  // A module's path has at most 32767 characters.
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  const std::size_t slash = path.find_last_of(L'\\');
  return path.substr(0, slash == std::wstring::npos ? 0 : slash + 1) + L"opened.log";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return 1;
  std::wstring line;
  for (int i = 1; i < count; ++i) line += (i > 1 ? L" " : L"") + std::wstring(arguments[i]);
  LocalFree(arguments);
  const std::string entry = platform::win32::Narrow(line) + "\n";

  // Appending is one write: entries of loggers that run at the same time stay whole.
  const HANDLE log =
      CreateFileW(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(log, entry.data(), static_cast<DWORD>(entry.size()), &written, nullptr);
  CloseHandle(log);
  return ok && written == entry.size() ? 0 : 1;
}
