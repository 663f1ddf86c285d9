#include "app/command_line.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>

#include "app/program.h"
#include "app/version.h"
#include "checks/component_search.h"
#include "computer/module1.h"
#include "computer/speed_verdict.h"
#include "folders/special_folders.h"
#include "platform/kernel32.h"
#include "platform/native.h"

namespace belvosta {
namespace {

// The schema of the JSON document; raised when a key changes meaning or goes away.
constexpr int kJsonSchemaVersion = 1;

// The speed test's measuring window, as Form3 measures.
constexpr double kMeasurementSeconds = 1.0;

const char* const kUsage[] = {
    "Belvosta " BELVOSTA_VERSION ": prüft, ob dieser PC für Dorvane bereit ist.",
    "",
    "Aufruf: belvosta [--check] [--report] [--json]",
    "        belvosta --help | --version",
    "Ohne Optionen öffnet Belvosta sein Fenster.",
    "",
    "  --check    prüft die fünf Komponenten ohne Fenster; je Komponente eine Zeile:",
    "             Name, \"OK\" oder \"fehlt\", die fehlenden Dateien, beim Flash Player",
    "             der Fundort. Jede Komponente wird geprüft, nichts wird geöffnet.",
    "  --report   gibt die Rechnerdaten aus, dazu die gemessene Prozessor-Geschwindigkeit",
    "             und das Urteil.",
    "  --json     gibt das Ergebnis von --check und/oder --report als ein JSON-Dokument aus.",
    "  --help     zeigt diese Hilfe.",
    "  --version  zeigt die Version.",
    "",
    "Unter Windows gelten die Optionen auch mit / (/check, /report, /json, /?).",
    "",
    "Rückgabewert: 0 alles vorhanden (oder kein --check), 1 eine Komponente fehlt,",
    "2 unbekannte Option.",
};

// Windows writes options with a slash and in any case: "/Check" is "--check".
std::string Normalized(std::string argument, bool windowsOptions) {
  if (!windowsOptions) return argument;
  std::transform(argument.begin(), argument.end(), argument.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  if (argument == "/?") return "--help";
  if (argument.size() > 1 && argument[0] == '/') return "--" + argument.substr(1);
  return argument;
}

// A path or name on one line: control characters (a line break in a folder name) would
// split the line, so they show as "?".
std::string OneLine(std::string text) {
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return text;
}

std::string Joined(const std::vector<std::string>& items, std::string_view separator) {
  std::string text;
  for (const std::string& item : items) {
    if (!text.empty()) text += separator;
    text += item;
  }
  return text;
}

// The two folders the checks search below, each resolved once, as FormS resolves them.
RootFolder ShellFolders() {
  auto resolved = std::make_shared<std::map<SearchRoot, std::string>>();
  return [resolved](SearchRoot root) {
    auto it = resolved->find(root);
    if (it == resolved->end()) {
      const int folder =
          root == SearchRoot::ProgramFiles ? platform::kCsidlProgramFiles : platform::kCsidlSystem;
      it = resolved->emplace(root, ErmittleSpezialordner(0, folder)).first;
    }
    return it->second;
  };
}

// The report, the clock and its verdict, measured as the speed test measures.
struct ReportResult {
  Rechnerdaten data;
  std::int64_t hertz = 0;  // 0: not measured
  std::string clockText;   // e.g. "2,40 GHz"
  SpeedVerdict verdict;
};

ReportResult RunReport(Program& program) {
  ReportResult result{.data = program.Form3.CollectComputerData()};
  std::int64_t frequenz = 0;
  result.hertz = MeasureProcessorClock(kMeasurementSeconds, frequenz).value_or(0);
  if (result.hertz > 0) {
    result.clockText = ClockText(result.hertz, platform::UserDecimalSeparator());
    result.verdict = JudgeSpeed(result.clockText);
  }
  return result;
}

std::string CheckText(const std::vector<ComponentFinding>& findings, std::string_view nl) {
  std::string text;
  for (const ComponentFinding& finding : findings) {
    text += std::string(finding.name) + ": " + (finding.present ? "OK" : "fehlt");
    if (!finding.present) {
      text += " (" + Joined(finding.missing, ", ") + ")";
    } else if (!finding.found.empty()) {
      text += " (" + OneLine(finding.found) + ")";
    }
    text += nl;
  }
  return text;
}

std::string ReportText(const ReportResult& report, std::string_view nl) {
  std::string text = report.data.Text(nl);
  text += nl;
  if (report.hertz > 0) {
    text += SpeedTextFor(report.clockText) + std::string(nl);
    text += report.verdict.message + std::string(nl);
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
                                              : nlohmann::ordered_json(finding.found)}});
  }
  return components;
}

nlohmann::ordered_json ReportJson(const ReportResult& report, std::string_view nl) {
  const Rechnerdaten& d = report.data;
  return {{"processor", d.prozessor},
          {"family", d.familie},
          {"memory_mb", d.arbeitsspeicherMB},
          {"user", d.user},
          {"computer_name", d.computername},
          {"ip_address", d.ipAdresse},
          {"operating_system", d.betriebssystem},
          {"service_pack", d.servicePack},
          {"text", d.Text(nl)}};
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
      options.error = "belvosta: unbekannte Option \"" + OneLine(argument) +
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
    console.WriteError(options.error + nl);
    return kExitUsage;
  }
  if (options.help) {
    std::string usage;
    for (const char* line : kUsage) usage += line + nl;
    console.WriteText(usage);
    return kExitOk;
  }
  if (options.version) {
    console.WriteText("Belvosta " BELVOSTA_VERSION + nl);
    return kExitOk;
  }

  std::optional<std::vector<ComponentFinding>> findings;
  if (options.check) findings = FindAllComponents(ShellFolders());
  std::optional<ReportResult> report;
  if (options.report) report = RunReport(program);

  if (options.json) {
    console.WriteUtf8(JsonDocument(findings, report, nl));
  } else {
    std::string text;
    if (findings) text += CheckText(*findings, nl);
    if (findings && report) text += nl;
    if (report) text += ReportText(*report, nl);
    console.WriteText(text);
  }
  const bool missing =
      findings && std::any_of(findings->begin(), findings->end(),
                              [](const ComponentFinding& f) { return !f.present; });
  return missing ? kExitComponentMissing : kExitOk;
}

std::optional<int> CommandLineMode(int argc, char** argv) {
  const std::vector<std::string> arguments = platform::CommandLineArguments(argc, argv);
  if (arguments.empty()) return std::nullopt;
  const auto system = platform::InstallSystemOnly();
  const auto console = platform::OpenConsole();
  Program program;
  return RunCommandLine(ParseCommandLine(arguments, console->WindowsOptions()), program, *console);
}

}  // namespace belvosta
