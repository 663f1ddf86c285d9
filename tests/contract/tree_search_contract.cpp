// The tree search of every backend, through the program's calls (SearchTreeForFile and
// SearchTreeForFiles): what it finds, what it never finds, and what it does to the buffer.
// (Blank names are refused before any walk; the file locator's tests show it.)
#include <string>
#include <vector>

#include "contract/backend_under_contract.h"
#include "platform/imagehlp.h"

namespace contract {
namespace {

TEST_P(TreeSearchContract, FindsFilesAtTheRootAndDeepBelowInAnyLetterCase) {
  const std::string atRoot = Add("stdole2.tlb");
  const std::string deep = Add("a/b/c/d/MSHTML.TLB");
  Add("a/b/other.dll");
  const std::string ends = Add("z/Az_zA.OCX");

  EXPECT_EQ(Find("stdole2.tlb"), atRoot);
  EXPECT_EQ(Find("STDOLE2.TLB"), atRoot);
  EXPECT_EQ(Find("mshtml.tlb"), deep);
  EXPECT_EQ(Find("aZ_Za.ocx"), ends);  // the ends of the alphabet fold too
  // A root with a trailing separator gives the same paths.
  EXPECT_EQ(Find(under().Root() + has().separator, "MsHtMl.TlB"), deep);
  // Whole names only, and no wildcards.
  EXPECT_EQ(Find("mshtml.tl"), "");
  EXPECT_EQ(Find("*.tlb"), "");
  EXPECT_EQ(Find("SHDOCVW.DLL"), "");
}

TEST_P(TreeSearchContract, AFullPathComesBackWholeWithItsNulOrNotAtAll) {
  // Find's buffer is a heap buffer of the exact size, so that AddressSanitizer sees a write
  // past its end. A copy too long for the buffer does not end the walk: a shorter one counts.
  Add(std::string(120, 'l') + "/limit.ocx");
  const std::string shortCopy = Add("s/limit.ocx");
  EXPECT_EQ(Find("LIMIT.OCX", shortCopy.size() + 1), shortCopy);
  // A byte short, the buffer is left as it was.
  std::vector<char> tight(shortCopy.size(), '#');
  EXPECT_FALSE(platform::SearchTreeForFile(under().Root(), "limit.ocx", tight));
  EXPECT_EQ(std::string(tight.begin(), tight.end()), std::string(shortCopy.size(), '#'));
}

TEST_P(TreeSearchContract, EndsOnceEveryNameIsFoundAndOffersEventsAfterEachFolderItReads) {
  const std::string first = Add("first.dll");
  const std::string second = Add("second.dll");
  for (int i = 0; i < 20; ++i)
    under().AddFolder(under().Root(), "sub" + std::to_string(i) + "/deeper");
  int offers = 0;
  const auto search = [&](std::vector<std::string_view> names) {
    std::vector<std::string> found(names.size());
    offers = 0;
    platform::SearchTreeForFiles(
        {.root = under().Root(), .names = names, .whileSearching = [&] { ++offers; }}, found);
    return found;
  };
  EXPECT_EQ(search({"FIRST.DLL", "second.dll"}), (std::vector<std::string>{first, second}));
  EXPECT_EQ(offers, 0);  // both in the root: no folder read to its end
  EXPECT_EQ(search({"absent.dll"}), std::vector<std::string>{""});
  EXPECT_GE(offers, 41);  // the root, twenty folders and twenty below them
}

TEST_P(TreeSearchContract, LinksToFoldersAreNeverEntered) {
  under().AddFile(under().Outside(), "richtx32.ocx");
  under().AddFolder(under().Root(), "a");
  if (!under().LinkToFolder("a/elsewhere", under().Outside())) {
    GTEST_SKIP() << "no link to a folder can be made here";
  }
  EXPECT_EQ(Find("richtx32.ocx"), "");
  EXPECT_NE(Find(under().Outside(), "richtx32.ocx"), "");
  const std::string real = Add("a/real.dll");
  EXPECT_EQ(Find("real.dll"), real);
}

// A walk that could not look everywhere says why, instead of reporting names as missing.
TEST_P(TreeSearchContract, ARootThatCannotBeSearchedIsToldApartFromAbsence) {
  const std::string file = Add("file.dll");
  under().AddFolder(under().Root(), "empty");
  const auto search = [](const std::string& root) {
    const std::vector<std::string_view> names = {"x.dll"};
    std::vector<std::string> found(1);
    platform::SearchTrouble trouble;
    platform::SearchTreeForFiles({.root = root, .names = names, .trouble = &trouble}, found);
    EXPECT_EQ(found[0], "") << root;
    return trouble.problem;
  };
  using platform::SearchProblem;
  EXPECT_EQ(search(Below("empty")), SearchProblem::None);  // looked everywhere: absent
  EXPECT_EQ(search(Below("missing")), SearchProblem::RootMissing);
  EXPECT_EQ(search(Below("missing/below")), SearchProblem::RootMissing);
  EXPECT_EQ(search(""), SearchProblem::RootMissing);
  EXPECT_EQ(search(file), SearchProblem::RootNotFolder);
}

// A folder swapped for a link to one outside after the walk listed its parent (the link
// itself must not be entered), or after the walk read the folder (its subfolder must be
// the real one, not the one behind the link).
TEST_P(TreeSearchContract, AFolderSwappedForALinkWhileTheWalkRunsIsNeverEntered) {
  under().AddFile(under().Outside(), "hidden.dll");
  under().AddFile(under().Outside(), "deep/hidden.dll");
  for (int swapAfter : {1, 2}) {
    const std::string root = "after" + std::to_string(swapAfter);
    Add(root + "/mid/deep/inside.dll");
    const std::vector<std::string_view> names = {"hidden.dll", "inside.dll"};
    std::vector<std::string> found(names.size());
    int reads = 0;
    bool swapped = false;
    const auto swapOnce = [&] {
      if (++reads == swapAfter) swapped = under().SwapForLink(root + "/mid", under().Outside());
    };
    platform::SearchTreeForFiles({.root = Below(root), .names = names, .whileSearching = swapOnce},
                                 found);
    if (!swapped) GTEST_SKIP() << "no folder can be swapped for a link here";
    EXPECT_EQ(found[0], "") << "swapped after read " << swapAfter;
    EXPECT_EQ(found[1], swapAfter == 1 ? "" : Below(root + "/mid/deep/inside.dll"));
  }
}

TEST_P(TreeSearchContract, LetterCaseBeyondAsciiFoldsWhereThePlatformFoldsIt) {
  // "Über/Schlüssel.dll" in UTF-8.
  const std::string file =
      Add("\xC3\x9C"
          "ber/Schl\xC3\xBCssel.dll");
  EXPECT_EQ(Find("SCHL\xC3\xBCSSEL.DLL", platform::kMaxFullPath), file);
  EXPECT_EQ(Find("SCHL\xC3\x9CSSEL.DLL", platform::kMaxFullPath),
            has().foldsLettersBeyondAscii ? file : "");
}

}  // namespace
}  // namespace contract
