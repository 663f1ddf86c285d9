#include "platform/win32/windows_api.h"

#include <lmcons.h>

#include "platform/buffer_rules.h"
#include "platform/win32/system_backend.h"
#include "platform/win32/system_calls.h"
#include "platform/win32/utf8.h"

#include <algorithm>
#include <string>
#include <vector>

namespace platform::win32 {
namespace {

// Registry names are at most 16383 characters long.
constexpr DWORD kMaxValueName = 16384;
// Data is read whole up to this size; a longer value can never fit a caller's buffer here.
constexpr DWORD kMaxDataRead = 1 << 20;

// The program's key numbers hold the predefined keys as 32-bit values; Windows' own are
// sign-extended on 64-bit Windows (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 there).
::HKEY ToNative(HKEY key) {
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    return reinterpret_cast<::HKEY>(
        static_cast<std::intptr_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(key))));
  }
  return reinterpret_cast<::HKEY>(key);
}

bool IsText(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The value's data as the program sees it: texts in UTF-8 ending with a NUL, other types
// byte for byte.
std::string ProgramData(DWORD type, const std::vector<BYTE>& raw, DWORD rawBytes) {
  if (!IsText(type)) return std::string(reinterpret_cast<const char*>(raw.data()), rawBytes);
  const std::wstring_view wide(reinterpret_cast<const wchar_t*>(raw.data()), rawBytes / 2);
  std::string text = Narrow(wide);
  if (text.empty() || text.back() != '\0') text += '\0';
  return text;
}

}  // namespace

int Win32Backend::UserName(std::span<char> buffer, unsigned long& size) {
  wchar_t name[UNLEN + 1] = {};
  DWORD length = UNLEN + 1;
  if (!systemCalls.GetUserNameW(name, &length) || length == 0) return 0;
  const int fits = CopyUserName(Narrow(std::wstring_view(name, length - 1)), buffer, size);
  if (!fits) SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return fits;
}

long Win32Backend::OpenKey(HKEY key, std::string_view subKey, HKEY& result) {
  // "Key\" and "Key" name the same key; Windows versions differ on the trailing separator.
  while (subKey.size() > 1 && subKey.back() == '\\') subKey.remove_suffix(1);
  const std::wstring wide = Widen(subKey);
  ::HKEY opened = nullptr;
  const LONG status = systemCalls.RegOpenKeyExW(ToNative(key), wide.c_str(), 0, KEY_READ, &opened);
  if (status == ERROR_SUCCESS) result = reinterpret_cast<HKEY>(opened);
  return status;
}

long Win32Backend::EnumValue(HKEY key, unsigned long index, std::span<char> name,
                             unsigned long& nameLength, std::span<char> data,
                             unsigned long& dataLength) {
  const std::size_t dataCapacity = Capacity(dataLength, data);

  std::vector<wchar_t> wideName(kMaxValueName);
  std::vector<BYTE> raw(std::max<std::size_t>(4096, dataCapacity * 2 + 2));
  DWORD nameChars = 0;
  DWORD rawBytes = 0;
  DWORD type = REG_NONE;
  LONG status = ERROR_MORE_DATA;
  // The value may grow between two calls; a few tries settle it.
  for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
    nameChars = kMaxValueName;
    rawBytes = static_cast<DWORD>(raw.size());
    status = systemCalls.RegEnumValueW(ToNative(key), index, wideName.data(), &nameChars, nullptr,
                                       &type, raw.data(), &rawBytes);
    if (status != ERROR_MORE_DATA) break;
    if (rawBytes <= raw.size() || rawBytes > kMaxDataRead) break;
    raw.resize(rawBytes + 2);
  }
  if (status == ERROR_MORE_DATA) {
    dataLength = rawBytes;
    return kErrorMoreData;
  }
  if (status != ERROR_SUCCESS) return status;

  const std::string nameText = Narrow(std::wstring_view(wideName.data(), nameChars));
  const std::string dataBytes = ProgramData(type, raw, std::min<DWORD>(rawBytes, raw.size()));
  return CopyRegistryValue(nameText, dataBytes, name, nameLength, data, dataLength);
}

long Win32Backend::CloseKey(HKEY key) {
  return systemCalls.RegCloseKey(ToNative(key));
}

}  // namespace platform::win32
