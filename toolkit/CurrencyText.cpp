#include "toolkit/CurrencyText.h"

#include <sstream>

namespace LumoUtility {
namespace {

constexpr int kCurrencyPrecision = 15;

template <class Number>
char FirstNonDigit(Number value, const std::locale& locale, char fallback) {
  std::ostringstream stream;
  stream.imbue(locale);
  stream << value;
  for (char c : stream.str()) {
    if (c < '0' || c > '9') return c;
  }
  return fallback;
}

}  // namespace

char CurrencyDecimalSeparator(const std::locale& locale) {
  return FirstNonDigit(0.1, locale, '.');
}

char CurrencyThousandsSeparator(const std::locale& locale) {
  return FirstNonDigit(1000, locale, ',');
}

std::string FormatCurrency(double amount, const std::locale& locale) {
  std::ostringstream stream;
  stream.imbue(locale);
  stream.precision(kCurrencyPrecision);
  stream << amount;
  return stream.str();
}

double ParseCurrency(const std::string& text, char thousandsSeparator, const std::locale& locale) {
  std::string digits;
  digits.reserve(text.size());
  for (char c : text) {
    if (c != thousandsSeparator) digits.push_back(c);
  }
  std::istringstream stream(digits);
  stream.imbue(locale);
  double amount = 0;
  if (!(stream >> amount)) return 0;
  return amount;
}

bool IsCurrencyText(const std::string& text, char decimalSeparator, char thousandsSeparator) {
  if (text.empty()) return true;
  bool digit = false;
  bool decimal = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == decimalSeparator && !decimal) {
      decimal = true;
    } else if (c != thousandsSeparator) {
      return false;
    }
  }
  return digit;
}

}  // namespace LumoUtility
