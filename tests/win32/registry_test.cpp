// Registry values through the program's buffers: converted to UTF-8, never past the
// stated sizes, and never half written.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/win32/system_backend.h"
#include "platform/win32/windows_api.h"

// Windows' own handle, spelled outside namespace platform, whose HKEY is the program's.
static const ::HKEY kNativeCurrentUser = HKEY_CURRENT_USER;

namespace platform::win32 {
namespace {

// HKEY_CURRENT_USER in the program's numbering of the predefined keys.
constexpr platform::HKEY kCurrentUser = 0x80000001u;
constexpr wchar_t kTestKey[] = L"Software\\BelvostaPlatformTest";

struct Value {
  long status = 0;
  std::string name;
  std::string data;
  unsigned long nameLength = 0;
  unsigned long dataLength = 0;
};

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    ::HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(kNativeCurrentUser, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    SetText(key, L"ProcessorNameString", L"  Intel(R) Ger\u00e4t 2,40 GHz  ");
    SetText(key, L"Identifier", L"x86 Family 6");
    // Stored without its NUL, as some installers write texts.
    RegSetValueExW(key, L"Unended", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"abc"),
                   3 * sizeof(wchar_t));
    SetText(key, L"Long", std::wstring(300, L'a'));
    SetText(key, std::wstring(300, L'N').c_str(), L"x");
    const DWORD number = 0x01020304;
    RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof(number));
    RegCloseKey(key);
    ASSERT_EQ(backend_.OpenKey(kCurrentUser, "Software\\BelvostaPlatformTest\\", key_), 0);
  }

  void TearDown() override {
    backend_.CloseKey(key_);
    RegDeleteKeyW(kNativeCurrentUser, kTestKey);
  }

  static void SetText(::HKEY key, const wchar_t* name, const std::wstring& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

  // One enumeration step as the program makes it: blank buffers of 255 and lengths of 255.
  Value Enumerate(unsigned long index, unsigned long nameLength = 255,
                  unsigned long dataLength = 255) {
    Value value;
    value.name.assign(255, ' ');
    value.data.assign(255, ' ');
    value.nameLength = nameLength;
    value.dataLength = dataLength;
    value.status =
        backend_.EnumValue(key_, index, value.name, value.nameLength, value.data, value.dataLength);
    return value;
  }

  std::map<std::string, Value> All() {
    std::map<std::string, Value> values;
    for (unsigned long index = 0; index < 50; ++index) {
      Value value = Enumerate(index);
      if (value.status == kErrorNoMoreItems) break;
      // Values that did not fit are kept under their index.
      std::string key = std::to_string(index);
      if (value.status == kErrorSuccess) key = value.name.substr(0, value.nameLength);
      values[key] = value;
    }
    return values;
  }

  Win32Backend backend_;
  platform::HKEY key_ = 0;
};

TEST_F(Registry, TextsArriveAsUtf8WithTheirNulCounted) {
  const auto values = All();
  ASSERT_TRUE(values.count("ProcessorNameString"));
  const Value& name = values.at("ProcessorNameString");
  EXPECT_EQ(name.nameLength, 19u);
  EXPECT_EQ(name.name[19], '\0');
  const std::string text = "  Intel(R) Ger\xC3\xA4t 2,40 GHz  ";
  EXPECT_EQ(name.dataLength, text.size() + 1);
  EXPECT_EQ(name.data.substr(0, name.dataLength), text + '\0');
  EXPECT_EQ(name.data[name.dataLength], ' ');  // nothing beyond

  ASSERT_TRUE(values.count("Unended"));  // gets the NUL it was stored without
  EXPECT_EQ(values.at("Unended").dataLength, 4u);
  EXPECT_EQ(values.at("Unended").data.substr(0, 4), std::string("abc\0", 4));

  ASSERT_TRUE(values.count("Number"));
  EXPECT_EQ(values.at("Number").dataLength, 4u);
  EXPECT_EQ(values.at("Number").data.substr(0, 4), std::string("\x04\x03\x02\x01", 4));
}

TEST_F(Registry, ValuesTooLongForTheBuffersLeaveThemUntouched) {
  // "Long" (301 bytes of data) and the 300-letter name do not fit 255-byte buffers.
  int tooLong = 0;
  for (unsigned long index = 0; index < 50; ++index) {
    const Value value = Enumerate(index);
    if (value.status == kErrorNoMoreItems) break;
    if (value.status != kErrorMoreData) continue;
    ++tooLong;
    EXPECT_EQ(value.name, std::string(255, ' '));
    EXPECT_EQ(value.data, std::string(255, ' '));
  }
  EXPECT_EQ(tooLong, 2);
  EXPECT_EQ(Enumerate(50).status, kErrorNoMoreItems);
}

}  // namespace
}  // namespace platform::win32
