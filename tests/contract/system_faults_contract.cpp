// What the tree search and the command line's console do when the system fails them. Each
// row is a row of the table in docs/system-faults.md, injected into the backend's system
// calls at the call it names.
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/program.h"
#include "contract/backend_under_contract.h"
#include "platform/console.h"
#include "platform/imagehlp.h"

namespace contract {
namespace {

using platform::SearchProblem;
constexpr auto kOpen = Call::OpenFolder;
constexpr auto kList = Call::ListFolder;
constexpr auto kWrite = Call::Write;

// The tree every walk row searches: top.dll in the root, mid.dll in its one folder "sub",
// low.dll in "sub/deeper", and enough other files that the root's entries fill several
// partial listings. In the order of the calls: the root is open call 1 and list calls 1
// and 2 (the second says there is no more), sub is open call 2 and list calls 3 and 4.
enum class Walk {
  FindsAll,       // recovered: the answer is whole
  SkipsSub,       // sub and what lies below it are passed over; top.dll is found, no trouble
  CouldNotCheck,  // the walk stops and says why: the component is unchecked, exit status 3
  // FindsAll where the backend retries after a shortage (Properties), else CouldNotCheck.
  RetriedElseCouldNotCheck,
};

struct WalkRow {
  std::string says;
  std::vector<Injection> injections;
  Walk outcome;
  SearchProblem problem = SearchProblem::None;  // for CouldNotCheck
};

constexpr auto kResources = SearchProblem::OutOfResources;
constexpr auto kUnreadable = SearchProblem::RootUnreadable;

// clang-format off
// The four classes of shortage have the same rows.
std::vector<WalkRow> ShortageRows(const std::string& name, Fault fault) {
  return {
    {"a folder below, opened once: " + name,  {{kOpen, 2, fault}},    Walk::RetriedElseCouldNotCheck, kResources},
    {"a folder below, opened twice: " + name, {{kOpen, 2, fault, 2}}, Walk::CouldNotCheck,            kResources},
    {"the root, opened once: " + name,        {{kOpen, 1, fault}},    Walk::RetriedElseCouldNotCheck, kResources},
    {"the root, opened twice: " + name,       {{kOpen, 1, fault, 2}}, Walk::CouldNotCheck,            kResources},
    {"a folder below, listed: " + name,       {{kList, 3, fault}},    Walk::CouldNotCheck,            kResources},
    {"the root, listed: " + name,             {{kList, 1, fault}},    Walk::CouldNotCheck,            kResources},
  };
}

std::vector<WalkRow> WalkTable() {
  std::vector<WalkRow> rows = {
    {"a folder below, opened: denied",    {{kOpen, 2, Fault::Denied}},                 Walk::SkipsSub},
    {"a folder below, listed: denied",    {{kList, 3, Fault::Denied}},                 Walk::SkipsSub},
    {"the root, opened: denied",          {{kOpen, 1, Fault::Denied}},                 Walk::CouldNotCheck, kUnreadable},
    {"the root, listed: denied",          {{kList, 1, Fault::Denied}},                 Walk::CouldNotCheck, kUnreadable},
    {"any open: interrupted",             {{kOpen, 1, Fault::Interrupted, 2},
                                           {kOpen, 4, Fault::Interrupted}},            Walk::FindsAll},
    {"any listing: interrupted",          {{kList, 1, Fault::Interrupted},
                                           {kList, 4, Fault::Interrupted, 3}},         Walk::FindsAll},
    {"every listing: partial",            {{kList, 1, Fault::Partial, 1000}},          Walk::FindsAll},
  };
  for (const auto& [name, fault] : {std::pair{"no descriptors", Fault::NoDescriptors},
                                    std::pair{"system full", Fault::SystemFull},
                                    std::pair{"no memory", Fault::NoMemory},
                                    std::pair{"device error", Fault::DeviceError}}) {
    for (WalkRow& row : ShortageRows(name, fault)) rows.push_back(std::move(row));
  }
  return rows;
}
// clang-format on

TEST_P(SystemFaultsContract, TheTreeSearchAnswersEveryFaultAsTheTableSays) {
  const std::string top = under().AddFile(under().Root(), "top.dll");
  const std::string mid = under().AddFile(under().Root(), "sub/mid.dll");
  const std::string low = under().AddFile(under().Root(), "sub/deeper/low.dll");
  for (int i = 0; i < 60; ++i) {
    under().AddFile(under().Root(),
                    "a file with a long name to fill the listing " + std::to_string(i) + ".txt");
  }
  const std::vector<std::string_view> names = {"top.dll", "mid.dll", "low.dll"};
  const std::vector<std::string> all = {top, mid, low};
  const std::vector<std::string> aboveSub = {top, "", ""};

  int injected = 0;
  for (const WalkRow& row : WalkTable()) {
    SCOPED_TRACE(row.says);
    if (!under().Inject(row.injections)) continue;  // no such fault on this system
    ++injected;
    std::vector<std::string> found(names.size());
    platform::SearchTrouble trouble;
    platform::SearchTreeForFiles({.root = under().Root(), .names = names, .trouble = &trouble},
                                 found);
    under().EndFaults();

    Walk outcome = row.outcome;
    if (outcome == Walk::RetriedElseCouldNotCheck) {
      outcome = has().retriesAfterAShortage ? Walk::FindsAll : Walk::CouldNotCheck;
    }
    if (outcome == Walk::CouldNotCheck) {
      EXPECT_EQ(trouble.problem, row.problem);
      EXPECT_NE(trouble.systemError, 0);
    } else {
      EXPECT_EQ(found, outcome == Walk::FindsAll ? all : aboveSub);
      EXPECT_EQ(trouble.problem, SearchProblem::None);
    }
  }
  EXPECT_GE(injected, 20);
}

// The command line's shortest answer, its version, through the process's console.
struct WriteRow {
  const char* says;
  std::vector<Injection> injections;
  int status;  // the command line's exit status
};

// clang-format off
const WriteRow kWriteTable[] = {
  {"a write: interrupted",                   {{kWrite, 1, Fault::Interrupted, 3}},  belvosta::kExitOk},
  {"every write: partial",                   {{kWrite, 1, Fault::Partial, 1000}},   belvosta::kExitOk},
  {"a write: device error",                  {{kWrite, 1, Fault::DeviceError}},     belvosta::kExitNotChecked},
  {"a partial write, then the disk is full", {{kWrite, 1, Fault::Partial},
                                              {kWrite, 2, Fault::DiskFull}},        belvosta::kExitNotChecked},
};
// clang-format on

TEST_P(SystemFaultsContract, TheConsoleAnswersEveryFaultAsTheTableSays) {
  belvosta::Program program;
  const auto console = platform::OpenConsole();
  const belvosta::CommandLineOptions version{.version = true};
  ASSERT_TRUE(under().Inject({}));
  ASSERT_EQ(belvosta::RunCommandLine(version, program, *console), belvosta::kExitOk);
  const std::string answer = under().Written();
  ASSERT_NE(answer.find("Belvosta"), std::string::npos) << answer;

  int injected = 0;
  for (const WriteRow& row : kWriteTable) {
    SCOPED_TRACE(row.says);
    if (!under().Inject(row.injections)) continue;  // no such fault on this system
    ++injected;
    const int status = belvosta::RunCommandLine(version, program, *console);
    const std::string written = under().Written();
    under().EndFaults();
    EXPECT_EQ(status, row.status);
    if (status == belvosta::kExitOk) {
      EXPECT_EQ(written, answer);
    }
    // The answer did not get out whole, and stderr says so (its umlaut in the code page).
    if (status == belvosta::kExitNotChecked) {
      EXPECT_NE(written.find("nicht vollst"), std::string::npos) << written;
    }
  }
  EXPECT_GE(injected, 3);
}

}  // namespace
}  // namespace contract
