// The computer data report: its text byte for byte, the version cache, and what a machine
// that answers nothing, or answers badly, gives.
#include <gtest/gtest.h>

#include "fake/fixture.h"

namespace {

constexpr const char* kProcessorKey = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\";
constexpr const char* kVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

platform::HOSTENT Host(std::vector<std::vector<std::uint8_t>> addresses) {
  platform::HOSTENT host;
  host.h_addr_list = std::move(addresses);
  return host;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class ComputerReport : public fake::ProgramTest {
 protected:
  ComputerReport() { fake.system.performanceCounterWorks = false; }  // no verdict box

  belvosta::Form3& form3() { return program->Form3; }

  // Loading the window runs the report; its box is the last one.
  const fake::RecordedBox& LoadAndReport() {
    form3().EnsureLoaded();
    return fake.ui.boxes.back();
  }
};

TEST_F(ComputerReport, FullMachineGivesEveryLineWithItsTabs) {
  fake.system.userName = "Anna";
  fake.system.computerName = "WERKSTATT-PC";
  fake.system.totalPhysicalBytes = 16ull << 30;
  fake.system.registry[kProcessorKey].values = {
      {"Identifier", "x86 Family 6 Model 15 Stepping 6"},
      {"VendorIdentifier", "GenuineIntel"},
      {"ProcessorNameString", "      Intel(R) Core(TM)2 CPU 6600  @ 2.40GHz"}};
  fake.system.registry[kVersionKey].values = {{"CSDVersion", "Service Pack 2"},
                                              {"CurrentBuildNumber", "2600"}};
  fake.system.hosts["werkstatt-pc"] = Host({{10, 0, 0, 1}, {192, 168, 1, 20}});
  fake.system.version.suiteMask = platform::kVerSuitePersonal;  // XP, personal edition

  const fake::RecordedBox& box = LoadAndReport();

  EXPECT_EQ(box.title, "Rechnerdaten auslesen");
  EXPECT_EQ(box.style, ui::vbOKOnly);
  EXPECT_EQ(box.text,
            "Intel(R) Core(TM)2 CPU 6600  @ 2.40GHz\r\n"
            "x86 Family 6 Model 15 Stepping 6\r\n"
            "\r\n"
            "Arbeitsspeicher: \t\t16384 MB\r\n"
            "Angemeldeter User: \tAnna\r\n"
            "Computername: \t\tWERKSTATT-PC\r\n"
            "IP-Adresse: \t\t10.0.0.1       \r\n"
            "Betriebssystem: \t\tWindows XP Home Edition\r\n"
            "Service-Pack: \t\tService Pack 2");
  EXPECT_EQ(fake.system.socketCleanups, 1);
  EXPECT_EQ(fake.system.keysOpen, 0);
}

// A failing version query is reported and asked again at the next report; once answered,
// the version is asked once per window object, across reloads.
TEST_F(ComputerReport, VersionIsAskedUntilItIsKnownThenOncePerWindowObject) {
  fake.system.plainVersionQuerySucceeds = false;
  LoadAndReport();
  fake.system.plainVersionQuerySucceeds = true;
  fake.system.version.suiteMask = platform::kVerSuitePersonal;
  form3().Label1.RaiseClick();
  fake.system.version.suiteMask = 0;  // a new query would now say "professional"
  form3().Command1.RaiseClick();      // EXIT
  LoadAndReport();

  ASSERT_EQ(fake.ui.boxes.size(), 4u);
  EXPECT_EQ(fake.ui.boxes[0].text,
            "Das Betriebssystem konnte nicht korrekt erkannt werden:\r\nFehler im API-Aufruf");
  EXPECT_EQ(fake.ui.boxes[0].title, "Belvosta ");
  // Nothing is known about the system, so no name is claimed for it.
  EXPECT_TRUE(Contains(fake.ui.boxes[1].text, "\t*unknown*\r\n"));
  EXPECT_TRUE(Contains(fake.ui.boxes[2].text, "\tWindows XP Home Edition\r\n"));
  EXPECT_TRUE(Contains(fake.ui.boxes[3].text, "\tWindows XP Home Edition\r\n"));
  EXPECT_EQ(fake.system.versionQueries, 3);  // the failed plain record; plain, then extended
}

TEST_F(ComputerReport, VersionTableNamesEachKnownSystem) {
  struct Case {
    unsigned long platformId, major, minor;
    std::uint16_t suite;
    const char* name;
  };
  const Case cases[] = {{0, 1, 5, 0, "Windows 32s"},
                        {1, 4, 0, 0, "Windows 95"},
                        {1, 4, 10, 0, "Windows 98"},
                        {1, 4, 90, 0, "Windows ME"},
                        {1, 4, 3, 0, "*unknown*"},
                        {2, 3, 51, 0, "Windows NT 3"},
                        {2, 4, 0, 0, "Windows NT 4"},
                        {2, 5, 0, 0, "Windows 2000"},
                        {2, 5, 2, 0, "Windows 2003"},
                        {2, 5, 3, 0, "*unknown*"},
                        {3, 5, 1, 0, "*unknown*"},
                        {2, 5, 1, 0, "Windows XP professional"},
                        {2, 5, 1, 0x0200, "Windows XP Home Edition"}};
  for (const Case& c : cases) {
    fake.system.version = {c.platformId, c.major, c.minor, 0, "", c.suite};
    form3().OSVersionErmittelt = false;
    EXPECT_EQ(form3().ErmittleWVers(), c.name) << c.platformId << " " << c.major << "." << c.minor;
  }
}

TEST_F(ComputerReport, FailingAnswersStillReportAndNeverReadPastABuffer) {
  // A value too long for the buffers comes back as "more data" with nothing written; the
  // values after it are still examined.
  fake.system.registry[kProcessorKey].values = {{"ProcessorNameString", std::string(300, 'x')},
                                                {"Identifier", "   x86 Family 15   "}};
  // A key that fails at every index ends at once instead of being asked for ever.
  fake.system.registry[kVersionKey].errorAlways = 5;
  // Names and memory the machine cannot give leave their fields for what is known.
  fake.system.userName.reset();
  fake.system.computerName.reset();
  fake.system.memoryQuerySucceeds = false;

  const std::string text = LoadAndReport().text;

  EXPECT_EQ(text.substr(0, text.find("Arbeitsspeicher")), "\r\nx86 Family 15\r\n\r\n");
  EXPECT_TRUE(Contains(text,
                       "Arbeitsspeicher: \t\t0 MB\r\nAngemeldeter User: \tnicht ermittelbar\r\n"
                       "Computername: \t\t(unknown)\r\nIP-Adresse: \t\t               \r\n"));
  EXPECT_TRUE(text.ends_with("Service-Pack: \t\t"));
  EXPECT_EQ(fake.system.valueEnumerations, 3 + 1);
  EXPECT_EQ(fake.system.keysOpen, 0);

  // An error in the middle ends the enumeration there.
  fake.system.registry[kVersionKey] = {.values = {{"Build", "1"}, {"CSDVersion", "SP3"}},
                                       .errorAtIndex = {{1, 21}},
                                       .errorAlways = {}};
  EXPECT_EQ(form3().ErmittleSP(), "");
}

TEST_F(ComputerReport, NameAndAddressFillTheirFieldsWithoutReadingPastAHostEntry) {
  fake.system.computerName = "ABCDEFGHIJKLMNO";  // 15 characters: the buffer's limit
  fake.system.hosts["abcdefghijklmno"] = Host({{192, 168, 100, 200}, {172, 16, 0, 9}});
  fake.system.hosts["none"] = Host({});
  fake.system.hosts["short"] = Host({{10, 0}});  // shorter than the entry's address length

  EXPECT_TRUE(
      Contains(LoadAndReport().text, "\tABCDEFGHIJKLMNO\r\nIP-Adresse: \t\t192.168.100.200\r\n"));
  EXPECT_EQ(form3().ErmittleIPAdresse("abcdefghijklmno", 1), "172.16.0.9");
  EXPECT_EQ(form3().ErmittleIPAdresse("abcdefghijklmno", 2), "");
  EXPECT_EQ(form3().ErmittleIPAdresse("abcdefghijklmno", -1), "");
  EXPECT_EQ(form3().ErmittleIPAdresse("none", 0), "");
  EXPECT_EQ(form3().ErmittleIPAdresse("short", 0), "");
}

}  // namespace
