// The tree search against real folder trees.
#include "platform/posix/tree_search.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fake/fake_system.h"
#include "platform/imagehlp.h"
#include "support/folder_chain.h"
#include "support/temp_tree.h"

namespace {

namespace fs = std::filesystem;
using platform::posix::SearchTree;

// Runs a search and gives the found path, or nothing.
std::optional<std::string> Find(std::string_view root, std::string_view name,
                                std::size_t bufferSize = 160) {
  std::vector<char> buffer(bufferSize, '\0');
  if (!SearchTree(root, name, buffer)) return std::nullopt;
  return std::string(buffer.data());
}

TEST(TreeSearch, MatchesFilesAndLinksToFilesButNeverFolders) {
  test_support::TempTree tree;
  test_support::TempTree outside;
  tree.AddFolder("MSCOMCTL.OCX/inner");
  EXPECT_EQ(Find(tree.Root(), "mscomctl.ocx"), std::nullopt);

  const std::string real = outside.AddFile("target.dll");
  const std::string link = tree.Root() + "/Linked.DLL";
  ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
  EXPECT_EQ(Find(tree.Root(), "linked.dll"), link);

  ASSERT_EQ(symlink((outside.Root() + "/missing").c_str(), (tree.Root() + "/dead.dll").c_str()), 0);
  EXPECT_EQ(Find(tree.Root(), "dead.dll"), std::nullopt);
  // A link to a folder is no file, whatever its name.
  ASSERT_EQ(symlink(outside.Root().c_str(), (tree.Root() + "/folder.ocx").c_str()), 0);
  EXPECT_EQ(Find(tree.Root(), "folder.ocx"), std::nullopt);
}

TEST(TreeSearch, FollowsNoLinkIntoFoldersSoLoopsEnd) {
  test_support::TempTree tree;
  test_support::TempTree outside;
  tree.AddFolder("a/b");
  outside.AddFile("hidden.dll");
  ASSERT_EQ(symlink(tree.Root().c_str(), (tree.Root() + "/a/b/loop").c_str()), 0);
  ASSERT_EQ(symlink("..", (tree.Root() + "/a/up").c_str()), 0);
  ASSERT_EQ(symlink(outside.Root().c_str(), (tree.Root() + "/a/elsewhere").c_str()), 0);

  EXPECT_EQ(Find(tree.Root(), "absent.dll"), std::nullopt);
  EXPECT_EQ(Find(tree.Root(), "hidden.dll"), std::nullopt);
  const std::string real = tree.AddFile("a/b/real.dll");
  EXPECT_EQ(Find(tree.Root(), "real.dll"), real);
}

// The root given as a link is the caller's choice and is followed.
TEST(TreeSearch, FollowsALinkGivenAsTheRoot) {
  test_support::TempTree tree;
  test_support::TempTree links;
  tree.AddFile("sub/wmp.dll");
  const std::string root = links.Root() + "/system";
  ASSERT_EQ(symlink(tree.Root().c_str(), root.c_str()), 0);
  EXPECT_EQ(Find(root, "WMP.DLL"), root + "/sub/wmp.dll");
  EXPECT_EQ(Find(root + "//", "wmp.dll"), root + "/sub/wmp.dll");  // separators trimmed
}

// Runs check() in a child process without the right to override permissions (as the
// "nobody" user when running as root), and gives its exit code; 77 means it could not.
int RunUnprivileged(const std::function<int()>& check) {
  if (geteuid() != 0) return check();
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(77);
    _exit(check());
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(TreeSearch, SkipsFoldersItCannotRead) {
  test_support::TempTree tree;
  tree.AddFile("locked/inside.dll");
  tree.AddFile("locked/both.dll");
  const std::string open = tree.AddFile("open/deeper/both.dll");
  tree.AddFile("open/outside.dll");
  ASSERT_EQ(chmod(tree.Root().c_str(), 0755), 0);  // reachable for the unprivileged child
  ASSERT_EQ(chmod((tree.Root() + "/locked").c_str(), 0), 0);

  const int result = RunUnprivileged([&] {
    if (access(tree.Root().c_str(), R_OK | X_OK) != 0) return 77;
    if (Find(tree.Root(), "inside.dll")) return 1;
    if (Find(tree.Root(), "both.dll") != open) return 2;
    if (!Find(tree.Root(), "outside.dll")) return 3;
    return 0;
  });
  if (result == 77) GTEST_SKIP() << "no unprivileged user can reach the temporary folder";
  EXPECT_EQ(result, 0);
}

// A path of exactly `length` characters below the tree: folders of 50 characters, then a
// file name that makes up the rest.
std::string PathOfLength(const test_support::TempTree& tree, std::size_t length,
                         std::string_view end) {
  std::string relative;
  while (tree.Root().size() + 1 + relative.size() + 51 + end.size() < length) {
    relative += std::string(50, 'f') + "/";
  }
  const std::size_t rest = length - tree.Root().size() - 1 - relative.size() - end.size();
  return relative + std::string(rest, 'n') + std::string(end);
}

TEST(TreeSearch, LongPathsComeBackWholeOrNotAtAll) {
  test_support::TempTree tree;
  const std::string path159 = tree.AddFile(PathOfLength(tree, 159, ".ocx"));
  const std::string name159 = fs::path(path159).filename().string();
  const std::string path300 = tree.AddFile(PathOfLength(tree, 300, ".dll"));
  const std::string name300 = fs::path(path300).filename().string();
  ASSERT_EQ(path159.size(), 159u);
  ASSERT_EQ(path300.size(), 300u);

  // An exact-size heap buffer, so that AddressSanitizer sees any write past its end.
  EXPECT_EQ(Find(tree.Root(), name159, 160), path159);
  EXPECT_EQ(Find(tree.Root(), name159, 159), std::nullopt);
  EXPECT_EQ(Find(tree.Root(), name300, 160), std::nullopt);
  EXPECT_EQ(Find(tree.Root(), name300, 261), std::nullopt);
  EXPECT_EQ(Find(tree.Root(), name300, 301), path300);
  EXPECT_EQ(Find(tree.Root(), name300, platform::kMaxFullPath), path300);

  // The same limits for a file directly in the root.
  const std::string rootFile = tree.AddFile(std::string(160 - tree.Root().size() - 1, 'r'));
  const std::string rootName = fs::path(rootFile).filename().string();
  EXPECT_EQ(Find(tree.Root(), rootName, 160), std::nullopt);
  EXPECT_EQ(Find(tree.Root(), rootName, 161), rootFile);

  // A match too long for the buffer does not end the search: a shorter one still counts.
  const std::string shortCopy = tree.AddFile("z/" + name300);
  EXPECT_EQ(Find(tree.Root(), name300, 160), shortCopy);
}

TEST(TreeSearch, FindsFilesBelowTheSystemPathLimit) {
  test_support::TempTree tree;
  const std::string folder(200, 'd');
  test_support::FolderChain deep(tree.Root());
  for (int i = 0; i < 30; ++i) deep.Enter(folder);  // about 6,000 characters deep
  deep.AddFile("Flash.ocx");
  const std::string expected = deep.Path() + "/Flash.ocx";
  ASSERT_GT(expected.size(), std::size_t{PATH_MAX});

  const std::optional<std::string> found = Find(tree.Root(), "FLASH.OCX", platform::kMaxFullPath);
  EXPECT_TRUE(found == expected) << "found " << found.value_or("nothing").size() << " characters";
  EXPECT_EQ(Find(tree.Root(), "FLASH.OCX", 160), std::nullopt);
}

}  // namespace

// ---- Several names in one walk ----

std::vector<std::string> FindAll(const std::string& root, std::vector<std::string_view> names,
                                 std::size_t bufferSize = platform::kMaxFullPath,
                                 std::function<void()> whileSearching = {}) {
  std::vector<std::string> found(names.size());
  platform::posix::SearchTree({.root = root,
                               .names = names,
                               .bufferSize = bufferSize,
                               .whileSearching = std::move(whileSearching)},
                              found);
  return found;
}

// Names and paths at their limits: the longest entry name is found, a path that fills the
// buffer without room for its NUL is not, and a name that can never match (it holds a '/')
// does not keep the walk going once the others are found.
TEST(TreeSearch, NamesAndPathsAtTheirLimits) {
  test_support::TempTree tree;
  const std::string longest(255, 'n');
  const std::string file = tree.AddFile(longest);  // in the root: no folder to fit first
  EXPECT_EQ(FindAll(tree.Root(), {longest})[0], file);
  EXPECT_EQ(FindAll(tree.Root(), {longest}, file.size() + 1)[0], file);
  EXPECT_EQ(FindAll(tree.Root(), {longest}, file.size())[0], "");

  const std::string first = tree.AddFile("first.dll");
  for (int i = 0; i < 5; ++i) tree.AddFolder("sub" + std::to_string(i));
  int offers = 0;
  const std::vector<std::string> found =
      FindAll(tree.Root(), {"first.dll", "sub0/x.dll"}, platform::kMaxFullPath, [&] { ++offers; });
  EXPECT_EQ(found, (std::vector<std::string>{first, ""}));
  EXPECT_EQ(offers, 0);  // done in the root: no folder read to its end
}

// Counts the descriptors the process holds.
int OpenDescriptors() {
  return static_cast<int>(std::distance(fs::directory_iterator("/proc/self/fd"), {}));
}

// The folder that the walk visits first of two, which is the one listed last.
std::pair<std::string, std::string> InWalkOrder(const std::string& root) {
  std::vector<std::string> listed;
  for (const auto& entry : fs::directory_iterator(root)) {
    listed.push_back(entry.path().filename().string());
  }
  return {listed.at(1), listed.at(0)};
}

TEST(TreeSearch, DeepChainsWithFilesAtEveryLevelCostWorkLinearInTheTreeAndFewDescriptors) {
  test_support::TempTree tree;
  // A comb: a chain of 600 folders, each with a side folder holding a file of its own. The
  // chain's folder is the one the walk goes into first, so every side folder stays pending
  // while the walk goes down, and each level is needed again on the way back up.
  tree.AddFolder("x");
  tree.AddFolder("y");
  const auto [chain, side] = InWalkOrder(tree.Root());  // the same order at every level
  constexpr int kLevels = 600;
  test_support::FolderChain comb(tree.Root());
  for (int i = 0; i < kLevels; ++i) {
    comb.AddFolder(side);
    comb.AddFile(side + "/f" + std::to_string(i) + ".dll");
    comb.Enter(chain);
  }
  const int before = OpenDescriptors();
  int most = before;
  const std::vector<std::string_view> names = {"f0.dll", "f300.dll", "f599.dll", "absent.dll"};
  std::vector<std::string> found(names.size());
  platform::posix::WalkCounts counts;
  platform::posix::SearchTree({.root = tree.Root(),
                               .names = names,
                               .whileSearching = [&] { most = std::max(most, OpenDescriptors()); }},
                              found, counts);

  std::vector<std::string> expected;  // the side files of levels 0, 300 and 599
  std::string level = tree.Root();
  for (int i = 0; i < kLevels; ++i) {
    if (i == 0 || i == 300 || i == 599) {
      expected.push_back(level + "/" + side + "/f" + std::to_string(i) + ".dll");
    }
    level += "/" + chain;
  }
  EXPECT_EQ(std::vector<std::string>(found.begin(), found.begin() + 3), expected);
  EXPECT_EQ(found[3], "");
  EXPECT_LE(most - before, 40);
  // Every folder read once: the root, 600 chain and 600 side folders, whose entries are the
  // 1200 folders below the root and the 600 files. Climbing back to a closed level costs one
  // ".." step per level, not a walk down from the root (which would be 180 000 steps).
  constexpr std::size_t kFolders = 1 + 2 * kLevels;
  EXPECT_EQ(counts.entries, kFolders - 1 + kLevels);
  EXPECT_GE(counts.folderSteps, kFolders);
  EXPECT_LE(counts.folderSteps, 2 * kFolders);
  EXPECT_LE(counts.mostOpen, 25u);  // the folders kept open, and the one being opened
}

TEST(TreeSearch, AFolderMovedOutOfTheTreeWhileTheWalkRunsDoesNotLeadItOut) {
  test_support::TempTree tree;
  test_support::TempTree outside;
  tree.AddFolder("p");
  tree.AddFolder("q");
  const auto [first, second] = InWalkOrder(tree.Root());
  std::string chain = first;
  for (int i = 0; i < 40; ++i) chain += "/c";  // deeper than the folders the walk keeps open
  tree.AddFolder(chain);
  const std::string visible = tree.AddFile(second + "/visible.dll");
  outside.AddFile(second + "/hidden.dll");  // where ".." leads once the first one has moved

  // Deep in the first folder's chain, the first folder is moved out of the tree: on its way
  // back up the walk must come back to the tree's root, not to the moved folder's new parent.
  int reads = 0;
  const std::vector<std::string> found =
      FindAll(tree.Root(), {"hidden.dll", "visible.dll"}, platform::kMaxFullPath, [&] {
        if (++reads != 30) return;
        ASSERT_EQ(
            rename((tree.Root() + "/" + first).c_str(), (outside.Root() + "/" + first).c_str()), 0);
      });
  EXPECT_GT(reads, 30);
  EXPECT_EQ(found[0], "");
  EXPECT_EQ(found[1], visible);
}
