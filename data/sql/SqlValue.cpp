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

// The date at midnight; nothing outside Access's years or for an impossible date.
std::optional<LumoUtility::DateTimeValue> DateOf(int year, int month, int day) {
  if (year < 100 || year > 9999) return std::nullopt;
  LumoUtility::DateTimeValue date =
      LumoUtility::MakeDate(static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
                            static_cast<std::uint16_t>(day));
  if (date.invalid) return std::nullopt;
  return date;
}

}  // namespace

std::optional<double> ParseDateText(const std::string& text) {
  int a = 0, b = 0, c = 0, hour = 0, minute = 0, second = 0;
  char tail = 0;
  int consumed = 0;
  std::optional<LumoUtility::DateTimeValue> date;
  if (std::sscanf(text.c_str(), "%4d-%2d-%2d%n", &a, &b, &c, &consumed) == 3) {
    date = DateOf(a, b, c);
  } else if (std::sscanf(text.c_str(), "%2d/%2d/%4d%n", &a, &b, &c, &consumed) == 3) {
    date = DateOf(c, a, b);
  } else {
    return std::nullopt;
  }
  if (!date) return std::nullopt;
  std::string rest = text.substr(static_cast<std::size_t>(consumed));
  if (!rest.empty()) {
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
    date->hour = static_cast<std::uint16_t>(hour);
    date->minute = static_cast<std::uint16_t>(minute);
    date->second = static_cast<std::uint16_t>(second);
  }
  double oleDate = 0.0;
  if (!LumoUtility::ToOleDate(*date, oleDate)) return std::nullopt;
  return oleDate;
}

}  // namespace Sql
