#include "temp_folder.h"

#include "platform/win32/tree_search.h"
#include "platform/win32/windows_api.h"

namespace platform::win32::testing {
namespace {

void RemoveAll(const std::wstring& extended) {
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW((extended + L"\\*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = extended + L"\\" + name;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveAll(path);
      } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryW(path.c_str());  // a link: remove the link, not what it points to
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  RemoveDirectoryW(extended.c_str());
}

}  // namespace

TempFolder::TempFolder() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  static int counter = 0;
  path_ = std::wstring(temp) + L"belvosta-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  RemoveAll(ToExtendedPath(path_));
}

std::wstring TempFolder::Make(const std::wstring& folders, const std::wstring& fileName) const {
  std::wstring path = path_;
  std::size_t start = 0;
  while (start < folders.size()) {
    std::size_t end = folders.find(L'\\', start);
    if (end == std::wstring::npos) end = folders.size();
    path += L"\\" + folders.substr(start, end - start);
    CreateDirectoryW(ToExtendedPath(path).c_str(), nullptr);
    start = end + 1;
  }
  if (fileName.empty()) return path;
  path += L"\\" + fileName;
  const HANDLE file = CreateFileW(ToExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return path;
}

}  // namespace platform::win32::testing
