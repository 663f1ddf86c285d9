// advapi32: the user's name and the registry, from the mapping (windows_mapping.h).
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/buffer_rules.h"
#include "platform/posix/system_backend.h"
#include "platform/posix/system_calls.h"

namespace platform::posix {

int PosixBackend::UserName(std::span<char> buffer, unsigned long& size) {
  std::vector<char> scratch(1024);
  passwd entry{};
  passwd* result = nullptr;
  int error = 0;
  while ((error = systemCalls.getpwuid_r(geteuid(), &entry, scratch.data(), scratch.size(),
                                         &result)) == ERANGE &&
         scratch.size() < (1u << 20)) {
    scratch.resize(scratch.size() * 2);
  }
  if (error != 0 || result == nullptr || result->pw_name == nullptr) return 0;
  return CopyUserName(result->pw_name, buffer, size);
}

long PosixBackend::OpenKey(HKEY key, std::string_view subKey, HKEY& result) {
  if (key != kHkeyLocalMachine) return kErrorInvalidHandle;
  std::optional<std::vector<RegistryValue>> values = ReadRegistryKey(host_, subKey);
  if (!values) return kErrorFileNotFound;
  result = nextKey_++;
  openKeys_[result] = std::move(*values);
  return kErrorSuccess;
}

long PosixBackend::EnumValue(HKEY key, unsigned long index, std::span<char> name,
                             unsigned long& nameLength, std::span<char> data,
                             unsigned long& dataLength) {
  auto open = openKeys_.find(key);
  if (open == openKeys_.end()) return kErrorInvalidHandle;
  if (index >= open->second.size()) return kErrorNoMoreItems;
  const RegistryValue& value = open->second[index];
  return CopyRegistryText(value.name, value.data, name, nameLength, data, dataLength);
}

long PosixBackend::CloseKey(HKEY key) {
  if (key == kHkeyLocalMachine) return kErrorSuccess;
  return openKeys_.erase(key) == 1 ? kErrorSuccess : kErrorInvalidHandle;
}

}  // namespace platform::posix
