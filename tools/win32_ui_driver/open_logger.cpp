// Stands in for the browser and the file manager: appends what it was asked to open, its
// arguments joined by blanks, as one UTF-8 line to opened.log beside itself.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  if (length > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, out.data(), length, nullptr, nullptr);
  return out;
}

std::wstring LogPath() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD length = 0;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  path.resize(length);
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
  const std::string entry = Utf8(line) + "\n";

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
