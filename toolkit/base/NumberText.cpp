#include "toolkit/base/NumberText.h"

#include <cstdio>
#include <cstdlib>

namespace LumoUtility {

std::string IntToText(std::int64_t value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
  return buffer;
}

std::wstring IntToWideText(std::int64_t value) {
  std::string narrow = IntToText(value);
  return std::wstring(narrow.begin(), narrow.end());
}

std::string DoubleToText(double value) {
  char buffer[108];
  std::snprintf(buffer, sizeof buffer, "%Lg", static_cast<long double>(value));
  return buffer;
}

std::string AmountToText(double value) {
  std::string shortest = DoubleToText(value);
  if (std::strtod(shortest.c_str(), nullptr) == value) return shortest;
  char buffer[108];
  std::snprintf(buffer, sizeof buffer, "%.15Lg", static_cast<long double>(value));
  return buffer;
}

bool ThreeDigitsAt(const std::string& text, std::size_t start) {
  std::size_t digits = 0;
  while (start + digits < text.size() && text[start + digits] >= '0' && text[start + digits] <= '9')
    ++digits;
  return digits == 3;
}

bool ParseSpinnerText(const std::string& text, char thousandsSeparator, std::int32_t minimum,
                      std::int32_t maximum, std::int32_t& value) {
  std::int64_t number = 0;
  bool digit = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char character = text[i];
    if (character == thousandsSeparator) continue;
    // The control's own grouping, as Wine's arrows write it whatever the user's separator
    // ("12,001" under Italian settings): a "," between digits that precedes exactly
    // three. Any other "," ("1,5") is no whole number.
    if (character == ',') {
      if (!digit || !ThreeDigitsAt(text, i + 1)) return false;
      continue;
    }
    if (character < '0' || character > '9') return false;
    digit = true;
    number = number * 10 + (character - '0');
    if (number > maximum) return false;
  }
  if (!digit || number < minimum) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

std::string ZeroPaddedInt(std::int64_t value, int width) {
  std::string digits = IntToText(value);
  if (static_cast<int>(digits.size()) < width) {
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  }
  return digits;
}

}  // namespace LumoUtility
