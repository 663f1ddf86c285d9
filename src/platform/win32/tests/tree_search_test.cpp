#include "platform/win32/tree_search.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/windows_api.h"
#include "temp_folder.h"

namespace platform::win32 {
namespace {

using testing::TempFolder;

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
