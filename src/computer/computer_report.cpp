// The report "Rechnerdaten auslesen": processor, memory, user, computer name, address,
// Windows version and service pack in one message box.
#include <algorithm>
#include <array>

#include "computer/form3.h"
#include "platform/advapi32.h"
#include "platform/forms.h"

namespace belvosta {
namespace {

constexpr std::size_t kIPFeldBreite = 15;

// The logged-on user; the returned length counts the terminating NUL.
std::string AngemeldeterUser() {
  std::array<char, 255> buffer;
  buffer.fill(' ');
  unsigned long size = buffer.size();
  if (platform::GetUserNameA(buffer, size) == 0) return "nicht ermittelbar";
  const std::size_t laenge = std::min<std::size_t>(size > 0 ? size - 1 : 0, buffer.size());
  return std::string(buffer.data(), laenge);
}

// Left-aligned in exactly 15 characters: filled with blanks or cut.
std::string IPFeld(std::string adresse) {
  adresse.resize(kIPFeldBreite, ' ');
  return adresse;
}

}  // namespace

void Form3::cmdProzessordatenAuslesen_Click() {
  const std::string user = AngemeldeterUser();
  std::string prozessor;
  std::string familie;
  Prozessordaten(prozessor, familie);
  const std::int64_t speicher = Arbeitsspeicher();
  std::string computername;
  ComputerUsernamenErmitteln(computername);
  const std::string ipFeld = IPFeld(GetIP(computername));
  const std::string system = ErmittleWVers();
  const std::string servicePack = ErmittleSP();

  const std::string text =
      prozessor + "\r\n" + familie + "\r\n" + "\r\n" + "Arbeitsspeicher: \t\t" +
      std::to_string(speicher) + " MB\r\n" + "Angemeldeter User: \t" + user + "\r\n" +
      "Computername: \t\t" + computername + "\r\n" + "IP-Adresse: \t\t" + ipFeld + "\r\n" +
      "Betriebssystem: \t\t" + system + "\r\n" + "Service-Pack: \t\t" + servicePack;
  platform::MsgBox(text, platform::vbOKOnly, "Rechnerdaten auslesen");
}

}  // namespace belvosta
