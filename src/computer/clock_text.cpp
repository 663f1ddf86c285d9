#include <cstdio>

#include "computer/module1.h"

namespace belvosta {

std::string ClockText(std::int64_t hertz, const std::string& decimalSeparator) {
  const bool giga = hertz > kGigahertz;
  const double value = static_cast<double>(hertz) / (giga ? 1e9 : 1e6);
  // Two decimals with a point; the point is then replaced by the user's separator.
  char digits[64];
  const int length = std::snprintf(digits, sizeof digits, "%.2f", value);
  std::string text(digits, length > 0 ? static_cast<std::size_t>(length) : 0);
  const auto point = text.find('.');
  if (point != std::string::npos) {
    text.replace(point, 1, decimalSeparator.empty() ? std::string(".") : decimalSeparator);
  }
  return text + (giga ? " GHz" : " MHz");
}

}  // namespace belvosta
