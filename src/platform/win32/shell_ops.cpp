#include "platform/win32/windows_api.h"

#include <shellapi.h>
#include <shlobj.h>

#include "platform/buffer_rules.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/utf8.h"

namespace platform::win32 {
namespace {

// A path the file system can open: a drive ("C:\...") or a share ("\\server\share").
// Wine names virtual folders such as the network neighbourhood "::{GUID}" instead of
// failing, and such a name is no path.
bool IsFileSystemPath(std::wstring_view path) {
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') {
    const wchar_t drive = path[0];
    return (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
  }
  return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'?';
}

const wchar_t* OptionalText(const char* text, std::wstring& storage) {
  if (!text) return nullptr;
  storage = Widen(text);
  return storage.c_str();
}

}  // namespace

long Win32Backend::SpecialFolderLocation(WindowHandle owner, int csidl, ItemIdList** list) {
  if (!list) return E_POINTER;
  *list = nullptr;
  LPITEMIDLIST items = nullptr;
  const HRESULT result = SHGetSpecialFolderLocation(reinterpret_cast<HWND>(owner), csidl, &items);
  if (FAILED(result) || !items) {
    if (items) CoTaskMemFree(items);
    return FAILED(result) ? static_cast<long>(result) : E_FAIL;
  }
  *list = reinterpret_cast<ItemIdList*>(items);
  return 0;
}

// Windows decides its folders itself: no setting of the user's to name.
PathPhrase Win32Backend::FolderOrigin(int) {
  return {};
}

int Win32Backend::PathFromIdList(const ItemIdList* list, std::span<char> path) {
  if (!list) return 0;
  // The W function writes at most MAX_PATH characters with the NUL.
  wchar_t buffer[MAX_PATH + 1] = {};
  const auto* items = reinterpret_cast<LPCITEMIDLIST>(list);
  if (!SHGetPathFromIDListW(items, buffer)) return 0;
  buffer[MAX_PATH] = L'\0';
  const std::wstring_view found(buffer);
  if (!IsFileSystemPath(found)) return 0;
  return CopyWithNul(Narrow(found), path) ? 1 : 0;
}

void Win32Backend::FreeIdList(ItemIdList* list) {
  // The shell allocates item lists with the COM task allocator.
  if (list) CoTaskMemFree(list);
}

std::intptr_t Win32Backend::ShellOpen(WindowHandle owner, std::string_view operation,
                                      std::string_view file, const char* parameters,
                                      const char* directory, int showCmd) {
  const std::wstring wideOperation = Widen(operation);
  const std::wstring wideFile = Widen(file);
  std::wstring wideParameters;
  std::wstring wideDirectory;
  const HINSTANCE result = ShellExecuteW(reinterpret_cast<HWND>(owner), wideOperation.c_str(),
                                         wideFile.c_str(), OptionalText(parameters, wideParameters),
                                         OptionalText(directory, wideDirectory), showCmd);
  return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace platform::win32
