#include "computer/registry_values.h"

#include <algorithm>
#include <array>

#include "computer/form3.h"
#include "platform/advapi32.h"

namespace belvosta {
namespace {

constexpr std::size_t kBufferSize = 255;

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first (length - 1) bytes of the data, never more than the buffer holds, cut at the
// first NUL and without leading and trailing blanks.
std::string ValueText(const std::array<char, kBufferSize>& data, unsigned long length) {
  const std::size_t n = std::min<std::size_t>(length > 0 ? length - 1 : 0, data.size());
  std::string_view text(data.data(), n);
  text = text.substr(0, text.find('\0'));
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

void ForEachRegistryValue(
    std::string_view keyPath,
    const std::function<void(std::string_view nameBuffer, std::string text)>& onValue) {
  platform::HKEY key = 0;
  if (platform::RegOpenKeyA(platform::kHkeyLocalMachine, keyPath, key) != platform::kErrorSuccess) {
    return;
  }
  for (unsigned long index = 0;; ++index) {
    std::array<char, kBufferSize> name;
    std::array<char, kBufferSize> data;
    name.fill(' ');
    data.fill(' ');
    unsigned long nameLength = kBufferSize;
    unsigned long dataLength = kBufferSize;
    const long result = platform::RegEnumValueA(key, index, name, nameLength, data, dataLength);
    // A value too long for the buffers still counts as a value; any other result ends the
    // enumeration, so a key that keeps failing cannot hold us here.
    if (result != platform::kErrorSuccess && result != platform::kErrorMoreData) break;
    onValue(std::string_view(name.data(), name.size()), ValueText(data, dataLength));
  }
  platform::RegCloseKey(key);
}

bool NameStartsWith(std::string_view nameBuffer, std::string_view prefix) {
  if (nameBuffer.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), nameBuffer.begin(),
                    [](char a, char b) { return AsciiLower(a) == AsciiLower(b); });
}

void Form3::Prozessordaten(std::string& prozessor, std::string& familie) {
  ForEachRegistryValue("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\",
                       [&](std::string_view name, const std::string& text) {
                         if (NameStartsWith(name, "identifier")) familie = text;
                         if (NameStartsWith(name, "PROCESSORNAME")) prozessor = text;
                       });
}

std::string Form3::ErmittleSP() {
  std::string servicePack;
  ForEachRegistryValue("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                       [&](std::string_view name, const std::string& text) {
                         if (NameStartsWith(name, "csdversion")) servicePack = text;
                       });
  return servicePack;
}

}  // namespace belvosta
