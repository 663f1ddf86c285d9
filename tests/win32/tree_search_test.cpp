#include "platform/win32/tree_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/imagehlp.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/utf8.h"
#include "platform/win32/windows_api.h"
#include "wide_tree.h"

namespace platform::win32 {
namespace {

using testing::Make;
using testing::RootOf;
using testing::TempTree;

std::wstring FirstFound(const std::wstring& root, const std::wstring& name) {
  std::wstring found;
  FindFileInTree(root, name, [&found](const std::wstring& path) {
    found = path;
    return true;
  });
  return found;
}

TEST(TreeSearch, FindsFilesInTheRootAndDeepBelowItWhateverTheLetterCase) {
  TempTree tree;
  const std::wstring top = Make(tree, L"", L"MSCOMCTL.OCX");
  const std::wstring deep = Make(tree, L"a\\b\\c\\d\\e", L"stdole2.tlb");
  Make(tree, L"a\\other", L"unrelated.dll");

  EXPECT_EQ(FirstFound(RootOf(tree), L"mscomctl.ocx"), top);
  EXPECT_EQ(FirstFound(RootOf(tree), L"STDOLE2.TLB"), deep);
  // The root may be given with a trailing separator.
  EXPECT_EQ(FirstFound(RootOf(tree) + L"\\", L"Stdole2.Tlb"), deep);
}

TEST(TreeSearch, FindsNothingForAbsentFilesFoldersOfThatNameAndBadRoots) {
  TempTree tree;
  Make(tree, L"sub\\wmp.dll");  // a folder, not a file
  Make(tree, L"sub", L"wmp.dl");

  EXPECT_EQ(FirstFound(RootOf(tree), L"wmp.dll"), L"");
  EXPECT_EQ(FirstFound(RootOf(tree), L"*.dl"), L"");  // no wildcards: names are literal
  EXPECT_EQ(FirstFound(L"", L"wmp.dl"), L"");
  EXPECT_EQ(FirstFound(RootOf(tree) + L"\\missing", L"wmp.dl"), L"");
  EXPECT_EQ(FirstFound(RootOf(tree), L""), L"");
}

platform::SearchProblem ProblemAt(const std::wstring& root) {
  const std::wstring names[] = {L"wmp.dll"};
  platform::SearchTrouble trouble;
  FindFilesInTree(
      root, names, [](std::size_t, const std::wstring&) { return true; }, {}, &trouble);
  return trouble.problem;
}

TEST(TreeSearch, ARootThatCannotBeSearchedIsToldApartFromAbsence) {
  using platform::SearchProblem;
  TempTree tree;
  const std::wstring file = Make(tree, L"", L"file.dll");
  Make(tree, L"empty");
  EXPECT_EQ(ProblemAt(RootOf(tree) + L"\\empty"), SearchProblem::None);  // looked, absent
  EXPECT_EQ(ProblemAt(RootOf(tree) + L"\\missing"), SearchProblem::RootMissing);
  EXPECT_EQ(ProblemAt(RootOf(tree) + L"\\missing\\below"), SearchProblem::RootMissing);
  EXPECT_EQ(ProblemAt(L""), SearchProblem::RootMissing);
  EXPECT_EQ(ProblemAt(file), SearchProblem::RootNotFolder);
}

TEST(TreeSearch, ReachesFilesWhosePathIsLongerThanMaxPath) {
  TempTree tree;
  const std::wstring segment(60, L'x');
  std::wstring folders;
  for (int i = 0; i < 6; ++i) folders += (i ? L"\\" : L"") + segment + std::to_wstring(i);
  const std::wstring file = Make(tree, folders, L"shdocvw.dll");
  ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));

  EXPECT_EQ(FirstFound(RootOf(tree), L"SHDOCVW.DLL"), file);  // without the \\?\ prefix
}

TEST(TreeSearch, WalksOnWhenTheCallerRefusesAMatch) {
  TempTree tree;
  Make(tree, L"one", L"flash.ocx");
  Make(tree, L"two", L"flash.ocx");

  std::vector<std::wstring> offered;
  const bool accepted = FindFileInTree(RootOf(tree), L"flash.ocx", [&](const std::wstring& p) {
    offered.push_back(p);
    return offered.size() == 2;
  });
  EXPECT_TRUE(accepted);
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_NE(offered[0], offered[1]);
}

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

TEST(TreeSearch, FollowsNoJunctionsOrSymbolicLinks) {
  TempTree tree;
  TempTree elsewhere;
  Make(elsewhere, L"", L"richtx32.ocx");
  const std::wstring link = Make(tree, L"junction");
  const bool junction = MakeJunction(link, RootOf(elsewhere));
  bool hostLink = false;
  if (!IsWorkingFolderLink(link, L"richtx32.ocx")) {
    // Where junctions are refused, a symbolic link (Windows Vista and later) will do.
    RemoveDirectoryW(link.c_str());
    using CreateLink = BOOLEAN(WINAPI*)(const wchar_t*, const wchar_t*, DWORD);
    const auto createLink = reinterpret_cast<CreateLink>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateSymbolicLinkW")));
    constexpr DWORD kDirectory = 1, kUnprivileged = 2;
    if (createLink) createLink(link.c_str(), RootOf(elsewhere).c_str(), kDirectory | kUnprivileged);
    if (!IsWorkingFolderLink(link, L"richtx32.ocx")) {
      // Under Wine, which refuses both: a Unix symbolic link, which it shows as a link.
      RemoveDirectoryW(link.c_str());
      if (RunOnTheHost(L"Z:\\bin\\ln -s", {RootOf(elsewhere), link})) {
        hostLink = true;
        WaitFor([&] { return IsWorkingFolderLink(link, L"richtx32.ocx"); });
      }
    }
    if (!IsWorkingFolderLink(link, L"richtx32.ocx")) {
      GTEST_SKIP() << "neither a junction ("
                   << (junction ? "made, but it leads nowhere" : "refused")
                   << ") nor a symbolic link to a folder can be made here";
    }
  }

  EXPECT_EQ(FirstFound(RootOf(tree), L"richtx32.ocx"), L"");
  EXPECT_NE(FirstFound(RootOf(elsewhere), L"richtx32.ocx"), L"");
  if (hostLink && RunOnTheHost(L"Z:\\bin\\rm", {link})) {
    WaitFor([&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
  }
}

TEST(TreeSearch, IgnoresTheCaseOfAsciiAndAccentedLettersAtTheEndsOfTheirRanges) {
  TempTree tree;
  const std::wstring ascii = Make(tree, L"z", L"Az_zA.ocx");
  const std::wstring accented = Make(tree, L"\u00c0", L"\u00e0\u00fe\u00de.dll");  // àþÞ

  EXPECT_EQ(FirstFound(RootOf(tree), L"aZ_Za.OCX"), ascii);
  EXPECT_EQ(FirstFound(RootOf(tree), L"\u00c0\u00de\u00fe.DLL"), accented);  // ÀÞþ
}

// SearchTreeForFile of the program, on the Windows backend.
bool SearchWithBackend(const std::string& root, std::string_view name, std::span<char> out) {
  Win32Backend backend;
  platform::SetBackend(&backend);
  const bool found = platform::SearchTreeForFile(root, name, out);
  platform::SetBackend(nullptr);
  return found;
}

TEST(TreeSearch, BackendSpeaksUtf8AndNeverWritesPastTheBuffer) {
  TempTree tree;
  const std::wstring file = Make(tree, L"\u00dcber", L"Schl\u00fcssel.dll");
  const std::string expected = Narrow(file);

  std::vector<char> memory(expected.size() + 8, '#');
  // Exactly the path and its NUL.
  std::span<char> exact(memory.data(), expected.size() + 1);
  ASSERT_TRUE(SearchWithBackend(Narrow(RootOf(tree)), "SCHL\xC3\x9CSSEL.DLL", exact));
  EXPECT_EQ(std::string(memory.data()), expected);
  EXPECT_EQ(memory[expected.size() + 1], '#');

  // One byte short: not found, and nothing written.
  std::fill(memory.begin(), memory.end(), '#');
  EXPECT_FALSE(SearchWithBackend(Narrow(RootOf(tree)), "schl\xC3\xBCssel.dll",
                                 std::span<char>(memory.data(), expected.size())));
  EXPECT_EQ(std::string(memory.begin(), memory.end()), std::string(memory.size(), '#'));
}

TEST(TreeSearch, SeveralNamesInOneWalkFindWhatEachWouldFindAlone) {
  TempTree tree;
  Make(tree, L"a", L"Flash10a.ocx");
  Make(tree, L"a\\b", L"flash10a.ocx");
  Make(tree, L"c", L"FLASH10A.OCX");
  Make(tree, L"c\\d\\e", L"wmp.dll");
  Make(tree, L"a", L"wmp.dll");
  Make(tree, L"", L"mscomctl.ocx");
  Make(tree, L"c", L"MSCOMCTL.OCX");
  Make(tree, L"a\\Flash10c.ocx");  // a folder by a wanted name
  const std::vector<std::wstring> names = {L"flash10a.ocx", L"WMP.DLL",      L"absent.dll", L"",
                                           L"MSCOMCTL.OCX", L"flash10c.ocx", L"wmp.dll"};
  std::vector<std::wstring> found(names.size());
  int reads = 0;
  const std::size_t count = FindFilesInTree(
      RootOf(tree), names,
      [&](std::size_t index, const std::wstring& path) {
        found[index] = path;
        return true;
      },
      [&] { ++reads; });
  EXPECT_EQ(count, 4u);
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(found[i], FirstFound(RootOf(tree), names[i])) << Narrow(names[i]);
  }
  EXPECT_FALSE(found[0].empty());
  EXPECT_EQ(found[1], found[6]);
  EXPECT_GE(reads, 1);
}

TEST(TreeSearch, AFolderSwappedForALinkWhileTheWalkRunsIsNeverEntered) {
  using CreateLink = BOOLEAN(WINAPI*)(const wchar_t*, const wchar_t*, DWORD);
  const auto createLink = reinterpret_cast<CreateLink>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateSymbolicLinkW")));
  if (!createLink) GTEST_SKIP() << "no symbolic links on this Windows";
  TempTree tree;
  TempTree outside;
  Make(tree, L"mid\\deep", L"inside.dll");
  Make(outside, L"deep", L"hidden.dll");
  Make(outside, L"", L"hidden.dll");
  const std::wstring mid = RootOf(tree) + L"\\mid";
  const std::wstring moved = RootOf(tree) + L"\\moved";
  constexpr DWORD kDirectory = 1, kUnprivileged = 2;

  // Swapped after the root was read (the link itself must not be entered), then after
  // "mid" was read (its subfolder must be the real one, not the one behind the link).
  for (int swapAfter : {1, 2}) {
    std::vector<std::wstring> found(2);
    int reads = 0;
    bool linked = true;
    const std::vector<std::wstring> names = {L"hidden.dll", L"inside.dll"};
    FindFilesInTree(
        RootOf(tree), names,
        [&](std::size_t index, const std::wstring& path) {
          found[index] = path;
          return true;
        },
        [&] {
          if (++reads != swapAfter) return;
          linked = MoveFileW(mid.c_str(), moved.c_str()) &&
                   createLink(mid.c_str(), RootOf(outside).c_str(), kDirectory | kUnprivileged);
        });
    if (!linked) GTEST_SKIP() << "cannot swap a folder for a link here";
    EXPECT_EQ(found[0], L"") << "swapped after read " << swapAfter;
    EXPECT_EQ(found[1], swapAfter == 1 ? L"" : mid + L"\\deep\\inside.dll");
    RemoveDirectoryW(mid.c_str());
    ASSERT_TRUE(MoveFileW(moved.c_str(), mid.c_str()));
  }
}

}  // namespace
}  // namespace platform::win32
