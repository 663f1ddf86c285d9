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

}  // namespace
}  // namespace platform::win32
