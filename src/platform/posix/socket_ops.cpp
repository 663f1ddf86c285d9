// wsock32: the host's name and addresses, from the resolver.
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <vector>

#include "platform/posix/system_backend.h"
#include "platform/posix/system_calls.h"

namespace platform::posix {

int PosixBackend::SocketsStartup(std::uint16_t version, WSADATA& data) {
  data.wVersion = std::min<std::uint16_t>(version, 0x0202);
  data.wHighVersion = 0x0202;
  return 0;
}

int PosixBackend::SocketsCleanup() {
  return 0;
}

std::optional<HOSTENT> PosixBackend::HostByName(std::string_view name) {
  const std::string host(name);
  if (host.empty() || host.find('\0') != std::string::npos) return std::nullopt;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;  // one result per address, not one per socket type
  hints.ai_flags = AI_CANONNAME;
  addrinfo* results = nullptr;
  if (systemCalls.getaddrinfo(host.c_str(), nullptr, &hints, &results) != 0 || results == nullptr) {
    return std::nullopt;
  }
  HOSTENT entry;
  entry.h_name = results->ai_canonname != nullptr ? results->ai_canonname : host;
  for (const addrinfo* it = results; it != nullptr; it = it->ai_next) {
    if (it->ai_family != AF_INET || it->ai_addrlen < sizeof(sockaddr_in)) continue;
    const auto* address = reinterpret_cast<const sockaddr_in*>(it->ai_addr);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&address->sin_addr.s_addr);
    std::vector<std::uint8_t> octets(bytes, bytes + 4);
    if (std::find(entry.h_addr_list.begin(), entry.h_addr_list.end(), octets) ==
        entry.h_addr_list.end()) {
      entry.h_addr_list.push_back(std::move(octets));
    }
  }
  systemCalls.freeaddrinfo(results);
  if (entry.h_addr_list.empty()) return std::nullopt;
  return entry;
}

}  // namespace platform::posix
