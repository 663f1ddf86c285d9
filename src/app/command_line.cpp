// The program's command line: --check, --report, --json, --help and --version.
//
// This file, in order:
//   - the usage text
//   - the options, the shell's folders, the report with its clock measurement
//   - the texts: why a component could not be checked, the check lines, the report
//   - the JSON document
//   - ParseCommandLine, RunCommandLine (the exit status) and CommandLineMode, the entry
#include "app/command_line.h"

#include <algorithm>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>

#include "app/printable_text.h"
#include "app/program.h"
#include "app/version.h"
#include "checks/component_search.h"
#include "computer/module1.h"
#include "computer/speed_verdict.h"
#include "folders/special_folders.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"
#include "platform/system_only.h"

namespace belvosta {
namespace {

// The schema of the JSON document; raised when a key changes meaning or goes away.
constexpr int kJsonSchemaVersion = 1;

// The speed test's measuring window, as Form3 measures.
constexpr double kMeasurementSeconds = 1.0;

// A message that repeats a name from outside (an argument, a path) shows at most this many
// characters of it: a line stays readable whatever the name's length.
constexpr std::size_t kNameShown = 100;

std::string Shown(std::string_view name) {
  return PrintableStart(name, kNameShown);
}

// The German word for a count of components, as the usage text says it.
constexpr std::string_view kCountWords[] = {"keine", "eine",  "zwei",   "drei", "vier",
                                            "fünf",  "sechs", "sieben", "acht", "neun",
                                            "zehn",  "elf",   "zwölf"};
static_assert(kComponentCount < std::size(kCountWords), "the usage text cannot name the count");

// Stands in a line of the usage text for the number of components in the chain.
constexpr std::string_view kComponentCountMark = "{Anzahl}";

const char* const kUsage[] = {
    "Belvosta " BELVOSTA_VERSION ": prüft, ob dieser PC für Dorvane bereit ist.",
    "",
    "Aufruf: belvosta [--check] [--report] [--json]",
    "        belvosta --help | --version",
    "Ohne Optionen öffnet Belvosta sein Fenster.",
    "",
    "  --check    prüft die {Anzahl} Komponenten ohne Fenster; je Komponente eine Zeile:",
    "             Name, \"OK\", \"fehlt\" oder \"nicht prüfbar\", die fehlenden Dateien,",
    "             beim Flash Player der Fundort. Jede Komponente wird geprüft, nichts",
    "             wird geöffnet. Was nicht gelesen werden konnte, steht auf stderr.",
    "  --report   gibt die Rechnerdaten aus, dazu die gemessene Prozessor-Geschwindigkeit",
    "             und das Urteil.",
    "  --json     gibt das Ergebnis von --check und/oder --report als ein JSON-Dokument aus.",
    "  --help     zeigt diese Hilfe.",
    "  --version  zeigt die Version.",
    "",
    "Unter Windows gelten die Optionen auch mit / (/check, /report, /json, /?).",
    "",
    "Rückgabewert: 0 alles vorhanden (oder kein --check), 1 eine Komponente fehlt,",
    "2 unbekannte Option, 3 eine Komponente nicht prüfbar oder die Ausgabe verloren.",
    "Vorrang: 2 vor 3 vor 1 vor 0.",
};

// Windows writes options with a slash and in any case: "/Check" is "--check".
std::string Normalized(std::string argument, bool windowsOptions) {
  if (!windowsOptions) return argument;
  std::transform(argument.begin(), argument.end(), argument.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  if (argument == "/?") return "--help";
  if (argument.size() > 1 && argument[0] == '/') argument.replace(0, 1, "--");
  return argument;
}

std::string Joined(const std::vector<std::string>& items, std::string_view separator) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += separator;
    text += item;
  }
  return text;
}

int FolderNumber(SearchRoot root) {
  return root == SearchRoot::ProgramFiles ? platform::kCsidlProgramFiles : platform::kCsidlSystem;
}

// The two folders the checks search below, each resolved once, as FormS resolves them.
RootFolder ShellFolders() {
  auto resolved = std::make_shared<std::map<SearchRoot, std::string>>();
  return [resolved](SearchRoot root) {
    auto it = resolved->find(root);
    if (it == resolved->end()) {
      it = resolved->emplace(root, ErmittleSpezialordner(0, FolderNumber(root))).first;
    }
    return it->second;
  };
}

// The Windows version as numbers, for scripts that compare versions.
struct WindowsVersion {
  unsigned long major = 0;
  unsigned long minor = 0;
  unsigned long build = 0;
  unsigned servicePack = 0;
};

// The report, the clock and its verdict, measured as the speed test measures.
struct ReportResult {
  Rechnerdaten data;
  std::optional<WindowsVersion> version;
  std::int64_t hertz = 0;  // 0: not measured
  std::string clockText;   // e.g. "2,40 GHz"
  SpeedVerdict verdict;
};

ReportResult RunReport(Program& program) {
  ReportResult result{.data = program.Form3.CollectComputerData()};
  platform::OSVERSIONINFOEXA info;
  if (platform::GetVersionExA(info) != 0) {
    result.version = WindowsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber,
                                    info.wServicePackMajor};
  }
  std::int64_t frequency = 0;
  result.hertz = MeasureProcessorClock(kMeasurementSeconds, frequency).value_or(0);
  if (result.hertz > 0) {
    result.clockText = ClockText(result.hertz, platform::UserDecimalSeparator());
    result.verdict = JudgeSpeed(result.clockText);
  }
  return result;
}

// What went wrong with a folder that could not be searched, in a few words.
std::string ProblemText(const platform::SearchTrouble& trouble) {
  using platform::SearchProblem;
  std::string text;
  switch (trouble.problem) {
    case SearchProblem::None:
    case SearchProblem::RootMissing:
      text = "fehlt";
      break;
    case SearchProblem::RootNotFolder:
      text = "ist kein Ordner";
      break;
    case SearchProblem::RootUnreadable:
      text = "ist nicht lesbar";
      break;
    case SearchProblem::OutOfResources:
      text = "konnte mangels Systemmitteln nicht ganz durchsucht werden";
      break;
    case SearchProblem::PathTooLong:
      text = "hat einen zu langen Pfad";
      break;
  }
  if (trouble.systemError != 0) {
    text += " (" + Printable(platform::SystemErrorName(trouble.systemError)) + ")";
  }
  return text;
}

std::string FolderName(SearchRoot root) {
  return root == SearchRoot::ProgramFiles ? "Programmordner" : "Systemordner";
}

// Why a component could not be checked, short, for its line.
std::string UncheckedReason(const ComponentFinding& finding) {
  if (finding.folder.empty()) return FolderName(finding.root) + " unbekannt";
  return FolderName(finding.root) + " " + ProblemText(finding.trouble);
}

// The error line for an unchecked component: which folder could not be read, why, and where
// it came from when a setting decides it. The components' own lines say which they are.
std::string UncheckedMessage(const ComponentFinding& finding) {
  std::string text = "belvosta: nicht prüfbar: der " + FolderName(finding.root);
  if (finding.folder.empty()) {
    text += " ist unbekannt";
  } else {
    text += " \"" + Shown(finding.folder) + "\" " + ProblemText(finding.trouble);
  }
  const platform::PathPhrase origin = platform::SpecialFolderOrigin(FolderNumber(finding.root));
  if (!origin.empty()) {
    text += "; " + Printable(origin.before) + Shown(origin.path) + Printable(origin.after);
  }
  return text;
}

std::string StatusName(ComponentStatus status) {
  switch (status) {
    case ComponentStatus::Present:
      return "present";
    case ComponentStatus::Missing:
      return "missing";
    case ComponentStatus::Unchecked:
      break;
  }
  return "unchecked";
}

std::string CheckText(const std::vector<ComponentFinding>& findings, std::string_view nl) {
  std::string text;
  for (const ComponentFinding& finding : findings) {
    text += std::string(finding.name) + ": ";
    if (finding.status == ComponentStatus::Present) {
      text += "OK";
      if (!finding.found.empty()) text += " (" + Printable(finding.found) + ")";
    } else if (finding.status == ComponentStatus::Missing) {
      text += "fehlt (" + Printable(Joined(finding.missing, ", ")) + ")";
    } else {
      text += "nicht prüfbar (" + UncheckedReason(finding) + ")";
    }
    text += nl;
  }
  return text;
}

// The report's facts come from the system and its user: each made printable.
Rechnerdaten PrintableFacts(Rechnerdaten data) {
  for (std::string* fact : {&data.prozessor, &data.familie, &data.user, &data.computername,
                            &data.ipAddress, &data.operatingSystem, &data.servicePack}) {
    *fact = Printable(*fact);
  }
  return data;
}

std::string ReportText(const ReportResult& report, std::string_view nl) {
  std::string text = PrintableFacts(report.data).Text(nl);
  text += nl;
  if (report.hertz > 0) {
    // The clock's text holds the user's decimal separator, which comes from outside too.
    text += Printable(SpeedTextFor(report.clockText)) + std::string(nl);
    text += Printable(report.verdict.message) + std::string(nl);
  } else {
    text += "Prozessor Geschwindigkeit: nicht messbar" + std::string(nl);
  }
  return text;
}

nlohmann::ordered_json ComponentsJson(const std::vector<ComponentFinding>& findings) {
  nlohmann::ordered_json components = nlohmann::ordered_json::array();
  for (const ComponentFinding& finding : findings) {
    components.push_back(
        {{"name", finding.name},
         {"present", finding.present},
         {"missing_files", finding.missing},
         {"found_path", finding.found.empty() ? nlohmann::ordered_json(nullptr)
                                              : nlohmann::ordered_json(finding.found)},
         {"status", StatusName(finding.status)},
         {"reason", finding.status == ComponentStatus::Unchecked
                        ? nlohmann::ordered_json(UncheckedReason(finding))
                        : nlohmann::ordered_json(nullptr)}});
  }
  return components;
}

nlohmann::ordered_json ReportJson(const ReportResult& report, std::string_view nl) {
  const Rechnerdaten& d = report.data;
  return {{"processor", d.prozessor},
          {"family", d.familie},
          {"memory_mb", d.memoryMB},
          {"user", d.user},
          {"computer_name", d.computername},
          {"ip_address", d.ipAddress},
          {"operating_system", d.operatingSystem},
          {"service_pack", d.servicePack},
          {"text", d.Text(nl)},
          {"windows_version",
           report.version ? nlohmann::ordered_json{{"major", report.version->major},
                                                   {"minor", report.version->minor},
                                                   {"build", report.version->build},
                                                   {"service_pack", report.version->servicePack}}
                          : nlohmann::ordered_json(nullptr)}};
}

std::string JsonDocument(const std::optional<std::vector<ComponentFinding>>& findings,
                         const std::optional<ReportResult>& report, std::string_view nl) {
  nlohmann::ordered_json document = {{"schema_version", kJsonSchemaVersion},
                                     {"program", "Belvosta"},
                                     {"version", BELVOSTA_VERSION},
                                     {"components", nullptr},
                                     {"all_present", nullptr},
                                     {"report", nullptr},
                                     {"clock_hz", nullptr},
                                     {"clock_text", nullptr},
                                     {"verdict", nullptr}};
  if (findings) {
    document["components"] = ComponentsJson(*findings);
    document["all_present"] = std::all_of(findings->begin(), findings->end(),
                                          [](const ComponentFinding& f) { return f.present; });
  }
  if (report) {
    document["report"] = ReportJson(*report, nl);
    if (report->hertz > 0) {
      document["clock_hz"] = report->hertz;
      document["clock_text"] = report->clockText;
      document["verdict"] = {{"fast_enough", report->verdict.fastEnough},
                             {"text", report->verdict.message}};
    }
  }
  // Every letter beyond ASCII as \u escape, so that the document reads the same in any code
  // page; bytes that are not UTF-8 (a Linux file name) become U+FFFD instead of an error.
  return document.dump(2, ' ', true, nlohmann::ordered_json::error_handler_t::replace) +
         std::string(nl);
}

}  // namespace

CommandLineOptions ParseCommandLine(const std::vector<std::string>& arguments,
                                    bool windowsOptions) {
  CommandLineOptions options;
  for (const std::string& argument : arguments) {
    const std::string option = Normalized(argument, windowsOptions);
    if (option == "--help") {
      options.help = true;
    } else if (option == "--version") {
      options.version = true;
    } else if (option == "--check") {
      options.check = true;
    } else if (option == "--report") {
      options.report = true;
    } else if (option == "--json") {
      options.json = true;
    } else {
      options.error = "belvosta: unbekannte Option \"" + Shown(argument) +
                      "\" (belvosta --help zeigt die Optionen)";
      return options;
    }
  }
  if (options.json && !options.check && !options.report && !options.help && !options.version) {
    options.error = "belvosta: --json braucht --check oder --report";
  }
  return options;
}

int RunCommandLine(const CommandLineOptions& options, Program& program,
                   platform::Console& console) {
  const std::string nl(console.LineEnd());
  if (!options.error.empty()) {
    // A usage error comes first, also when its message is lost.
    (void)console.WriteError(options.error + nl);
    return kExitUsage;
  }
  // An answer that did not get out is no answer: the status says so, and stderr, if it can.
  const auto answered = [&](bool written, int status) {
    if (written) return status;
    (void)console.WriteError("belvosta: die Ausgabe konnte nicht vollständig geschrieben werden" +
                             nl);
    return kExitNotChecked;
  };
  if (options.help) {
    std::string usage;
    for (std::string line : kUsage) {
      if (const std::size_t mark = line.find(kComponentCountMark); mark != std::string::npos) {
        line.replace(mark, kComponentCountMark.size(), kCountWords[kComponentCount]);
      }
      usage += line + nl;
    }
    return answered(console.WriteText(usage), kExitOk);
  }
  if (options.version)
    return answered(console.WriteText("Belvosta " BELVOSTA_VERSION + nl), kExitOk);

  std::optional<std::vector<ComponentFinding>> findings;
  if (options.check) findings = FindAllComponents(ShellFolders());
  std::optional<ReportResult> report;
  if (options.report) report = RunReport(program);

  const auto any = [&findings](ComponentStatus status) {
    return findings &&
           std::any_of(findings->begin(), findings->end(),
                       [status](const ComponentFinding& f) { return f.status == status; });
  };
  bool written = true;
  if (findings) {
    // One line for each folder and reason, however many components it left unchecked.
    std::vector<std::string> messages;
    for (const ComponentFinding& finding : *findings) {
      if (finding.status != ComponentStatus::Unchecked) continue;
      std::string message = UncheckedMessage(finding) + nl;
      if (std::find(messages.begin(), messages.end(), message) == messages.end()) {
        written = console.WriteError(message) && written;
        messages.push_back(std::move(message));
      }
    }
  }
  if (options.json) {
    written = console.WriteUtf8(JsonDocument(findings, report, nl)) && written;
  } else {
    std::string text;
    if (findings) text += CheckText(*findings, nl);
    if (findings && report) text += nl;
    if (report) text += ReportText(*report, nl);
    written = console.WriteText(text) && written;
  }
  const int status = any(ComponentStatus::Unchecked) ? kExitNotChecked
                     : any(ComponentStatus::Missing) ? kExitComponentMissing
                                                     : kExitOk;
  return answered(written, status);
}

std::optional<int> CommandLineMode(int argc, char** argv) {
  const std::vector<std::string> arguments = platform::CommandLineArguments(argc, argv);
  if (arguments.empty()) return std::nullopt;
  // The console first: on POSIX systems it claims the numbers of closed standard streams
  // before anything the system part opens could take them.
  const auto console = platform::OpenConsole();
  const auto system = platform::InstallSystemOnly();
  Program program;
  return RunCommandLine(ParseCommandLine(arguments, console->WindowsOptions()), program, *console);
}

}  // namespace belvosta
