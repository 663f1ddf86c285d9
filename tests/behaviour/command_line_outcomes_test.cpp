// The command line's three answers and its exit statuses: present, missing, could not be
// checked (with the reason on stderr); a lost answer is a failure; outside text is shown
// without what a terminal would obey.
#include <gtest/gtest.h>

#include <cerrno>
#include <nlohmann/json.hpp>

#include "app/command_line.h"
#include "behaviour/check_machine.h"
#include "behaviour/recording_console.h"
#include "folders/special_folders.h"

namespace {

using belvosta::ParseCommandLine;
using command_line_test::RecordingConsole;
using platform::SearchProblem;

class CommandLineOutcomes : public checks_test::CheckMachineTest {
 protected:
  int Run(const std::vector<std::string>& arguments, RecordingConsole& console) {
    return belvosta::RunCommandLine(ParseCommandLine(arguments, false), *program, console);
  }
  nlohmann::json Json(RecordingConsole& console, int& status) {
    status = Run({"--check", "--json"}, console);
    return nlohmann::json::parse(console.utf8Bytes);
  }
};

TEST_F(CommandLineOutcomes, LostOutputIsAFailureWhateverTheVerdict) {
  InstallEverything();
  RecordingConsole full;
  full.textWorks = false;
  EXPECT_EQ(Run({"--check"}, full), belvosta::kExitNotChecked);
  EXPECT_EQ(full.error, "belvosta: die Ausgabe konnte nicht vollständig geschrieben werden\n");

  // Neither stream takes anything: the status alone still says so.
  RecordingConsole nothing;
  nothing.textWorks = nothing.errorWorks = false;
  EXPECT_EQ(Run({"--version"}, nothing), belvosta::kExitNotChecked);
  EXPECT_EQ(Run({"--help"}, nothing), belvosta::kExitNotChecked);
  EXPECT_EQ(Run({"--check", "--json"}, nothing), belvosta::kExitNotChecked);

  // A usage error keeps its own status, also when its message is lost.
  EXPECT_EQ(Run({"--bogus"}, nothing), belvosta::kExitUsage);

  // A lost error line alone is lost output too, even when the verdict was printed.
  fake.system.specialFolders.erase(platform::kCsidlProgramFiles);
  RecordingConsole noErrors;
  noErrors.errorWorks = false;
  EXPECT_EQ(Run({"--check"}, noErrors), belvosta::kExitNotChecked);
  EXPECT_NE(noErrors.text.find("Internet-Explorer: nicht prüfbar"), std::string::npos);
}

TEST_F(CommandLineOutcomes, AnUnknownFolderIsUncheckedNeverMissing) {
  InstallEverything(true, false);  // Internet Explorer really missing
  fake.system.specialFolders.erase(platform::kCsidlSystem);
  fake.system.folderOrigins[platform::kCsidlSystem] = {"Wine-Präfix \"", "/nonexistent",
                                                       "\" aus WINEPREFIX: fehlt"};
  RecordingConsole console;

  // Could not check (3) comes before missing (1).
  EXPECT_EQ(Run({"--check"}, console), belvosta::kExitNotChecked);
  EXPECT_EQ(console.text,
            "Flash Player: nicht prüfbar (Systemordner unbekannt)\n"
            "Visual-Basic Runtime-Dateien: nicht prüfbar (Systemordner unbekannt)\n"
            "Windows Service-Pack Dateien: nicht prüfbar (Systemordner unbekannt)\n"
            "Internet-Explorer: fehlt (IEXPLORE.EXE)\n"
            "Media Player Steuerelement: nicht prüfbar (Systemordner unbekannt)\n");
  // One line for the folder, naming where it came from, however many components it holds.
  EXPECT_EQ(console.error,
            "belvosta: nicht prüfbar: der Systemordner ist unbekannt; Wine-Präfix "
            "\"/nonexistent\" aus WINEPREFIX: fehlt\n");

  RecordingConsole json;
  int status = 0;
  const auto document = Json(json, status);
  EXPECT_EQ(status, belvosta::kExitNotChecked);
  const auto& components = document["components"];
  EXPECT_EQ(components[0]["status"], "unchecked");
  EXPECT_EQ(components[0]["reason"], "Systemordner unbekannt");
  EXPECT_EQ(components[0]["present"], false);  // the old key keeps its meaning
  EXPECT_EQ(components[3]["status"], "missing");
  EXPECT_TRUE(components[3]["reason"].is_null());
  EXPECT_EQ(document["all_present"], false);
}

TEST_F(CommandLineOutcomes, ARootThatIsNoFolderOrCannotBeSearchedIsUnchecked) {
  InstallEverything();
  // The system folder is a file: the walk says so, with the system's error.
  fake.system.specialFolders[platform::kCsidlSystem] = tree.AddFile("system32.txt");
  RecordingConsole file;
  EXPECT_EQ(Run({"--check"}, file), belvosta::kExitNotChecked);
  EXPECT_NE(file.text.find("Flash Player: nicht prüfbar (Systemordner ist kein Ordner (errno " +
                           std::to_string(ENOTDIR) + "))\n"),
            std::string::npos)
      << file.text;
  EXPECT_NE(file.text.find("Internet-Explorer: OK\n"), std::string::npos);
  EXPECT_NE(
      file.error.find("der Systemordner \"" + tree.Root() + "/system32.txt\" ist kein Ordner"),
      std::string::npos)
      << file.error;

  // A walk that ran out of descriptors: what it found is present, the rest unchecked.
  fake.system.specialFolders[platform::kCsidlSystem] = systemFolder;
  fake.system.walkTrouble = {SearchProblem::OutOfResources, EMFILE};
  RecordingConsole json;
  int status = 0;
  const auto document = Json(json, status);
  EXPECT_EQ(status, belvosta::kExitOk);  // every file was found before the walks stopped
  std::filesystem::remove(systemFolder + "/wmp.dll");
  RecordingConsole partly;
  const auto after = Json(partly, status);
  EXPECT_EQ(status, belvosta::kExitNotChecked);
  EXPECT_EQ(after["components"][0]["status"], "present");
  EXPECT_EQ(after["components"][4]["status"], "unchecked");
  EXPECT_EQ(after["components"][4]["reason"],
            "Systemordner konnte mangels Systemmitteln nicht ganz durchsucht werden (errno " +
                std::to_string(EMFILE) + ")");
  EXPECT_TRUE(document["components"][4]["reason"].is_null());
}

TEST_F(CommandLineOutcomes, AFolderAtALongPathIsFoundWhole) {
  // 700 bytes of path do not fit the shell call's first buffer.
  const std::string below = std::string(240, 'a') + "/" + std::string(240, 'b') + "/" +
                            std::string(240, 'c') + "/system32";
  const std::string system = tree.AddFolder(below);
  ASSERT_GT(system.size(), 700u);
  fake.system.specialFolders[platform::kCsidlSystem] = system;
  EXPECT_EQ(belvosta::ErmittleSpezialordner(0, platform::kCsidlSystem), system);
  tree.AddFile(below + "/wmp.dll");

  RecordingConsole console;
  Run({"--check"}, console);
  EXPECT_NE(console.text.find("Media Player Steuerelement: OK\n"), std::string::npos);
  EXPECT_EQ(fake.system.idListsOutstanding, 0);
  // A virtual folder still has no path, however much room it is given.
  fake.system.specialFolders[platform::kCsidlNetwork] = std::nullopt;
  EXPECT_EQ(belvosta::ErmittleSpezialordner(0, platform::kCsidlNetwork), "");
}

TEST_F(CommandLineOutcomes, OutsideTextReachesTheTerminalWithoutControls) {
  // A Flash folder whose name holds a CSI (C1), a right-to-left override and a stray byte.
  AddSystemFile(
      "Mac\xC2\x9B"
      "1m\xE2\x80\xAEro\xFF/Flash10c.ocx");
  RecordingConsole console;
  Run({"--check"}, console);
  EXPECT_NE(console.text.find("Flash Player: OK (" + systemFolder + "/Mac?1m?ro?/Flash10c.ocx)\n"),
            std::string::npos)
      << console.text;

  // An endless argument is named by its first 100 characters.
  const std::string argument = "--" + std::string(131072, 'x');
  const std::string error = ParseCommandLine({argument}, false).error;
  EXPECT_EQ(error, "belvosta: unbekannte Option \"--" + std::string(98, 'x') +
                       "...\" (belvosta --help zeigt die Optionen)");

  // So is an endless path in an error line, the folder's and the prefix's; the words
  // around them stay whole.
  const std::string path = "/nonexistent/" + std::string(131072, 'p');
  fake.system.specialFolders[platform::kCsidlSystem] = path;
  fake.system.folderOrigins[platform::kCsidlSystem] = {"Wine-Präfix \"", path,
                                                       "\" aus HOME: fehlt"};
  RecordingConsole unchecked;
  EXPECT_EQ(Run({"--check"}, unchecked), belvosta::kExitNotChecked);
  const std::string shown = "/nonexistent/" + std::string(87, 'p') + "...";
  EXPECT_EQ(unchecked.error, "belvosta: nicht prüfbar: der Systemordner \"" + shown +
                                 "\" fehlt (errno " + std::to_string(ENOENT) + "); Wine-Präfix \"" +
                                 shown + "\" aus HOME: fehlt\n");
}

TEST_F(CommandLineOutcomes, ALongHostNameIsReportedAndLookedUpWhole) {
  fake.system.computerName = "belvosta-long-hostname";  // Linux names go to 64 bytes
  RecordingConsole console;
  EXPECT_EQ(Run({"--report"}, console), belvosta::kExitOk);
  EXPECT_NE(console.text.find("Computername: \t\tbelvosta-long-hostname\n"), std::string::npos)
      << console.text;
  EXPECT_EQ(fake.system.hostLookups, std::vector<std::string>{"belvosta-long-hostname"});
}

TEST_F(CommandLineOutcomes, TheReportGivesTheWindowsVersionAsNumbers) {
  fake.system.version.major = 5;
  fake.system.version.minor = 1;
  fake.system.version.build = 2600;
  fake.system.userName = "a\x1B[2Jb";
  RecordingConsole console;
  EXPECT_EQ(Run({"--report", "--json"}, console), belvosta::kExitOk);
  const auto report = nlohmann::json::parse(console.utf8Bytes)["report"];
  EXPECT_EQ(report["windows_version"],
            (nlohmann::json{{"major", 5}, {"minor", 1}, {"build", 2600}, {"service_pack", 0}}));
  EXPECT_EQ(report["user"], "a\x1B[2Jb");  // JSON keeps the bytes, escaped

  RecordingConsole text;
  Run({"--report"}, text);
  EXPECT_NE(text.text.find("\ta?[2Jb\n"), std::string::npos) << text.text;

  // The regional decimal separator is outside data too: the clock's lines are filtered
  // (found by tests/fuzz/report_json_fuzz.cpp).
  fake.system.decimalSeparator = "\x1B[5m";
  RecordingConsole clock;
  Run({"--report"}, clock);
  EXPECT_EQ(clock.text.find('\x1B'), std::string::npos) << clock.text;
  EXPECT_NE(clock.text.find("2?[5m40 GHz"), std::string::npos) << clock.text;
}

}  // namespace
