// Windows sockets: start-up and host name resolution.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/operations.h"

namespace platform {

struct WSADATA {
  std::uint16_t wVersion = 0;
  std::uint16_t wHighVersion = 0;
};

// A host entry as the resolver gives it; every address is h_length bytes long.
struct HOSTENT {
  std::string h_name;
  std::vector<std::string> h_aliases;
  std::int16_t h_addrtype = 2;  // AF_INET
  std::int16_t h_length = 4;
  std::vector<std::vector<std::uint8_t>> h_addr_list;
};

inline constexpr int kWsaSysNotReady = 10091;  // WSASYSNOTREADY
inline constexpr int kSocketError = -1;

// The operations themselves, described in operations.h.
BELVOSTA_WSOCK32_OPERATIONS(BELVOSTA_DECLARE_FUNCTION, BELVOSTA_NO_FUNCTION)

}  // namespace platform
