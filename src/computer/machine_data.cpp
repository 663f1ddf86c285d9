// Memory, computer name and network address of the machine, for the report.
#include <cmath>
#include <vector>

#include "computer/form3.h"
#include "platform/kernel32.h"
#include "platform/wsock32.h"

namespace belvosta {

// The wide query, so that memory of 4 GB and more is reported in full.
std::int64_t Form3::Arbeitsspeicher() {
  platform::MEMORYSTATUSEX status;
  if (platform::GlobalMemoryStatusEx(status) == 0) return 0;
  return std::llround(static_cast<double>(status.ullTotalPhys) / 1048576.0);
}

// Room for Windows' NetBIOS names (15 letters); a longer name (a Linux host name, up to 64
// bytes) is asked for again with the room the first answer says it needs, up to this much.
constexpr std::size_t kNameBuffer = 16;
constexpr std::size_t kLongestHostName = 256;

void Form3::ComputerUsernamenErmitteln(std::string& computername) {
  std::vector<char> buffer(kNameBuffer, ' ');
  unsigned long size = buffer.size();
  int answer = platform::GetComputerNameA(buffer, size);
  if (answer != 1 && size > buffer.size() && size <= kLongestHostName) {
    buffer.assign(size, ' ');
    answer = platform::GetComputerNameA(buffer, size);
  }
  if (answer != 1) {
    computername = "(unknown)";
    return;
  }
  const std::string_view name(buffer.data(), buffer.size());
  computername = std::string(name.substr(0, name.find('\0')));
}

std::string Form3::GetIP(std::string& computername) {
  platform::WSADATA data;
  platform::WSAStartup(0x0101, data);
  std::string address = ErmittleIPAdresse(computername, 0);
  platform::WSACleanup();
  return address;
}

std::string Form3::ErmittleIPAdresse(const std::string& computername, std::int16_t index) {
  // No host entry, no address at that position, or an entry whose address is shorter than
  // it claims: the empty text, never a read past what the resolver gave.
  const auto host = platform::gethostbyname(computername);
  if (!host || index < 0) return {};
  const auto position = static_cast<std::size_t>(index);
  if (position >= host->h_addr_list.size()) return {};
  const std::vector<std::uint8_t>& bytes = host->h_addr_list[position];
  if (host->h_length <= 0 || bytes.size() < static_cast<std::size_t>(host->h_length)) return {};

  std::string text;
  for (std::size_t i = 0; i < static_cast<std::size_t>(host->h_length); ++i) {
    if (i > 0) text += '.';
    text += std::to_string(bytes[i]);
  }
  return text;
}

}  // namespace belvosta
