// The report's JSON document with hostile facts: the names, the registry's processor and
// service-pack texts, the version record, the memory, the address entry and the clock come
// from the fuzz data (any bytes, any length). Whatever they are, the document parses back,
// every text fact reads back as the program collected it (bytes that are not UTF-8 as
// U+FFFD), the numbers are the numbers, and the plain-text report prints safely.
#include <fuzzer/FuzzedDataProvider.h>

#include <nlohmann/json.hpp>
#include <string>

#include "app/command_line.h"
#include "app/program.h"
#include "behaviour/recording_console.h"
#include "fake/fixture.h"
#include "fuzz/fuzz_checks.h"

namespace {

using command_line_test::RecordingConsole;

std::optional<std::string> MaybeText(FuzzedDataProvider& provider, std::size_t longest) {
  if (provider.ConsumeIntegralInRange(0, 7) == 0) return std::nullopt;
  return provider.ConsumeRandomLengthString(longest);
}

// The facts the fuzz data makes up.
void MakeUpMachine(FuzzedDataProvider& provider, fake::FakeSystem& system) {
  system.computerName = MaybeText(provider, 300);
  system.userName = MaybeText(provider, 300);
  auto& processor = system.registry["HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"];
  for (int i = provider.ConsumeIntegralInRange(0, 4); i > 0; --i) {
    std::string name = provider.PickValueInArray<std::string>(
        {"Identifier", "ProcessorNameString", "identifier ", "VendorIdentifier"});
    processor.values.emplace_back(std::move(name), provider.ConsumeRandomLengthString(300));
  }
  system.registry["SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"].values.emplace_back(
      "CSDVersion", provider.ConsumeRandomLengthString(300));
  system.version.platformId = provider.ConsumeIntegralInRange(0, 3);
  system.version.major = provider.ConsumeIntegral<std::uint32_t>();
  system.version.minor = provider.ConsumeIntegral<std::uint32_t>();
  system.version.build = provider.ConsumeIntegral<std::uint32_t>();
  system.version.csd = provider.ConsumeRandomLengthString(200);
  system.version.suiteMask = provider.ConsumeIntegral<std::uint16_t>();
  system.totalPhysicalBytes = provider.ConsumeIntegral<std::uint64_t>();
  system.memoryQuerySucceeds = provider.ConsumeBool();
  if (system.computerName) {
    platform::HOSTENT host;
    host.h_length = provider.ConsumeIntegralInRange<std::int16_t>(-2, 20);
    for (int i = provider.ConsumeIntegralInRange(0, 3); i > 0; --i) {
      const std::string bytes = provider.ConsumeRandomLengthString(20);
      host.h_addr_list.emplace_back(bytes.begin(), bytes.end());
    }
    system.hosts[*system.computerName] = host;
  }
  system.decimalSeparator = provider.ConsumeRandomLengthString(8);
  system.tscHz = provider.ConsumeIntegralInRange<std::uint64_t>(0, 100'000'000'000ull);
}

// A text fact as the document must give it back.
void RequireReadsBack(const nlohmann::json& field, const std::string& collected) {
  fuzz::Require(field.is_string(), "a text fact is a string");
  const std::string& text = field.get_ref<const std::string&>();
  if (fuzz::IsUtf8(collected)) {
    fuzz::Require(text == collected, "a UTF-8 fact reads back unchanged");
  } else {
    fuzz::Require(fuzz::IsUtf8(text) && text.find("\xEF\xBF\xBD") != std::string::npos,
                  "bytes that are not UTF-8 read back as U+FFFD");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  fake::FakePlatform fake;
  MakeUpMachine(provider, fake.system);
  belvosta::Program program;

  RecordingConsole json;
  belvosta::RunCommandLine(belvosta::ParseCommandLine({"--report", "--json"}, false), program,
                           json);
  const auto document = nlohmann::json::parse(json.utf8Bytes, nullptr, false);
  fuzz::Require(!document.is_discarded(), "the document parses");
  fuzz::Require(json.text.empty(), "the document goes out only as UTF-8");
  fuzz::Require(fuzz::IsUtf8(json.utf8Bytes), "the document is UTF-8");

  // The same facts again, straight from the report's own collection.
  const belvosta::Rechnerdaten facts = program.Form3.CollectComputerData();
  const nlohmann::json& report = document.at("report");
  RequireReadsBack(report.at("processor"), facts.prozessor);
  RequireReadsBack(report.at("family"), facts.familie);
  RequireReadsBack(report.at("user"), facts.user);
  RequireReadsBack(report.at("computer_name"), facts.computername);
  RequireReadsBack(report.at("ip_address"), facts.ipAddress);
  RequireReadsBack(report.at("operating_system"), facts.operatingSystem);
  RequireReadsBack(report.at("service_pack"), facts.servicePack);
  RequireReadsBack(report.at("text"), facts.Text("\n"));
  fuzz::Require(report.at("memory_mb") == facts.memoryMB, "the memory reads back");
  const nlohmann::json& version = report.at("windows_version");
  fuzz::Require(version.is_null() || (version.at("major") == fake.system.version.major &&
                                      version.at("minor") == fake.system.version.minor &&
                                      version.at("build") == fake.system.version.build),
                "the version numbers read back");
  if (!document.at("clock_hz").is_null()) {
    fuzz::Require(document.at("clock_hz").get<std::int64_t>() > 0, "a measured clock is > 0");
    fuzz::Require(document.at("clock_text").is_string() && document.at("verdict").is_object(),
                  "a measured clock has its text and verdict");
  }

  RecordingConsole text;
  belvosta::RunCommandLine(belvosta::ParseCommandLine({"--report"}, false), program, text);
  fuzz::Require(fuzz::IsTerminalSafe(text.text, "\n\t"), "the text report prints safely");
  fuzz::Require(fuzz::IsTerminalSafe(text.error, "\n"), "the errors print safely");
  return 0;
}
