#include "platform/win32/tree_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

TEST(TreeSearch, BackendSpeaksUtf8AndNeverWritesPastTheBuffer) {
  TempFolder tree;
  const std::wstring file = tree.Make(L"\u00dcber", L"Schl\u00fcssel.dll");
  const std::string expected = Narrow(file);
  Win32Backend backend;

  std::vector<char> memory(expected.size() + 8, '#');
  // Exactly the path and its NUL.
  std::span<char> exact(memory.data(), expected.size() + 1);
  ASSERT_TRUE(backend.SearchTree(Narrow(tree.Path()), "SCHL\xC3\x9CSSEL.DLL", exact));
  EXPECT_EQ(std::string(memory.data()), expected);
  EXPECT_EQ(memory[expected.size() + 1], '#');

  // One byte short: not found, and nothing written.
  std::fill(memory.begin(), memory.end(), '#');
  EXPECT_FALSE(backend.SearchTree(Narrow(tree.Path()), "schl\xC3\xBCssel.dll",
                                  std::span<char>(memory.data(), expected.size())));
  EXPECT_EQ(std::string(memory.begin(), memory.end()), std::string(memory.size(), '#'));
}

}  // namespace
}  // namespace platform::win32
