// The program without its windows: the check and the report on the command line, against
// the same fake machine as the windows' checks. Statuses: 0 all present, 1 a component
// missing, 2 a usage error, 3 a component that could not be checked or an answer lost.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>

#include "app/command_line.h"
#include "behaviour/check_machine.h"
#include "behaviour/recording_console.h"

namespace {

using belvosta::kExitComponentMissing;
using belvosta::kExitNotChecked;
using belvosta::kExitOk;
using belvosta::kExitUsage;
using command_line_test::RecordingConsole;
using platform::kCsidlSystem;

class CommandLine : public checks_test::CheckMachineTest {
 public:
  int Run(const std::vector<std::string>& arguments, RecordingConsole& console) {
    return belvosta::RunCommandLine(belvosta::ParseCommandLine(arguments, console.WindowsOptions()),
                                    *program, console);
  }
  nlohmann::json Json(const std::vector<std::string>& arguments, int expectedStatus) {
    RecordingConsole console;
    EXPECT_EQ(Run(arguments, console), expectedStatus);
    return nlohmann::json::parse(console.utf8Bytes);
  }
};

using Machine = std::function<void(CommandLine&)>;

struct Row {
  const char* name;
  std::vector<std::string> arguments;
  int status;
  std::vector<std::string> text;  // each part found in stdout ("$SYS": the system folder);
                                  // none: stdout stays empty
  std::string error;              // found in stderr; empty: stderr stays empty
  Machine machine;
  bool windows = false;  // Windows' option spellings and line ends
};

Row Run(const char* name, std::vector<std::string> arguments, int status, Machine machine,
        std::vector<std::string> text, std::string error = "") {
  return {
      name, std::move(arguments), status, std::move(text), std::move(error), std::move(machine)};
}
Row Check(const char* name, int status, Machine machine, std::vector<std::string> text,
          std::string error = "") {
  return Run(name, {"--check"}, status, std::move(machine), std::move(text), std::move(error));
}
Row OnWindows(const char* name, std::vector<std::string> arguments, int status,
              std::vector<std::string> text, std::string error = "") {
  return {name, std::move(arguments), status, std::move(text), std::move(error), nullptr, true};
}

void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

class CommandLineRows : public CommandLine, public ::testing::WithParamInterface<Row> {};

const std::string kFolderErrorPath = "/nonexistent/" + std::string(131072, 'p');
const std::string kFolderErrorShown = "/nonexistent/" + std::string(87, 'p') + "...";

const Row kRows[] = {
    // The first Flash Player file in the search order is named, not a later one.
    Check("AllPresent", kExitOk,
          [](CommandLine& t) {
            t.InstallEverything();
            t.AddSystemFile("Macromed/Flash/Flash11j.ocx");
          },
          {"Flash Player: OK ($SYS/Macromed/Flash/Flash10c.ocx)\nVisual-Basic Runtime-Dateien: "
           "OK\nWindows Service-Pack Dateien: OK\nInternet-Explorer: OK\nMedia Player "
           "Steuerelement: OK\n"}),
    // The windows' chain would stop at the first failure; the command line goes on.
    Check("SeveralMissingAreNamedInSearchOrder", kExitComponentMissing,
          [](CommandLine& t) {
            for (const char* file :
                 {"RICHTX32.OCX", "MSHTML.TLB", "stdole2.tlb", "SHDOCVW.DLL", "wmp.dll"})
              t.AddSystemFile(file);
          },
          {"Flash Player: fehlt (Flash9g.ocx, Flash10a.ocx, Flash10b.ocx, Flash10c.ocx, "
           "Flash10d.ocx, Flash10e.ocx, Flash10f.ocx, Flash10g.ocx, Flash10h.ocx, "
           "Flash11j.ocx)\nVisual-Basic Runtime-Dateien: fehlt (MSCOMCTL.OCX, "
           "MSFLXGRD.OCX)\nWindows Service-Pack Dateien: OK\nInternet-Explorer: fehlt "
           "(IEXPLORE.EXE)\nMedia Player Steuerelement: OK\n"}),
    // Both texts, the check's first whichever option comes first, and the check's status.
    Run("CheckThenReportWithABlankLineBetween", {"--report", "--check"}, kExitComponentMissing,
        [](CommandLine& t) {
          t.fake.system.registry["HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\"].values = {
              {"Identifier", "x86 Family 6"}, {"ProcessorNameString", "Intel(R) Pentium(R) 4"}};
        },
        {"Media Player Steuerelement: fehlt (wmp.dll)\n\nIntel(R) Pentium(R) 4\n",
         "\nProzessor Geschwindigkeit: 2,40 GHz\nIhre Computer Geschwindichkeit [2,40 GHz] ist "
         "OK !\n"}),
    // What a walk found before it had to stop is present; only the rest is unchecked.
    Check(
        "AWalkThatStoppedBeforeTheLastFile", kExitNotChecked,
        [](CommandLine& t) {
          t.InstallEverything();
          t.fake.system.walkTrouble = {platform::SearchProblem::OutOfResources, EMFILE};
          std::filesystem::remove(t.systemFolder + "/wmp.dll");
        },
        {"Flash Player: OK",
         "Media Player Steuerelement: nicht prüfbar (Systemordner konnte mangels "
         "Systemmitteln nicht ganz durchsucht werden (errno " +
             std::to_string(EMFILE) + "))\n"},
        "Systemmitteln"),
    // 700 bytes of path do not fit the shell call's first buffer.
    Check("AFolderAtALongPathIsFoundWhole", kExitComponentMissing,
          [](CommandLine& t) {
            const std::string below = std::string(240, 'a') + "/" + std::string(240, 'b') + "/" +
                                      std::string(240, 'c') + "/system32";
            t.fake.system.specialFolders[kCsidlSystem] = t.tree.AddFolder(below);
            t.tree.AddFile(below + "/wmp.dll");
          },
          {"Media Player Steuerelement: OK\n"}),
    // A CSI (C1), a right-to-left override and a stray byte in a folder's name.
    Check("OutsideTextReachesTheTerminalWithoutControls", kExitComponentMissing,
          [](CommandLine& t) {
            t.AddSystemFile(
                "Mac\xC2\x9B"
                "1m\xE2\x80\xAEro\xFF/Flash10c.ocx");
          },
          {"Flash Player: OK ($SYS/Mac?1m?ro?/Flash10c.ocx)\n"}),
    // An endless path is named by its first 100 characters; the words around it stay whole.
    Check(
        "AnEndlessPathInAnErrorLineIsCut", kExitNotChecked,
        [](CommandLine& t) {
          t.fake.system.specialFolders[kCsidlSystem] = kFolderErrorPath;
          t.fake.system.folderOrigins[kCsidlSystem] = {"Wine-Präfix \"", kFolderErrorPath,
                                                       "\" aus HOME: fehlt"};
        },
        {"Flash Player: nicht prüfbar"},
        "belvosta: nicht prüfbar: der Systemordner \"" + kFolderErrorShown + "\" fehlt (errno " +
            std::to_string(ENOENT) + "); Wine-Präfix \"" + kFolderErrorShown +
            "\" aus HOME: fehlt\n"),
    // The first argument not understood is named, on one line, by its first 100 characters.
    Run("TheFirstUnknownOptionIsNamedShort",
        {"--check", "-x\ny" + std::string(131072, 'x'), "--bogus"}, kExitUsage, nullptr, {},
        "belvosta: unbekannte Option \"-x?y" + std::string(96, 'x') +
            "...\" (belvosta --help zeigt die Optionen)\n"),
    // Slashes and capitals are Windows' way only.
    Run("ASlashOptionIsUnknownOnLinux", {"/check"}, kExitUsage, nullptr, {}, "\"/check\""),
    OnWindows("JsonNeedsAPart", {"/json"}, kExitUsage, {},
              "belvosta: --json braucht --check oder --report\r\n"),
    OnWindows("HelpComesBeforeACheck", {"/?", "--check"}, kExitOk,
              {"\r\n  --check    prüft die fünf Komponenten"}),
    OnWindows("Version", {"--VERSION"}, kExitOk, {"Belvosta "}),
    // Outside data: the user's name and the regional decimal separator; a Linux host name
    // goes to 64 bytes.
    Run("TheReportOfAnOddMachine", {"--report"}, kExitOk,
        [](CommandLine& t) {
          t.fake.system.tscHz = 800'000'000;
          t.fake.system.userName = "a\x1B[2Jb";
          t.fake.system.decimalSeparator = "\x1B[5m";
          t.fake.system.computerName = "belvosta-long-hostname";
        },
        {"\ta?[2Jb\n", "Computername: \t\tbelvosta-long-hostname\n",
         "\nProzessor Geschwindigkeit: 800?[5m00 MHz\nIhr Computer ist leider zu Langsam "
         "[800?[5m00 MHz ]. Um eine Optimale Funktion zu gewährleisten!\n"}),
};

std::string Filled(std::string text, const CommandLine& t) {
  for (std::size_t at; (at = text.find("$SYS")) != std::string::npos;)
    text.replace(at, 4, t.systemFolder);
  return text;
}

TEST_P(CommandLineRows, GiveTheirStatusTextAndErrors) {
  const Row& row = GetParam();
  if (row.machine) row.machine(*this);
  RecordingConsole console(row.windows ? "\r\n" : "\n", row.windows);

  EXPECT_EQ(Run(row.arguments, console), row.status);

  for (const std::string& part : row.text) {
    EXPECT_NE(console.text.find(Filled(part, *this)), std::string::npos) << part;
  }
  EXPECT_EQ(console.text.empty(), row.text.empty());
  // Every answer ends its last line, and nothing reaches the terminal that it would obey.
  EXPECT_TRUE(console.text.empty() || console.text.ends_with(row.windows ? "\r\n" : "\n"));
  EXPECT_EQ(console.text.find('\x1B'), std::string::npos);
  if (row.error.empty()) {
    EXPECT_EQ(console.error, "");
  } else {
    EXPECT_NE(console.error.find(Filled(row.error, *this)), std::string::npos) << console.error;
  }
  // Files are searched for the check alone; nothing of the windows' side happens.
  EXPECT_EQ(fake.system.searches.empty(), console.text.find("Flash Player:") == std::string::npos);
  EXPECT_TRUE(fake.ui.boxes.empty());
  EXPECT_TRUE(fake.system.shellOpens.empty());
  EXPECT_FALSE(program->FormS.IsLoaded());
  EXPECT_FALSE(program->Form3.IsLoaded());
  EXPECT_EQ(fake.system.idListsOutstanding, 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, CommandLineRows, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandLine, JsonHasEveryPartAsAskedAndSurvivesAnyFileName) {
  InstallEverything(/*flash=*/false);
  // A folder name with an umlaut, a line break, a DEL and a byte that is not UTF-8.
  AddSystemFile("Macromed/Fläsh\nneu\x7f\xff/Flash11j.ocx");
  fake.system.computerName = "BÜRO";
  fake.system.userName = "a\x1B[2Jb";
  RecordingConsole console("\r\n", true);
  EXPECT_EQ(Run({"--CHECK", "/Report", "/json"}, console), kExitOk);
  EXPECT_EQ(console.text, "");
  // ASCII only: the same document in every code page.
  for (const char c : console.utf8Bytes) ASSERT_LT(static_cast<unsigned char>(c), 0x80);
  auto document = nlohmann::json::parse(console.utf8Bytes);
  EXPECT_EQ(document["schema_version"], 1);
  EXPECT_EQ(document["all_present"], true);
  ASSERT_EQ(document["components"].size(), 5u);
  EXPECT_EQ(document["components"][0]["found_path"],
            systemFolder + "/Macromed/Fläsh\nneu\x7f\xEF\xBF\xBD/Flash11j.ocx");
  EXPECT_TRUE(document["components"][1]["found_path"].is_null());
  for (const char* key : {"name", "present", "missing_files", "status", "reason"}) {
    EXPECT_TRUE(document["components"][1].contains(key)) << key;
  }
  EXPECT_TRUE(document.contains("program") && document.contains("version"));
  for (const char* key :
       {"processor", "family", "ip_address", "operating_system", "service_pack", "text"}) {
    EXPECT_TRUE(document["report"].contains(key)) << key;
  }
  EXPECT_EQ(document["report"]["computer_name"], "BÜRO");
  EXPECT_EQ(document["report"]["user"], "a\x1B[2Jb");  // JSON keeps the bytes, escaped
  EXPECT_EQ(document["report"]["memory_mb"], 512);
  EXPECT_EQ(document["report"]["windows_version"],
            (nlohmann::json{{"major", 5}, {"minor", 1}, {"build", 2600}, {"service_pack", 0}}));
  EXPECT_EQ(document["clock_hz"], 2'400'000'000);
  EXPECT_EQ(document["clock_text"], "2,40 GHz");
  EXPECT_EQ(document["verdict"]["fast_enough"], true);

  // One component missing among present ones; only the check asked: no report, no clock.
  std::filesystem::remove(systemFolder + "/wmp.dll");
  const int readings = fake.system.tscReads;
  document = Json({"--json", "--check"}, kExitComponentMissing);
  EXPECT_EQ(document["all_present"], false);
  EXPECT_EQ(document["components"][0]["status"], "present");
  EXPECT_EQ(document["components"][4]["status"], "missing");
  EXPECT_TRUE(document["components"][4]["reason"].is_null());
  EXPECT_TRUE(document["report"].is_null());
  EXPECT_TRUE(document["clock_hz"].is_null());
  EXPECT_EQ(fake.system.tscReads, readings);

  // An unmeasurable clock leaves clock and verdict empty.
  fake.system.performanceCounterWorks = false;
  document = Json({"--report", "--json"}, kExitOk);
  EXPECT_TRUE(document["clock_hz"].is_null());
  EXPECT_TRUE(document["verdict"].is_null());

  // A component that could not be checked is no missing one; the old key keeps its meaning.
  fake.system.specialFolders.erase(kCsidlSystem);
  const auto components = Json({"--check", "--json"}, kExitNotChecked)["components"];
  EXPECT_EQ(components[0]["status"], "unchecked");
  EXPECT_EQ(components[0]["reason"], "Systemordner unbekannt");
  EXPECT_EQ(components[0]["present"], false);
}

TEST_F(CommandLine, LostOutputIsAFailureWhateverTheVerdict) {
  InstallEverything();
  RecordingConsole full;
  full.textWorks = false;
  EXPECT_EQ(Run({"--check"}, full), kExitNotChecked);
  EXPECT_EQ(full.error, "belvosta: die Ausgabe konnte nicht vollständig geschrieben werden\n");

  // Neither stream takes anything: the status alone still says so; a usage error keeps its
  // own status.
  RecordingConsole nothing;
  nothing.textWorks = nothing.errorWorks = false;
  for (const char* option : {"--version", "--help"}) {
    EXPECT_EQ(Run({option}, nothing), kExitNotChecked) << option;
  }
  EXPECT_EQ(Run({"--check", "--json"}, nothing), kExitNotChecked);
  EXPECT_EQ(Run({"--bogus"}, nothing), kExitUsage);

  // A lost error line alone is lost output too, even when the verdict was printed.
  fake.system.specialFolders.erase(platform::kCsidlProgramFiles);
  RecordingConsole noErrors;
  noErrors.errorWorks = false;
  EXPECT_EQ(Run({"--check"}, noErrors), kExitNotChecked);
  EXPECT_NE(noErrors.text.find("Internet-Explorer: nicht prüfbar"), std::string::npos);
}

}  // namespace
