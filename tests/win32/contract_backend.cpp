// The contract suites (tests/contract/) against the Win32 backend on real folders and the
// real system under Wine or Windows.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "contract/backend_under_contract.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"
#include "support/temp_tree.h"
#include "win32_faults.h"

namespace platform::win32 {
namespace {

using test_support::TempTree;

// Makes the empty folder `link` a junction to the folder `target` (a full path), as
// mklink /J does; false when the file system refuses.
bool MakeJunction(const std::wstring& link, const std::wstring& target) {
  const HANDLE handle =
      CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                  FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  // The mount-point record: tag, data length, reserved, then the offsets and lengths (in
  // bytes) of the substitute and print names, and both names, each ended by a NUL.
  const std::wstring substitute = L"\\??\\" + target;
  std::vector<WORD> record(8);
  const auto bytes = [](const std::wstring& text) { return static_cast<WORD>(text.size() * 2); };
  record[5] = bytes(substitute);
  record[6] = static_cast<WORD>(bytes(substitute) + 2);
  record[7] = bytes(target);
  for (wchar_t c : substitute) record.push_back(c);
  record.push_back(0);
  for (wchar_t c : target) record.push_back(c);
  record.push_back(0);
  constexpr DWORD kMountPoint = 0xA0000003, kSetReparsePoint = 0x000900A4;
  record[0] = LOWORD(kMountPoint);
  record[1] = HIWORD(kMountPoint);
  record[2] = static_cast<WORD>((record.size() - 4) * 2);  // after the 8-byte header
  DWORD returned = 0;
  const BOOL made =
      DeviceIoControl(handle, kSetReparsePoint, record.data(),
                      static_cast<DWORD>(record.size() * 2), nullptr, 0, &returned, nullptr);
  CloseHandle(handle);
  return made != FALSE;
}

// Under Wine: runs a program of the host with the given Windows paths as its arguments,
// in their Unix form; false elsewhere. Wine does not wait for host programs: the caller
// waits for their effect.
bool RunOnTheHost(const std::wstring& program, const std::vector<std::wstring>& paths) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  std::wstring command = program;
  for (const std::wstring& path : paths) {
    char* name = unixName(path.c_str());
    if (!name) return false;
    command += L" \"" + Widen(name) + L"\"";
    HeapFree(GetProcessHeap(), 0, name);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// Waits up to five seconds for a condition to hold.
template <typename Condition>
bool WaitFor(Condition holds) {
  for (int i = 0; i < 100 && !holds(); ++i) Sleep(50);
  return holds();
}

// Whether `link` is a link to a folder that really leads to `file` inside it.
bool IsWorkingFolderLink(const std::wstring& link, const std::wstring& file) {
  const DWORD attributes = GetFileAttributesW(link.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         GetFileAttributesW((link + L"\\" + file).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Makes `link` a link to the folder `target`: a junction (wherever Windows could make a
// symbolic link to a folder, it makes a junction too), else, when hostLink allows, under
// Wine, which refuses junctions, a Unix symbolic link, which it shows as a link. False when
// none leads to the target.
bool LinkFolder(const std::wstring& link, const std::wstring& target, const std::wstring& probe,
                bool hostLink) {
  CreateDirectoryW(link.c_str(), nullptr);
  MakeJunction(link, target);
  if (IsWorkingFolderLink(link, probe)) return true;
  RemoveDirectoryW(link.c_str());
  if (hostLink && RunOnTheHost(L"Z:\\bin\\ln -s", {target, link})) {
    WaitFor([&] { return IsWorkingFolderLink(link, probe); });
  }
  return IsWorkingFolderLink(link, probe);
}

class Win32UnderContract : public contract::BackendUnderContract {
 public:
  platform::Backend& Backend() override { return backend_; }
  contract::Properties Has() const override {
    return {.separator = '\\', .foldsLettersBeyondAscii = true, .retriesAfterAShortage = false};
  }
  const std::string& Root() const override { return root_.Root(); }
  const std::string& Outside() const override { return outside_.Root(); }
  std::string AddFile(const std::string& base, std::string_view relative) override {
    return Folder(base).AddFile(relative);
  }
  std::string AddFolder(const std::string& base, std::string_view relative) override {
    return Folder(base).AddFolder(relative);
  }
  bool LinkToFolder(std::string_view relative, const std::string& target) override {
    return Link(relative, target, true);
  }
  // Only for a Windows link: Wine opens a Unix link that it listed as a folder as the
  // folder it leads to, which is no fault of the walk.
  bool SwapForLink(std::string_view relative, const std::string& target) override {
    const std::wstring folder = Below(relative);
    return MoveFileW(folder.c_str(), (folder + L".moved").c_str()) && Link(relative, target, false);
  }
  bool Link(std::string_view relative, const std::string& target, bool hostLink) {
    const std::wstring link = Below(relative);
    // A file in the target shows whether the link leads there.
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW((Widen(target) + L"\\*").c_str(), &data);
    std::wstring probe;
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) probe = data.cFileName;
      } while (probe.empty() && FindNextFileW(find, &data));
      FindClose(find);
    }
    if (probe.empty() || !LinkFolder(link, Widen(target), probe, hostLink)) return false;
    links_.push_back(link);
    return true;
  }
  std::optional<std::string> KnownKey() override {
    return "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
  }
  bool Inject(std::span<const contract::Injection> injections) override {
    return InjectFaults(injections);
  }
  void EndFaults() override { EndInjectedFaults(); }
  std::string Written() const override { return InjectedWrites(); }
  ~Win32UnderContract() override {
    EndInjectedFaults();
    // A Unix link is removed on the host, so that the folder removal does not follow it.
    for (const std::wstring& link : links_) {
      if (RemoveDirectoryW(link.c_str()) || DeleteFileW(link.c_str())) continue;
      if (RunOnTheHost(L"Z:\\bin\\rm", {link})) {
        WaitFor([&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
      }
    }
  }

 private:
  TempTree& Folder(const std::string& base) { return base == outside_.Root() ? outside_ : root_; }
  // A '/'-separated path below the root, in the Windows form.
  std::wstring Below(std::string_view relative) const {
    std::wstring path = Widen(root_.Root() + '/' + std::string(relative));
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
  }
  Win32Backend backend_;
  TempTree root_;
  TempTree outside_;
  std::vector<std::wstring> links_;
};

std::unique_ptr<contract::BackendUnderContract> MakeWin32() {
  return std::make_unique<Win32UnderContract>();
}

}  // namespace
}  // namespace platform::win32

namespace contract {
BELVOSTA_CONTRACT_BACKENDS(Win32, Named{"Win32", &platform::win32::MakeWin32});
}  // namespace contract
