#include "platform/win32/windows_api.h"

#include <winsock2.h>

#include "platform/win32/system_backend.h"
#include "platform/win32/system_calls.h"
#include "platform/win32/utf8.h"

#include <string>

namespace platform::win32 {
namespace {

// Lists longer than this are cut; a host has a handful of names and addresses.
constexpr std::size_t kMaxListEntries = 64;
// The longest address a host entry may carry (IPv6).
constexpr int kMaxAddressLength = 16;

// The name in the system's ANSI code page, as gethostbyname wants it, or nothing when the
// code page cannot spell it: a near spelling would look up another host.
std::optional<std::string> AnsiName(std::string_view utf8) {
  if (utf8.find('\0') != std::string_view::npos) return std::nullopt;
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return std::string();
  BOOL lossy = FALSE;
  const int length =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                          nullptr, 0, nullptr, &lossy);
  if (length <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()),
                      ansi.data(), length, nullptr, &lossy);
  return ansi;
}

std::string FromAnsi(const char* text) {
  if (!text) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return Narrow(wide);
}

}  // namespace

int Win32Backend::SocketsStartup(std::uint16_t version, WSADATA& data) {
  ::WSADATA native{};
  const int result = systemCalls.WSAStartup(version, &native);
  data.wVersion = native.wVersion;
  data.wHighVersion = native.wHighVersion;
  return result;
}

int Win32Backend::SocketsCleanup() {
  return ::WSACleanup();
}

std::optional<HOSTENT> Win32Backend::HostByName(std::string_view name) {
  const std::optional<std::string> ansi = AnsiName(name);
  if (!ansi) return std::nullopt;
  const hostent* entry = systemCalls.gethostbyname(ansi->c_str());
  if (!entry) return std::nullopt;

  // Every list ends at its first null entry; a missing list counts as empty.
  HOSTENT host;
  host.h_name = FromAnsi(entry->h_name);
  if (entry->h_aliases) {
    for (std::size_t i = 0; i < kMaxListEntries && entry->h_aliases[i]; ++i) {
      host.h_aliases.push_back(FromAnsi(entry->h_aliases[i]));
    }
  }
  host.h_addrtype = entry->h_addrtype;
  host.h_length = entry->h_length;
  if (entry->h_addr_list && entry->h_length > 0 && entry->h_length <= kMaxAddressLength) {
    for (std::size_t i = 0; i < kMaxListEntries && entry->h_addr_list[i]; ++i) {
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(entry->h_addr_list[i]);
      host.h_addr_list.emplace_back(bytes, bytes + entry->h_length);
    }
  }
  return host;
}

}  // namespace platform::win32
