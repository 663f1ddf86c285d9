// Windows sockets: start-up and host name resolution.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct WSADATA {
  std::uint16_t wVersion = 0;
  std::uint16_t wHighVersion = 0;
};

// 0 on success.
int WSAStartup(std::uint16_t versionRequested, WSADATA& data);
int WSACleanup();

// A host entry as the resolver gives it; every address is h_length bytes long.
struct HOSTENT {
  std::string h_name;
  std::vector<std::string> h_aliases;
  std::int16_t h_addrtype = 2;  // AF_INET
  std::int16_t h_length = 4;
  std::vector<std::vector<std::uint8_t>> h_addr_list;
};

// The IPv4 host entry of a name, or nothing when the name does not resolve.
std::optional<HOSTENT> gethostbyname(std::string_view name);

}  // namespace platform
