#include "data/sql/SqlValue.h"

#include <cstdio>

#include "toolkit/base/DateTimeValue.h"

namespace Sql {

Value Value::Boolean(bool b) {
  Value v;
  v.type = Type::Boolean;
  v.boolean = b;
  return v;
}

Value Value::Integer(std::int64_t i) {
  Value v;
  v.type = Type::Integer;
  v.integer = i;
  return v;
}

Value Value::Double(double d) {
  Value v;
  v.type = Type::Double;
  v.number = d;
  return v;
}

Value Value::Currency(std::int64_t tenThousandths) {
  Value v;
  v.type = Type::Currency;
  v.integer = tenThousandths;
  return v;
}

Value Value::DateTime(double oleDate) {
  Value v;
  v.type = Type::DateTime;
  v.number = oleDate;
  return v;
}

Value Value::Text(std::u16string t) {
  Value v;
  v.type = Type::Text;
  v.text = std::move(t);
  return v;
}

double Value::AsDouble() const {
  switch (type) {
    case Type::Boolean: return boolean ? -1.0 : 0.0;
    case Type::Integer: return static_cast<double>(integer);
    case Type::Currency: return static_cast<double>(integer) / 10000.0;
    case Type::Double:
    case Type::DateTime: return number;
    default: return 0.0;
  }
}

namespace {

// Days from 1899-12-30 to the given (valid) date, through the shared calendar code.
std::optional<double> OleDays(int year, int month, int day) {
  if (year < 100 || year > 9999) return std::nullopt;
  LumoUtility::DateTimeValue date = LumoUtility::MakeDate(
      static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
      static_cast<std::uint16_t>(day));
  if (date.invalid) return std::nullopt;
  std::uint64_t fileTime = 0;
  std::uint64_t epoch = 0;
  LumoUtility::ToFileTime(date, fileTime);
  LumoUtility::ToFileTime(LumoUtility::MakeDate(1899, 12, 30), epoch);
  constexpr double kTicksPerDay = 864'000'000'000.0;
  return (static_cast<double>(fileTime) - static_cast<double>(epoch)) / kTicksPerDay;
}

}  // namespace

std::optional<double> ParseDateText(const std::string& text) {
  int a = 0, b = 0, c = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  int consumed = 0;
  std::optional<double> days;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &a, &b, &c, &consumed) == 3) {
    days = OleDays(a, b, c);
  } else if (std::sscanf(text.c_str(), "%2d/%2d/%4d%n", &a, &b, &c, &consumed) == 3) {
    days = OleDays(c, a, b);
  } else {
    return std::nullopt;
  }
  if (!days) return std::nullopt;
  std::string rest = text.substr(static_cast<std::size_t>(consumed));
  if (rest.empty()) return days;
  int fields = std::sscanf(rest.c_str(), " %2d:%2d:%2d%c", &hour, &minute, &second, &tail);
  if (fields == 2) {
    fields = std::sscanf(rest.c_str(), " %2d:%2d%c", &hour, &minute, &tail);
    if (fields != 2) return std::nullopt;
    second = 0;
  } else if (fields != 3) {
    return std::nullopt;
  }
  if (hour > 23 || minute > 59 || second > 59 || hour < 0 || minute < 0 || second < 0) {
    return std::nullopt;
  }
  return *days + (hour * 3600 + minute * 60 + second) / 86400.0;
}

}  // namespace Sql
