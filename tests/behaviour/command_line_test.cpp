// The program without its windows: the check and the report on the command line, against
// the same fake machine as the windows' checks, and compared with what the windows find.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "app/command_line.h"
#include "behaviour/check_machine.h"
#include "behaviour/recording_console.h"

namespace {

using belvosta::CommandLineOptions;
using belvosta::ParseCommandLine;
using command_line_test::RecordingConsole;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class CommandLine : public checks_test::CheckMachineTest {
 protected:
  int Run(const std::vector<std::string>& arguments, RecordingConsole& console) {
    return belvosta::RunCommandLine(ParseCommandLine(arguments, console.WindowsOptions()), *program,
                                    console);
  }

  // Nothing of the windows' side happened: no box, nothing opened, no window loaded.
  void ExpectNoWindowWork() {
    EXPECT_TRUE(fake.ui.boxes.empty());
    EXPECT_TRUE(fake.system.shellOpens.empty());
    EXPECT_FALSE(program->FormS.IsLoaded());
    EXPECT_FALSE(program->Form3.IsLoaded());
  }
};

TEST_F(CommandLine, AllPresentGivesFiveOkLinesAndStatusZero) {
  InstallEverything();
  AddSystemFile("Macromed/Flash/Flash11j.ocx");  // later in the search order: not named
  RecordingConsole console;

  EXPECT_EQ(Run({"--check"}, console), belvosta::kExitOk);

  const std::string flash = systemFolder + "/Macromed/Flash/Flash10c.ocx";
  EXPECT_EQ(Lines(console.text), (std::vector<std::string>{
                                     "Flash Player: OK (" + flash + ")",
                                     "Visual-Basic Runtime-Dateien: OK",
                                     "Windows Service-Pack Dateien: OK",
                                     "Internet-Explorer: OK",
                                     "Media Player Steuerelement: OK",
                                 }));
  EXPECT_EQ(console.error, "");
  ExpectNoWindowWork();
}

TEST_F(CommandLine, SeveralMissingAreNamedInSearchOrderAndEveryComponentIsChecked) {
  // No Flash Player, two runtime files and Internet Explorer missing: the windows' chain
  // would stop at the first failure, the command line goes on to the end.
  AddSystemFile("RICHTX32.OCX");
  for (const char* file : {"MSHTML.TLB", "stdole2.tlb", "SHDOCVW.DLL", "wmp.dll"}) {
    AddSystemFile(file);
  }
  RecordingConsole console;

  EXPECT_EQ(Run({"--check"}, console), belvosta::kExitComponentMissing);

  EXPECT_EQ(Lines(console.text),
            (std::vector<std::string>{
                "Flash Player: fehlt (Flash9g.ocx, Flash10a.ocx, Flash10b.ocx, Flash10c.ocx, "
                "Flash10d.ocx, Flash10e.ocx, Flash10f.ocx, Flash10g.ocx, Flash10h.ocx, "
                "Flash11j.ocx)",
                "Visual-Basic Runtime-Dateien: fehlt (MSCOMCTL.OCX, MSFLXGRD.OCX)",
                "Windows Service-Pack Dateien: OK",
                "Internet-Explorer: fehlt (IEXPLORE.EXE)",
                "Media Player Steuerelement: OK",
            }));
  // Every file of every component was searched, each below its own folder: the system
  // folder's walk for all of them first, then the program files folder's.
  ASSERT_EQ(fake.system.searches.size(), 18u);
  EXPECT_EQ(fake.system.searches[16].name, "wmp.dll");
  EXPECT_EQ(fake.system.searches[16].root, systemFolder);
  EXPECT_EQ(fake.system.searches[17].name, "IEXPLORE.EXE");
  EXPECT_EQ(fake.system.searches[17].root, programFiles);
  EXPECT_EQ(fake.system.walks, 2);
  ExpectNoWindowWork();
}

// The windows' full scan and the command line search the same files, in the same order,
// below the same folders.
TEST_F(CommandLine, SearchesExactlyWhatTheWindowsFullScanSearches) {
  InstallEverything();
  main().Label12.RaiseClick();
  const auto windowSearches = fake.system.searches;
  ASSERT_EQ(windowSearches.size(), 18u);
  fake.system.searches.clear();

  RecordingConsole console;
  Run({"--check"}, console);

  ASSERT_EQ(fake.system.searches.size(), windowSearches.size());
  for (std::size_t i = 0; i < windowSearches.size(); ++i) {
    EXPECT_EQ(fake.system.searches[i].name, windowSearches[i].name) << i;
    EXPECT_EQ(fake.system.searches[i].root, windowSearches[i].root) << i;
  }
}

TEST_F(CommandLine, ReportTextIsTheReportBoxTextByteForByteThenClockAndVerdict) {
  fake.system.userName = "Jürgen";
  fake.system.computerName = "WERKSTATT";
  fake.system.registry["HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\"].values = {
      {"Identifier", "x86 Family 6"}, {"ProcessorNameString", "Intel(R) Pentium(R) 4"}};

  RecordingConsole windowsConsole("\r\n", true);
  EXPECT_EQ(Run({"/report"}, windowsConsole), belvosta::kExitOk);
  RecordingConsole linuxConsole;
  Run({"--report"}, linuxConsole);
  ExpectNoWindowWork();
  // The command line leaves the run's one measurement to the window.
  EXPECT_EQ(program->Module1.GemessenerTakt, 0);

  // The window: its report box, then its measurement and verdict box.
  program->Form3.Show();
  ASSERT_EQ(fake.ui.boxes.size(), 2u);
  const std::string box = fake.ui.boxes[0].text;
  ASSERT_EQ(fake.ui.boxes[0].title, "Rechnerdaten auslesen");
  const std::string verdict = fake.ui.boxes[1].text;
  EXPECT_EQ(verdict, "Ihre Computer Geschwindichkeit [2,40 GHz] ist OK !");

  EXPECT_EQ(windowsConsole.text,
            box + "\r\n" + program->Module1.GeschwindigkeitsText + "\r\n" + verdict + "\r\n");
  std::string boxWithLinuxLines = box;
  for (std::size_t at; (at = boxWithLinuxLines.find("\r\n")) != std::string::npos;) {
    boxWithLinuxLines.replace(at, 2, "\n");
  }
  EXPECT_EQ(linuxConsole.text,
            boxWithLinuxLines + "\nProzessor Geschwindigkeit: 2,40 GHz\n" + verdict + "\n");
}

TEST_F(CommandLine, ASlowOrUnmeasurableClockIsToldAsSuch) {
  fake.system.tscHz = 800'000'000;
  RecordingConsole slow;
  Run({"--report"}, slow);
  EXPECT_NE(slow.text.find("\nProzessor Geschwindigkeit: 800,00 MHz\nIhr Computer ist leider zu "
                           "Langsam [800,00 MHz ]. Um eine Optimale Funktion zu gewährleisten!\n"),
            std::string::npos)
      << slow.text;

  fake.system.performanceCounterWorks = false;
  RecordingConsole none;
  EXPECT_EQ(Run({"--report", "--json"}, none), belvosta::kExitOk);
  const auto document = nlohmann::json::parse(none.utf8Bytes);
  EXPECT_TRUE(document["clock_hz"].is_null());
  EXPECT_TRUE(document["verdict"].is_null());
  EXPECT_EQ(document["report"]["user"], "tester");
}

TEST_F(CommandLine, JsonHasEveryKeyAndSurvivesAnyFileName) {
  InstallEverything(/*flash=*/false);
  // A folder name with an umlaut, a line break, a DEL and a byte that is not UTF-8.
  const std::string odd = "Macromed/Fläsh\nneu\x7f\xff";
  AddSystemFile(odd + "/Flash11j.ocx");
  fake.system.computerName = "BÜRO";
  RecordingConsole console("\r\n", true);

  EXPECT_EQ(Run({"--CHECK", "/Report", "/json"}, console), belvosta::kExitOk);

  EXPECT_EQ(console.text, "");
  // ASCII only: the same document in every code page.
  for (const char c : console.utf8Bytes) ASSERT_LT(static_cast<unsigned char>(c), 0x80);
  const auto document = nlohmann::json::parse(console.utf8Bytes);
  for (const char* key : {"schema_version", "program", "version", "components", "all_present",
                          "report", "clock_hz", "clock_text", "verdict"}) {
    EXPECT_TRUE(document.contains(key)) << key;
  }
  EXPECT_EQ(document["schema_version"], 1);
  EXPECT_EQ(document["all_present"], true);
  ASSERT_EQ(document["components"].size(), 5u);
  for (const auto& component : document["components"]) {
    for (const char* key : {"name", "present", "missing_files", "found_path"}) {
      EXPECT_TRUE(component.contains(key)) << key;
    }
  }
  EXPECT_EQ(document["components"][0]["found_path"],
            systemFolder + "/Macromed/Fläsh\nneu\x7f\xEF\xBF\xBD/Flash11j.ocx");
  EXPECT_TRUE(document["components"][1]["found_path"].is_null());
  for (const char* key : {"processor", "family", "memory_mb", "user", "computer_name", "ip_address",
                          "operating_system", "service_pack", "text"}) {
    EXPECT_TRUE(document["report"].contains(key)) << key;
  }
  EXPECT_EQ(document["report"]["computer_name"], "BÜRO");
  EXPECT_EQ(document["report"]["memory_mb"], 512);
  EXPECT_EQ(document["clock_hz"], 2'400'000'000);
  EXPECT_EQ(document["clock_text"], "2,40 GHz");
  EXPECT_EQ(document["verdict"]["fast_enough"], true);

  // As text the odd path stays on its one line.
  RecordingConsole text;
  Run({"--check"}, text);
  EXPECT_EQ(Lines(text.text).size(), 5u);
  EXPECT_NE(text.text.find("Fläsh?neu?"), std::string::npos);
}

TEST_F(CommandLine, OnlyTheAskedPartsAreFilledTheOthersAreNull) {
  RecordingConsole console;
  EXPECT_EQ(Run({"--json", "--check"}, console), belvosta::kExitComponentMissing);
  const auto document = nlohmann::json::parse(console.utf8Bytes);
  EXPECT_EQ(document["all_present"], false);
  EXPECT_TRUE(document["report"].is_null());
  EXPECT_TRUE(document["clock_hz"].is_null());
  EXPECT_EQ(fake.system.tscReads, 0);  // no measurement either
}

TEST_F(CommandLine, CheckAndReportTogetherAreBothTextsWithABlankLineBetween) {
  fake.system.registry["HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\"].values = {
      {"Identifier", "x86 Family 6"}, {"ProcessorNameString", "Intel(R) Pentium(R) 4"}};
  for (const bool windows : {false, true}) {
    const std::string nl = windows ? "\r\n" : "\n";
    RecordingConsole check(nl, windows), report(nl, windows), both(nl, windows);
    EXPECT_EQ(Run({"--check"}, check), belvosta::kExitComponentMissing);
    EXPECT_EQ(Run({"--report"}, report), belvosta::kExitOk);
    // The check's status, whichever option comes first.
    EXPECT_EQ(Run({"--report", "--check"}, both), belvosta::kExitComponentMissing);
    ASSERT_EQ(report.text.substr(0, 21), "Intel(R) Pentium(R) 4");
    EXPECT_EQ(both.text, check.text + nl + report.text) << (windows ? "Windows" : "Linux");
    EXPECT_EQ(both.error, check.error + report.error);
  }
}

TEST(CommandLineOptions, AreReadAsEachPlatformWritesThem) {
  const auto onLinux = [](std::vector<std::string> args) { return ParseCommandLine(args, false); };
  const auto onWindows = [](std::vector<std::string> args) { return ParseCommandLine(args, true); };

  const CommandLineOptions both = onLinux({"--check", "--report", "--json"});
  EXPECT_TRUE(both.check && both.report && both.json && both.error.empty());
  EXPECT_TRUE(onWindows({"/?"}).help);
  EXPECT_TRUE(onWindows({"/Check"}).check);
  EXPECT_TRUE(onWindows({"--VERSION"}).version);

  // Slashes and capitals are Windows' way only; on Linux they name unknown options.
  EXPECT_EQ(onLinux({"/check"}).error,
            "belvosta: unbekannte Option \"/check\" (belvosta --help zeigt die Optionen)");
  EXPECT_FALSE(onLinux({"--Check"}).error.empty());
  // The first argument not understood is named, on one line.
  EXPECT_EQ(onLinux({"--check", "-x\ny", "--bogus"}).error,
            "belvosta: unbekannte Option \"-x?y\" (belvosta --help zeigt die Optionen)");
  EXPECT_EQ(onWindows({"/json"}).error, "belvosta: --json braucht --check oder --report");
  EXPECT_EQ(onLinux({"--json", "--help"}).error, "");  // help needs nothing else
  EXPECT_EQ(onLinux({"--version", "--json"}).error, "");
}

TEST_F(CommandLine, UsageErrorsHelpAndVersion) {
  RecordingConsole unknown;
  EXPECT_EQ(Run({"--check", "--prüfen"}, unknown), belvosta::kExitUsage);
  EXPECT_EQ(unknown.error,
            "belvosta: unbekannte Option \"--prüfen\" (belvosta --help zeigt die Optionen)\n");
  EXPECT_EQ(unknown.text, "");
  EXPECT_TRUE(fake.system.searches.empty());

  RecordingConsole help("\r\n", true);
  EXPECT_EQ(Run({"/?", "--check"}, help), belvosta::kExitOk);
  EXPECT_NE(help.text.find("\r\n  --check    prüft die fünf Komponenten"), std::string::npos);
  EXPECT_TRUE(fake.system.searches.empty());

  RecordingConsole version;
  EXPECT_EQ(Run({"--version"}, version), belvosta::kExitOk);
  EXPECT_TRUE(version.text.starts_with("Belvosta ")) << version.text;
  EXPECT_EQ(version.text.find('\n'), version.text.size() - 1);  // one line, ended
  ExpectNoWindowWork();
}

}  // namespace
