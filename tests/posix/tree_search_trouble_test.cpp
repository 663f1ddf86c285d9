// The tree search's third answer on real folders: a walk that could not look everywhere
// says why, instead of reporting names as missing; and what it must never do (leave its
// tree through a split long root or a mount point).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "fake/fake_system.h"
#include "fake/few_descriptors.h"
#include "platform/imagehlp.h"
#include "platform/posix/tree_search.h"
#include "support/folder_chain.h"
#include "support/temp_tree.h"

namespace {

using platform::SearchProblem;
using platform::SearchTrouble;

struct Outcome {
  std::vector<std::string> found;
  SearchTrouble trouble;
};

Outcome Search(const std::string& root, std::vector<std::string_view> names,
               std::size_t bufferSize = platform::kMaxFullPath) {
  Outcome outcome{std::vector<std::string>(names.size()), {}};
  platform::posix::SearchTree(
      {.root = root, .names = names, .bufferSize = bufferSize, .trouble = &outcome.trouble},
      outcome.found);
  return outcome;
}

SearchProblem ProblemAt(const std::string& root) {
  return Search(root, {"x.dll"}).trouble.problem;
}

TEST(TreeSearchTrouble, RootsOnlyPosixHasAreToldApartFromAbsence) {
  test_support::TempTree tree;
  const std::string file = tree.AddFile("file");
  const std::string fifo = tree.Root() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string dangling = tree.Root() + "/dangling";
  ASSERT_EQ(symlink((tree.Root() + "/nowhere").c_str(), dangling.c_str()), 0);
  const std::string socketPath = tree.Root() + "/socket";
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

  // What only POSIX has (the contract suites hold the rest): links, pipes, sockets and
  // devices as roots, the error behind the answer, the path limit and unreadable folders.
  EXPECT_EQ(ProblemAt(dangling), SearchProblem::RootMissing);
  EXPECT_EQ(ProblemAt(fifo), SearchProblem::RootNotFolder);
  EXPECT_EQ(ProblemAt(socketPath), SearchProblem::RootNotFolder);
  EXPECT_EQ(ProblemAt("/dev/null"), SearchProblem::RootNotFolder);
  EXPECT_EQ(Search(file, {"x.dll"}).trouble.systemError, ENOTDIR);
  EXPECT_EQ(ProblemAt(tree.Root() + "/" + std::string(300, 'n')), SearchProblem::PathTooLong);
  close(sock);

  if (geteuid() != 0) {  // root reads any folder
    const std::string locked = tree.AddFolder("locked");
    chmod(locked.c_str(), 0);
    EXPECT_EQ(ProblemAt(locked), SearchProblem::RootUnreadable);
    chmod(locked.c_str(), 0755);
  }
}

TEST(TreeSearchTrouble, NamesThatMayLieBeyondTheBufferAreNotCalledAbsent) {
  test_support::TempTree tree;
  tree.AddFile(std::string(100, 'f') + "/wmp.dll");
  tree.AddFile("near.dll");
  const Outcome cut = Search(tree.Root(), {"wmp.dll", "near.dll"}, tree.Root().size() + 60);
  EXPECT_EQ(cut.found[0], "");
  EXPECT_EQ(cut.found[1], tree.Root() + "/near.dll");
  EXPECT_EQ(cut.trouble.problem, SearchProblem::PathTooLong);
  // Found anyway: nothing was left unchecked.
  EXPECT_EQ(Search(tree.Root(), {"near.dll"}, tree.Root().size() + 60).trouble.problem,
            SearchProblem::None);

  // The folder whose "wmp.dll" would fill the buffer to its last byte is searched; one a
  // letter longer is not, and the walk says so even when that folder is empty.
  test_support::TempTree edge;
  const std::size_t buffer = edge.Root().size() + 60;  // the root, "/", 50, "/", 7 and a NUL
  const std::string fits = edge.AddFile(std::string(50, 'a') + "/wmp.dll");
  ASSERT_EQ(fits.size() + 1, buffer);
  const Outcome exact = Search(edge.Root(), {"wmp.dll"}, buffer);
  EXPECT_EQ(exact.found[0], fits);
  EXPECT_EQ(exact.trouble.problem, SearchProblem::None);
  std::filesystem::remove(fits);
  EXPECT_EQ(Search(edge.Root(), {"wmp.dll"}, buffer).trouble.problem, SearchProblem::None);
  edge.AddFolder(std::string(51, 'b'));
  const Outcome over = Search(edge.Root(), {"wmp.dll"}, buffer);
  EXPECT_EQ(over.found[0], "");
  EXPECT_EQ(over.trouble.problem, SearchProblem::PathTooLong);
}

// One walk for several searches tells each the paths and the trouble a walk for its own
// names would have, though the shared walk enters folders a search's own walk would have
// passed over, and goes on after a search's names are all found.
TEST(TreeSearchTrouble, AWalkForSeveralSearchesTellsEachWhatItsOwnWalkWould) {
  test_support::TempTree tree;
  const std::size_t buffer = tree.Root().size() + 60;
  // Room below "a..." for a name of 7 letters, not for one of 12.
  tree.AddFolder(std::string(50, 'a'));
  const std::string near = tree.AddFile("sub/near.dll");
  tree.AddFile("sub/MSCOMCTL.OCX");
  const std::vector<std::string_view> names = {"mscomctl.ocx",
                                               "richtx32.ocx",  // 0: cut short
                                               "wmp.dll",       // 1: missing
                                               "near.dll",
                                               "MSComCtl.ocx",  // 2: found
                                               "",
                                               "x/y"};  // 3: no name
  const std::vector<std::size_t> groups = {0, 0, 1, 2, 2, 3, 3};
  std::vector<std::string> found(names.size());
  std::vector<SearchTrouble> troubles(4);
  SearchTrouble walkTrouble;
  platform::posix::SearchTree({.root = tree.Root(),
                               .names = names,
                               .bufferSize = buffer,
                               .trouble = &walkTrouble,
                               .groups = groups,
                               .groupTrouble = troubles},
                              found);
  for (std::size_t group = 0; group < troubles.size(); ++group) {
    std::vector<std::string_view> own;
    std::vector<std::string> ownFound;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (groups[i] == group) own.push_back(names[i]);
      if (groups[i] == group) ownFound.push_back(found[i]);
    }
    const Outcome alone = Search(tree.Root(), own, buffer);
    EXPECT_EQ(ownFound, alone.found) << group;
    EXPECT_EQ(troubles[group].problem, alone.trouble.problem) << group;
  }
  EXPECT_EQ(troubles[0].problem, SearchProblem::PathTooLong);
  EXPECT_EQ(troubles[1].problem, SearchProblem::None);
  EXPECT_EQ(found[3], near);
  EXPECT_EQ(walkTrouble.problem, SearchProblem::None);  // the walk as a whole: room for wmp.dll

  // A walk that cannot begin tells every search that wanted a name, and no other.
  std::vector<SearchTrouble> none(4);
  platform::posix::SearchTree(
      {.root = tree.Root() + "/missing", .names = names, .groups = groups, .groupTrouble = none},
      found);
  EXPECT_EQ(none[0].problem, SearchProblem::RootMissing);
  EXPECT_EQ(none[2].problem, SearchProblem::RootMissing);
  EXPECT_EQ(none[3].problem, SearchProblem::None);
}

TEST(TreeSearchTrouble, RunningOutOfDescriptorsIsRecoveredOrTold) {
  test_support::TempTree tree;
  std::string deep;
  for (int i = 0; i < 30; ++i) deep += "d" + std::to_string(i) + "/";
  const std::string file = tree.AddFile(deep + "wmp.dll");
  tree.AddFile("x/y/z/other.dll");

  {  // Three descriptors: the walk closes the folders it keeps open and goes on.
    fake::FewDescriptors few(3);
    const Outcome outcome = Search(tree.Root(), {"wmp.dll", "other.dll"});
    EXPECT_EQ(outcome.found[0], file);
    EXPECT_EQ(outcome.trouble.problem, SearchProblem::None);
  }
  {  // None at all: not even the root opens; that is no absence.
    fake::FewDescriptors none(0);
    const Outcome outcome = Search(tree.Root(), {"wmp.dll"});
    EXPECT_EQ(outcome.found[0], "");
    EXPECT_EQ(outcome.trouble.problem, SearchProblem::OutOfResources);
    EXPECT_EQ(outcome.trouble.systemError, EMFILE);
  }
  {  // One: the root opens, no folder below it: told, not skipped.
    fake::FewDescriptors one(1);
    const Outcome outcome = Search(tree.Root(), {"wmp.dll"});
    EXPECT_EQ(outcome.found[0], "");
    EXPECT_EQ(outcome.trouble.problem, SearchProblem::OutOfResources);
  }
}

TEST(TreeSearchTrouble, ALongRootSplitOnADoubleSlashStaysInsideItself) {
  test_support::TempTree tree;
  test_support::TempTree outside;
  outside.AddFile("x.dll");  // what an escape to the file system's root would find
  // The first stretch ends exactly before "//": the next one must not start at "/".
  const std::string relative = outside.Root().substr(1);
  test_support::FolderChain chain(tree.Root(), PATH_MAX - 1);
  const std::string stretch = chain.Path();
  std::string inner = relative;
  for (std::size_t slash; !inner.empty();) {
    slash = inner.find('/');
    chain.Enter(inner.substr(0, slash));
    inner = slash == std::string::npos ? "" : inner.substr(slash + 1);
  }
  chain.AddFile("inside.dll");
  const std::string root = stretch + "//" + relative;
  ASSERT_EQ(root.find("//"), std::size_t{PATH_MAX} - 1);

  const Outcome outcome = Search(root, {"x.dll", "inside.dll"});
  EXPECT_EQ(outcome.found[0], "") << "left the tree";
  EXPECT_EQ(outcome.found[1], root + "/inside.dll");
  EXPECT_EQ(outcome.trouble.problem, SearchProblem::None);
}

// In a mount namespace of its own, a child process mounts a file system and binds a folder
// of the same one inside the tree, and searches; its exit status is the number found, 77
// when the machine refuses the namespace.
TEST(TreeSearchTrouble, TheWalkEntersNoMountPoint) {
  test_support::TempTree tree;
  test_support::TempTree outside;
  outside.AddFile("bound.dll");
  const std::string mounted = tree.AddFolder("mnt");
  const std::string bound = tree.AddFolder("bind");
  tree.AddFile("own/own.dll");

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr)) {
      _exit(77);
    }
    if (mount("none", mounted.c_str(), "tmpfs", 0, nullptr) != 0 ||
        mount(outside.Root().c_str(), bound.c_str(), nullptr, MS_BIND, nullptr) != 0) {
      _exit(77);
    }
    close(open((mounted + "/mounted.dll").c_str(), O_CREAT | O_WRONLY, 0644));
    std::vector<std::string> found(3);
    const std::string_view names[] = {"mounted.dll", "bound.dll", "own.dll"};
    platform::posix::SearchTree({.root = tree.Root(), .names = names}, found);
    _exit(static_cast<int>(!found[0].empty()) * 4 + static_cast<int>(!found[1].empty()) * 2 +
          static_cast<int>(!found[2].empty()));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no mount namespace on this machine";
  EXPECT_EQ(WEXITSTATUS(status), 1) << "4: entered the mounted file system, 2: the bind mount";
}

}  // namespace
