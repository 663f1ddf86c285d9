// The report "Rechnerdaten auslesen": processor, memory, user, computer name, address,
// Windows version and service pack in one message box.
#include <algorithm>
#include <array>

#include "computer/form3.h"
#include "platform/advapi32.h"
#include "ui/forms.h"

namespace belvosta {
namespace {

constexpr std::size_t kIpFieldWidth = 15;

// The logged-on user; the returned length counts the terminating NUL.
std::string LoggedOnUser() {
  std::array<char, 255> buffer;
  buffer.fill(' ');
  unsigned long size = buffer.size();
  if (platform::GetUserNameA(buffer, size) == 0) return "nicht ermittelbar";
  const std::size_t length = std::min<std::size_t>(size > 0 ? size - 1 : 0, buffer.size());
  return std::string(buffer.data(), length);
}

// Left-aligned in exactly 15 characters: filled with blanks or cut.
std::string IPFeld(std::string address) {
  address.resize(kIpFieldWidth, ' ');
  return address;
}

}  // namespace

Rechnerdaten Form3::CollectComputerData() {
  Rechnerdaten data;
  data.user = LoggedOnUser();
  Prozessordaten(data.prozessor, data.familie);
  data.memoryMB = Arbeitsspeicher();
  ComputerUsernamenErmitteln(data.computername);
  data.ipAddress = GetIP(data.computername);
  data.operatingSystem = ErmittleWVers();
  data.servicePack = ErmittleSP();
  return data;
}

std::string Rechnerdaten::Text(std::string_view lineEnd) const {
  const std::string lines[] = {prozessor,
                               familie,
                               "",
                               "Arbeitsspeicher: \t\t" + std::to_string(memoryMB) + " MB",
                               "Angemeldeter User: \t" + user,
                               "Computername: \t\t" + computername,
                               "IP-Adresse: \t\t" + IPFeld(ipAddress),
                               "Betriebssystem: \t\t" + operatingSystem,
                               "Service-Pack: \t\t" + servicePack};
  std::string text;
  for (const std::string& line : lines) {
    if (&line != &lines[0]) text += lineEnd;
    text += line;
  }
  return text;
}

void Form3::cmdProzessordatenAuslesen_Click() {
  ui::MsgBox(CollectComputerData().Text("\r\n"), ui::vbOKOnly, "Rechnerdaten auslesen");
}

}  // namespace belvosta
