// The POSIX tree search on real folders, for what only POSIX has (the contract suites hold
// what every backend shares): links, special files and paths past the system's limit,
// descriptors, mount points and folders that move while the walk runs, and the trouble each
// of several searches in one walk is told when paths outgrow the buffer.
#include "platform/posix/tree_search.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fake/few_descriptors.h"
#include "platform/imagehlp.h"
#include "support/folder_chain.h"
#include "support/temp_tree.h"

namespace {

namespace fs = std::filesystem;
using platform::SearchProblem;
using platform::SearchTrouble;

struct Outcome {
  std::vector<std::string> found;
  SearchTrouble trouble;
};

Outcome Search(const std::string& root, std::vector<std::string_view> names,
               std::size_t bufferSize = platform::kMaxFullPath,
               std::function<void()> whileSearching = {}) {
  Outcome outcome{std::vector<std::string>(names.size()), {}};
  platform::posix::SearchTree({.root = root,
                               .names = names,
                               .bufferSize = bufferSize,
                               .whileSearching = std::move(whileSearching),
                               .trouble = &outcome.trouble},
                              outcome.found);
  return outcome;
}

TEST(TreeSearch, FindsLinksToFilesFollowsALinkGivenAsTheRootAndTellsOddRootsApart) {
  test_support::TempTree tree;
  test_support::TempTree outside;
  const std::string real = outside.AddFile("sub/target.dll");
  const std::string link = tree.Root() + "/Linked.DLL";
  ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
  EXPECT_EQ(Search(tree.Root(), {"linked.dll"}).found[0], link);
  // A link to a folder is no file, whatever its name.
  ASSERT_EQ(symlink(outside.Root().c_str(), (tree.Root() + "/folder.ocx").c_str()), 0);
  EXPECT_EQ(Search(tree.Root(), {"folder.ocx"}).found[0], "");

  // The root given as a link is the caller's choice.
  const std::string root = tree.Root() + "/system";
  ASSERT_EQ(symlink(outside.Root().c_str(), root.c_str()), 0);
  EXPECT_EQ(Search(root + "//", {"TARGET.DLL"}).found[0], root + "/sub/target.dll");

  // Roots no other system has, and a name too long for the file system, are told apart from
  // absence.
  const std::string fifo = tree.Root() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string dangling = tree.Root() + "/dangling";
  ASSERT_EQ(symlink((tree.Root() + "/nowhere").c_str(), dangling.c_str()), 0);

  const struct {
    std::string root;
    SearchProblem problem;
    int error;
  } rows[] = {
      {dangling, SearchProblem::RootMissing, ENOENT},
      {fifo, SearchProblem::RootNotFolder, ENOTDIR},
      {"/dev/null", SearchProblem::RootNotFolder, ENOTDIR},
      {tree.Root() + "/" + std::string(300, 'n'), SearchProblem::PathTooLong, ENAMETOOLONG},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.root);
    const SearchTrouble trouble = Search(row.root, {"x.dll"}).trouble;
    EXPECT_EQ(trouble.problem, row.problem);
    EXPECT_EQ(trouble.systemError, row.error);
  }
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
  std::vector<std::string> expected;  // the side files of levels 0, 300 and 599, and none
  test_support::FolderChain comb(tree.Root());
  for (int i = 0; i < kLevels; ++i) {
    const std::string file = side + "/f" + std::to_string(i) + ".dll";
    comb.AddFolder(side);
    comb.AddFile(file);
    if (i == 0 || i == 300 || i == 599) expected.push_back(comb.Path() + "/" + file);
    comb.Enter(chain);
  }
  expected.push_back("");
  const int before = OpenDescriptors();
  int most = before;
  const std::vector<std::string_view> names = {"f0.dll", "f300.dll", "f599.dll", "absent.dll"};
  std::vector<std::string> found(names.size());
  platform::posix::WalkCounts counts;
  platform::posix::SearchTree({.root = tree.Root(),
                               .names = names,
                               .whileSearching = [&] { most = std::max(most, OpenDescriptors()); }},
                              found, counts);

  EXPECT_EQ(found, expected);
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
  const Outcome outcome =
      Search(tree.Root(), {"hidden.dll", "visible.dll"}, platform::kMaxFullPath, [&] {
        if (++reads != 30) return;
        ASSERT_EQ(
            rename((tree.Root() + "/" + first).c_str(), (outside.Root() + "/" + first).c_str()), 0);
      });
  EXPECT_GT(reads, 30);
  EXPECT_EQ(outcome.found, (std::vector<std::string>{"", visible}));
}

// One walk for several searches tells each the paths and the trouble a walk for its own
// names would have, though the shared walk enters folders a search's own walk would have
// passed over, and goes on after a search's names are all found. First, with one search: the
// folder whose "wmp.dll" would fill the buffer to its last byte is searched; last, one a letter
// longer is not, and the walk says so even when that folder is empty (the name may lie there).
TEST(TreeSearch, AWalkForSeveralSearchesTellsEachWhatItsOwnWalkWould) {
  test_support::TempTree tree;
  const std::size_t buffer = tree.Root().size() + 60;  // the root, "/", 50, "/", 7 and a NUL
  const std::string fits = tree.AddFile(std::string(50, 'a') + "/wmp.dll");
  ASSERT_EQ(fits.size() + 1, buffer);
  const Outcome exact = Search(tree.Root(), {"wmp.dll"}, buffer);
  EXPECT_EQ(exact.found[0], fits);
  EXPECT_EQ(exact.trouble.problem, SearchProblem::None);
  fs::remove(fits);  // room below "a..." for a name of 7 letters, not for one of 12
  const std::string near = tree.AddFile("sub/near.dll");
  const std::string mscomctl = tree.AddFile("sub/MSCOMCTL.OCX");
  const std::string top = tree.AddFile("top.dll");
  // Five searches: 0 has a name cut short, 1 one missing, 2 finds its names, 3 has no name
  // and 4 finds its name in the root.
  const std::vector<std::string_view> names = {
      "mscomctl.ocx", "richtx32.ocx", "wmp.dll", "near.dll", "MSComCtl.ocx", "", "x/y", "top.dll"};
  const std::vector<std::size_t> groups = {0, 0, 1, 2, 2, 3, 3, 4};
  const auto searchAll = [&](const std::string& root, std::vector<SearchTrouble>& troubles) {
    std::vector<std::string> found(names.size());
    SearchTrouble walkTrouble;
    platform::posix::SearchTree({.root = root,
                                 .names = names,
                                 .bufferSize = buffer,
                                 .trouble = &walkTrouble,
                                 .groups = groups,
                                 .groupTrouble = troubles},
                                found);
    EXPECT_EQ(walkTrouble.problem, troubles[1].problem);  // the walk as a whole: as wmp.dll's
    return found;
  };
  std::vector<SearchTrouble> troubles(5);
  const std::vector<std::string> found = searchAll(tree.Root(), troubles);
  EXPECT_EQ(found, (std::vector<std::string>{mscomctl, "", "", near, mscomctl, "", "", top}));
  // Only the first search has a name (of 12 letters) that may lie below "a...".
  EXPECT_EQ(troubles[0].problem, SearchProblem::PathTooLong);
  for (std::size_t group = 1; group < troubles.size(); ++group) {
    EXPECT_EQ(troubles[group].problem, SearchProblem::None) << group;
  }

  // A walk that stops below the root for want of descriptors tells every search that still
  // wanted a name, and no other.
  std::vector<SearchTrouble> stopped(5);
  {
    fake::FewDescriptors one(1);  // the root opens, no folder below it
    EXPECT_EQ(searchAll(tree.Root(), stopped)[7], top);
  }
  EXPECT_EQ(stopped[1].problem, SearchProblem::OutOfResources);
  EXPECT_EQ(stopped[4].problem, SearchProblem::None);
  tree.AddFolder(std::string(51, 'b'));
  EXPECT_EQ(Search(tree.Root(), {"wmp.dll"}, buffer).trouble.problem, SearchProblem::PathTooLong);
}

// Names as long as the file system allows and paths past the system's limit are found; a
// long root split on "//" stays inside itself.
TEST(TreeSearch, FindsTheLongestNamesAndPathsAndALongRootSplitOnADoubleSlashStaysInside) {
  test_support::TempTree tree;
  test_support::TempTree outside;
  const std::string longest = tree.AddFile(std::string(NAME_MAX, 'n'));
  EXPECT_EQ(Search(tree.Root(), {std::string(NAME_MAX, 'N')}).found[0], longest);
  outside.AddFile("x.dll");  // what an escape to the file system's root would find
  // The first stretch ends exactly before "//": the next one must not start at "/".
  const std::string relative = outside.Root().substr(1);
  test_support::FolderChain chain(tree.Root(), PATH_MAX - 1);
  const std::string stretch = chain.Path();
  for (const auto& part : fs::path(relative)) chain.Enter(part.string());
  chain.AddFile("inside.dll");
  const std::string root = stretch + "//" + relative;
  ASSERT_EQ(root.find("//"), std::size_t{PATH_MAX} - 1);

  const Outcome outcome = Search(root, {"x.dll", "inside.dll"});
  EXPECT_EQ(outcome.found, (std::vector<std::string>{"", root + "/inside.dll"}));
  EXPECT_EQ(outcome.trouble.problem, SearchProblem::None);
  // From the top, the same file lies past the path limit.
  const std::string found = Search(tree.Root(), {"INSIDE.DLL"}).found[0];
  EXPECT_TRUE(found == chain.Path() + "/inside.dll") << "found " << found.size() << " characters";
}

// In a mount namespace of its own, a child process mounts a file system and binds a folder
// of the same one inside the tree, and searches; its exit status is the number found, 77
// when the machine refuses the namespace.
TEST(TreeSearch, TheWalkEntersNoMountPoint) {
  test_support::TempTree tree;
  test_support::TempTree outside;
  outside.AddFile("bound.dll");
  const std::string mounted = tree.AddFolder("mnt");
  const std::string bound = tree.AddFolder("bind");
  tree.AddFile("own/own.dll");

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) ||
        mount("none", mounted.c_str(), "tmpfs", 0, nullptr) != 0 ||
        mount(outside.Root().c_str(), bound.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      _exit(77);
    }
    close(open((mounted + "/mounted.dll").c_str(), O_CREAT | O_WRONLY, 0644));
    const Outcome outcome = Search(tree.Root(), {"mounted.dll", "bound.dll", "own.dll"});
    _exit(static_cast<int>(!outcome.found[0].empty()) * 4 +
          static_cast<int>(!outcome.found[1].empty()) * 2 +
          static_cast<int>(!outcome.found[2].empty()));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(WEXITSTATUS(status), 1) << "4: entered the mounted file system, 2: the bind mount";
}

}  // namespace
