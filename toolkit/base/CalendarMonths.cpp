#include "toolkit/base/CalendarMonths.h"

#include <cstdint>

namespace LumoUtility {
namespace {

bool IsLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(std::int64_t year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

DateTimeValue AddCalendarMonths(const DateTimeValue& date, int months) {
  DateTimeValue result = date;
  if (date.invalid || date.month < 1 || date.month > 12) {
    result.invalid = true;
    return result;
  }
  // Months counted from year 0 so that one division gives year and month, also backwards.
  std::int64_t index = std::int64_t{date.year} * 12 + (date.month - 1) + months;
  std::int64_t year = index >= 0 ? index / 12 : (index - 11) / 12;
  int month = static_cast<int>(index - year * 12) + 1;
  if (year < 1601 || year > 30827) {
    result.invalid = true;
    return result;
  }
  int day = date.day < DaysInMonth(year, month) ? date.day : DaysInMonth(year, month);
  return MakeDate(static_cast<std::uint16_t>(year), static_cast<std::uint16_t>(month),
                  static_cast<std::uint16_t>(day));
}

int CompareDays(const DateTimeValue& a, const DateTimeValue& b) {
  if (a.year != b.year) return a.year < b.year ? -1 : 1;
  if (a.month != b.month) return a.month < b.month ? -1 : 1;
  if (a.day != b.day) return a.day < b.day ? -1 : 1;
  return 0;
}

}  // namespace LumoUtility
