#include "platform/win32/tree_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/imagehlp.h"
#include "platform/win32/utf8.h"
#include "platform/win32/win32_backend.h"
#include "platform/win32/windows_api.h"
#include "temp_folder.h"

namespace platform::win32 {
namespace {

using testing::TempFolder;

std::wstring FirstFound(const std::wstring& root, const std::wstring& name) {
  std::wstring found;
  FindFileInTree(root, name, [&found](const std::wstring& path) {
    found = path;
    return true;
  });
  return found;
}

TEST(TreeSearch, FindsFilesInTheRootAndDeepBelowItWhateverTheLetterCase) {
  TempFolder tree;
  const std::wstring top = tree.Make(L"", L"MSCOMCTL.OCX");
  const std::wstring deep = tree.Make(L"a\\b\\c\\d\\e", L"stdole2.tlb");
  tree.Make(L"a\\other", L"unrelated.dll");

  EXPECT_EQ(FirstFound(tree.Path(), L"mscomctl.ocx"), top);
  EXPECT_EQ(FirstFound(tree.Path(), L"STDOLE2.TLB"), deep);
  // The root may be given with a trailing separator.
  EXPECT_EQ(FirstFound(tree.Path() + L"\\", L"Stdole2.Tlb"), deep);
}

TEST(TreeSearch, FindsNothingForAbsentFilesFoldersOfThatNameAndBadRoots) {
  TempFolder tree;
  tree.Make(L"sub\\wmp.dll");  // a folder, not a file
  tree.Make(L"sub", L"wmp.dl");

  EXPECT_EQ(FirstFound(tree.Path(), L"wmp.dll"), L"");
  EXPECT_EQ(FirstFound(tree.Path(), L"*.dl"), L"");  // no wildcards: names are literal
  EXPECT_EQ(FirstFound(L"", L"wmp.dl"), L"");
  EXPECT_EQ(FirstFound(tree.Path() + L"\\missing", L"wmp.dl"), L"");
  EXPECT_EQ(FirstFound(tree.Path(), L""), L"");
}

TEST(TreeSearch, ReachesFilesWhosePathIsLongerThanMaxPath) {
  TempFolder tree;
  const std::wstring segment(60, L'x');
  std::wstring folders;
  for (int i = 0; i < 6; ++i) folders += (i ? L"\\" : L"") + segment + std::to_wstring(i);
  const std::wstring file = tree.Make(folders, L"shdocvw.dll");
  ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));

  EXPECT_EQ(FirstFound(tree.Path(), L"SHDOCVW.DLL"), file);  // without the \\?\ prefix
}

TEST(TreeSearch, WalksOnWhenTheCallerRefusesAMatch) {
  TempFolder tree;
  tree.Make(L"one", L"flash.ocx");
  tree.Make(L"two", L"flash.ocx");

  std::vector<std::wstring> offered;
  const bool accepted = FindFileInTree(tree.Path(), L"flash.ocx", [&](const std::wstring& p) {
    offered.push_back(p);
    return offered.size() == 2;
  });
  EXPECT_TRUE(accepted);
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_NE(offered[0], offered[1]);
}

TEST(TreeSearch, FollowsNoSymbolicLinks) {
  using CreateLink = BOOLEAN(WINAPI*)(const wchar_t*, const wchar_t*, DWORD);
  const auto createLink = reinterpret_cast<CreateLink>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateSymbolicLinkW")));
  if (!createLink) GTEST_SKIP() << "no symbolic links on this Windows";
  TempFolder tree;
  TempFolder elsewhere;
  elsewhere.Make(L"", L"richtx32.ocx");
  const std::wstring link = tree.Path() + L"\\link";
  constexpr DWORD kDirectory = 1, kUnprivileged = 2;
  if (!createLink(link.c_str(), elsewhere.Path().c_str(), kDirectory | kUnprivileged)) {
    GTEST_SKIP() << "cannot make a symbolic link here";
  }
  const DWORD attributes = GetFileAttributesW(link.c_str());
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) GTEST_SKIP() << "links are no reparse points";

  EXPECT_EQ(FirstFound(tree.Path(), L"richtx32.ocx"), L"");
  EXPECT_NE(FirstFound(elsewhere.Path(), L"richtx32.ocx"), L"");
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
  TempFolder tree;
  const std::wstring file = tree.Make(L"\u00dcber", L"Schl\u00fcssel.dll");
  const std::string expected = Narrow(file);

  std::vector<char> memory(expected.size() + 8, '#');
  // Exactly the path and its NUL.
  std::span<char> exact(memory.data(), expected.size() + 1);
  ASSERT_TRUE(SearchWithBackend(Narrow(tree.Path()), "SCHL\xC3\x9CSSEL.DLL", exact));
  EXPECT_EQ(std::string(memory.data()), expected);
  EXPECT_EQ(memory[expected.size() + 1], '#');

  // One byte short: not found, and nothing written.
  std::fill(memory.begin(), memory.end(), '#');
  EXPECT_FALSE(SearchWithBackend(Narrow(tree.Path()), "schl\xC3\xBCssel.dll",
                                 std::span<char>(memory.data(), expected.size())));
  EXPECT_EQ(std::string(memory.begin(), memory.end()), std::string(memory.size(), '#'));
}

TEST(TreeSearch, SeveralNamesInOneWalkFindWhatEachWouldFindAlone) {
  TempFolder tree;
  tree.Make(L"a", L"Flash10a.ocx");
  tree.Make(L"a\\b", L"flash10a.ocx");
  tree.Make(L"c", L"FLASH10A.OCX");
  tree.Make(L"c\\d\\e", L"wmp.dll");
  tree.Make(L"a", L"wmp.dll");
  tree.Make(L"", L"mscomctl.ocx");
  tree.Make(L"c", L"MSCOMCTL.OCX");
  tree.Make(L"a\\Flash10c.ocx");  // a folder by a wanted name
  const std::vector<std::wstring> names = {L"flash10a.ocx", L"WMP.DLL",      L"absent.dll", L"",
                                           L"MSCOMCTL.OCX", L"flash10c.ocx", L"wmp.dll"};
  std::vector<std::wstring> found(names.size());
  int reads = 0;
  const std::size_t count = FindFilesInTree(
      tree.Path(), names,
      [&](std::size_t index, const std::wstring& path) {
        found[index] = path;
        return true;
      },
      [&] { ++reads; });
  EXPECT_EQ(count, 4u);
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(found[i], FirstFound(tree.Path(), names[i])) << Narrow(names[i]);
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
  TempFolder tree;
  TempFolder outside;
  tree.Make(L"mid\\deep", L"inside.dll");
  outside.Make(L"deep", L"hidden.dll");
  outside.Make(L"", L"hidden.dll");
  const std::wstring mid = tree.Path() + L"\\mid";
  const std::wstring moved = tree.Path() + L"\\moved";
  constexpr DWORD kDirectory = 1, kUnprivileged = 2;

  // Swapped after the root was read (the link itself must not be entered), then after
  // "mid" was read (its subfolder must be the real one, not the one behind the link).
  for (int swapAfter : {1, 2}) {
    std::vector<std::wstring> found(2);
    int reads = 0;
    bool linked = true;
    const std::vector<std::wstring> names = {L"hidden.dll", L"inside.dll"};
    FindFilesInTree(
        tree.Path(), names,
        [&](std::size_t index, const std::wstring& path) {
          found[index] = path;
          return true;
        },
        [&] {
          if (++reads != swapAfter) return;
          linked = MoveFileW(mid.c_str(), moved.c_str()) &&
                   createLink(mid.c_str(), outside.Path().c_str(), kDirectory | kUnprivileged);
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
