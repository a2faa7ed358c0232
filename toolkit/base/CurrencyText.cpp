#include "toolkit/base/CurrencyText.h"

#include <sstream>

#include "toolkit/base/NumberText.h"

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

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether every grouping separator of the text precedes exactly three digits.
bool GroupsOfThree(const std::string& text, char thousandsSeparator) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != thousandsSeparator) continue;
    if (!ThreeDigitsAt(text, i + 1)) return false;
  }
  return true;
}

}  // namespace

char CurrencyDecimalSeparator(const std::locale& locale) { return FirstNonDigit(0.1, locale, '.'); }

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

std::string WithDecimalPoint(const std::string& text, char decimalSeparator,
                             char thousandsSeparator) {
  if (text.find(decimalSeparator) != std::string::npos) return text;
  const std::size_t separator = text.find(thousandsSeparator);
  if (separator == std::string::npos) return text;
  if (text.find(thousandsSeparator, separator + 1) != std::string::npos) return text;
  if (GroupsOfThree(text, thousandsSeparator)) return text;
  std::string read = text;
  read[separator] = decimalSeparator;
  return read;
}

double ParseCurrency(const std::string& text, char thousandsSeparator, const std::locale& locale) {
  const char decimalSeparator = std::use_facet<std::numpunct<char>>(locale).decimal_point();
  std::string digits;
  digits.reserve(text.size());
  for (char c : WithDecimalPoint(text, decimalSeparator, thousandsSeparator)) {
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
  const std::string read = WithDecimalPoint(text, decimalSeparator, thousandsSeparator);
  const bool decimal = read.find(decimalSeparator) != std::string::npos;
  if (!decimal && !GroupsOfThree(read, thousandsSeparator)) return false;
  bool digit = false;
  bool decimalSeen = false;
  for (char c : read) {
    if (IsDigit(c)) {
      digit = true;
    } else if (c == decimalSeparator && !decimalSeen) {
      decimalSeen = true;
    } else if (c != thousandsSeparator) {
      return false;
    }
  }
  return digit;
}

}  // namespace LumoUtility
