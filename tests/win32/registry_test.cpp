// Registry values of the real registry as the program reads them (the buffer rules, values
// too long for them among them, are the registry contract's): texts in UTF-8 with their NUL
// counted, one stored without its NUL given one, numbers as their bytes.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/win32/system_backend.h"
#include "platform/win32/windows_api.h"

// Windows' own handle, spelled outside namespace platform, whose HKEY is the program's.
static const ::HKEY kNativeCurrentUser = HKEY_CURRENT_USER;

namespace platform::win32 {
namespace {

void Set(::HKEY key, const std::wstring& name, DWORD type, const void* data, std::size_t size) {
  RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data),
                 static_cast<DWORD>(size));
}

TEST(Registry, ValuesArriveInTheProgramsForm) {
  constexpr wchar_t kTestKey[] = L"Software\\BelvostaPlatformTest";
  ::HKEY native = nullptr;
  ASSERT_EQ(RegCreateKeyExW(kNativeCurrentUser, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &native, nullptr),
            ERROR_SUCCESS);
  const std::wstring text = L"  Intel(R) Ger\u00e4t 2,40 GHz  ";
  const DWORD number = 0x01020304;
  Set(native, L"ProcessorNameString", REG_SZ, text.c_str(), (text.size() + 1) * 2);
  Set(native, L"Unended", REG_SZ, L"abc", 3 * 2);  // as some installers write texts
  Set(native, L"Number", REG_DWORD, &number, sizeof(number));
  RegCloseKey(native);

  Win32Backend backend;
  platform::HKEY key = 0;
  ASSERT_EQ(backend.OpenKey(0x80000001u, "Software\\BelvostaPlatformTest", key), 0);
  std::map<std::string, std::string> values;
  for (unsigned long index = 0; index < 50; ++index) {
    std::string name(255, ' '), data(255, ' ');
    unsigned long nameLength = 255, dataLength = 255;
    const long status = backend.EnumValue(key, index, name, nameLength, data, dataLength);
    if (status == kErrorNoMoreItems) break;
    ASSERT_EQ(status, kErrorSuccess);
    EXPECT_EQ(data[dataLength], ' ');  // nothing beyond
    values[name.substr(0, nameLength)] = data.substr(0, dataLength);
  }
  backend.CloseKey(key);
  RegDeleteKeyW(kNativeCurrentUser, kTestKey);

  const std::map<std::string, std::string> expected = {
      {"ProcessorNameString", std::string("  Intel(R) Ger\xC3\xA4t 2,40 GHz  \0", 29)},
      {"Unended", std::string("abc\0", 4)},
      {"Number", "\x04\x03\x02\x01"}};
  EXPECT_EQ(values, expected);
}

}  // namespace
}  // namespace platform::win32
