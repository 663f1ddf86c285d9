#include "support/temp_tree.h"

#include "platform/win32/tree_search.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"

namespace test_support {
namespace {

using platform::win32::Narrow;
using platform::win32::ToExtendedPath;
using platform::win32::Widen;

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

// Makes every folder of a relative path below root, one component at a time; returns the
// full path of the last.
std::wstring MakeFolders(std::wstring path, std::wstring_view relative) {
  std::size_t start = 0;
  while (start < relative.size()) {
    std::size_t end = relative.find_first_of(L"\\/", start);
    if (end == std::wstring_view::npos) end = relative.size();
    if (end > start) {
      path += L"\\";
      path += relative.substr(start, end - start);
      CreateDirectoryW(ToExtendedPath(path).c_str(), nullptr);
    }
    start = end + 1;
  }
  return path;
}

}  // namespace

TempTree::TempTree() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  static int counter = 0;
  const std::wstring path = std::wstring(temp) + L"belvosta-test-" +
                            std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(++counter);
  CreateDirectoryW(path.c_str(), nullptr);
  root_ = Narrow(path);
}

TempTree::~TempTree() {
  RemoveAll(ToExtendedPath(Widen(root_)));
}

std::string TempTree::AddFolder(std::string_view relativePath) {
  return Narrow(MakeFolders(Widen(root_), Widen(relativePath)));
}

std::string TempTree::AddFile(std::string_view relativePath) {
  const std::wstring relative = Widen(relativePath);
  const std::size_t slash = relative.find_last_of(L"\\/");
  const std::wstring folders = relative.substr(0, slash == std::wstring::npos ? 0 : slash);
  const std::wstring path = MakeFolders(Widen(root_), folders) + L"\\" + relative.substr(slash + 1);
  const HANDLE file = CreateFileW(ToExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return Narrow(path);
}

}  // namespace test_support
