#include "views/win32/drive_combo.h"

#include <cwctype>
#include <string>
#include <vector>

namespace views::win32 {
namespace {

// The volume name of a fixed disk. Other drives are not asked: a floppy or optical drive
// without a medium would make the list wait for it.
std::wstring VolumeLabel(const std::wstring& root) {
  if (GetDriveTypeW(root.c_str()) != DRIVE_FIXED) return {};
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr,
                             0)) {
    return {};
  }
  return label;
}

wchar_t CurrentDriveLetter() {
  wchar_t folder[MAX_PATH + 1] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH + 1, folder);
  if (length < 2 || length > MAX_PATH || folder[1] != L':') return 0;
  return static_cast<wchar_t>(std::towlower(folder[0]));
}

}  // namespace

void FillDriveCombo(HWND combo) {
  SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  std::vector<wchar_t> roots(128);
  DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
  if (length >= roots.size()) {
    roots.resize(length + 1);
    length = GetLogicalDriveStringsW(static_cast<DWORD>(roots.size()), roots.data());
  }
  if (length == 0 || length >= roots.size()) return;
  const wchar_t current = CurrentDriveLetter();
  for (const wchar_t* root = roots.data(); *root; root += wcslen(root) + 1) {
    const std::wstring rootText(root);
    if (rootText.size() < 2 || rootText[1] != L':') continue;
    std::wstring item{static_cast<wchar_t>(std::towlower(rootText[0])), L':'};
    const std::wstring label = VolumeLabel(rootText);
    if (!label.empty()) item += L" [" + label + L"]";
    const LRESULT index =
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    if (index >= 0 && item[0] == current) SendMessageW(combo, CB_SETCURSEL, index, 0);
  }
}

}  // namespace views::win32
