#include "platform/win32/utf8.h"

#include <algorithm>
#include <limits>

#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// The conversion functions take int lengths; longer texts are converted in pieces.
constexpr std::size_t kMaxPiece = static_cast<std::size_t>(std::numeric_limits<int>::max()) / 4;

}  // namespace

std::wstring Widen(std::string_view utf8) {
  std::wstring result;
  while (!utf8.empty()) {
    std::size_t piece = std::min(utf8.size(), kMaxPiece);
    // Never split a multi-byte sequence: back up to the start of a character.
    while (piece < utf8.size() && piece > 0 &&
           (static_cast<unsigned char>(utf8[piece]) & 0xC0) == 0x80) {
      --piece;
    }
    if (piece == 0) piece = std::min(utf8.size(), kMaxPiece);
    const int inLength = static_cast<int>(piece);
    const int outLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, nullptr, 0);
    if (outLength > 0) {
      const std::size_t old = result.size();
      result.resize(old + static_cast<std::size_t>(outLength));
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inLength, result.data() + old, outLength);
    }
    utf8.remove_prefix(piece);
  }
  return result;
}

std::string Narrow(std::wstring_view utf16, unsigned codePage) {
  std::string result;
  while (!utf16.empty()) {
    std::size_t piece = std::min(utf16.size(), kMaxPiece);
    // Keep a surrogate pair together.
    if (piece < utf16.size() && piece > 1 && utf16[piece - 1] >= 0xD800 &&
        utf16[piece - 1] <= 0xDBFF) {
      --piece;
    }
    const int inLength = static_cast<int>(piece);
    const int outLength =
        WideCharToMultiByte(codePage, 0, utf16.data(), inLength, nullptr, 0, nullptr, nullptr);
    if (outLength > 0) {
      const std::size_t old = result.size();
      result.resize(old + static_cast<std::size_t>(outLength));
      WideCharToMultiByte(codePage, 0, utf16.data(), inLength, result.data() + old, outLength,
                          nullptr, nullptr);
    }
    utf16.remove_prefix(piece);
  }
  return result;
}

std::string_view PrefixThatFits(std::string_view text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return text;
  // Step back from the first byte left out while it continues a character.
  std::size_t cut = maxBytes;
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

}  // namespace platform::win32
