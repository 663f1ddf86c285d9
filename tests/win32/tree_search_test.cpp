#include "platform/win32/tree_search.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/imagehlp.h"
#include "platform/win32/windows_api.h"
#include "wide_tree.h"

namespace platform::win32 {
namespace {

using testing::Make;
using testing::RootOf;
using testing::TempTree;

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
