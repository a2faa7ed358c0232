#include "toolkit/base/DateTimeValue.h"

#include <cmath>

#include "toolkit/base/NumberText.h"

namespace LumoUtility {
namespace {

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kTicksPerMillisecond = 10'000;
constexpr std::int64_t kSecondsPerDay = 86'400;
constexpr std::uint64_t kLargestFileTime = 0x7FFFFFFFFFFFFFFFull;
// Days from 0000-03-01 (proleptic Gregorian) to 1601-01-01, the file-time epoch.
constexpr std::int64_t kEpochDays = 584'694;

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 0000-03-01 (March-based years keep the leap day at the end).
constexpr std::int64_t DaysFromCivil(int year, int month, int day) {
  std::int64_t y = month <= 2 ? year - 1 : year;
  std::int64_t era = y / 400;
  std::int64_t yearOfEra = y - era * 400;
  std::int64_t monthIndex = month > 2 ? month - 3 : month + 9;
  std::int64_t dayOfYear = (153 * monthIndex + 2) / 5 + day - 1;
  std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra;
}

// `days` >= 0: every caller's range starts after 0000-03-01.
void CivilFromDays(std::int64_t days, int& year, int& month, int& day) {
  std::int64_t era = days / 146097;
  std::int64_t dayOfEra = days - era * 146097;
  std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
  day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
  month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
  year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

// OLE day 0, 1899-12-30, and Access's first and last days (0100-01-01, 9999-12-31) in
// OLE days.
constexpr std::int64_t kOleEpochDays = DaysFromCivil(1899, 12, 30);
constexpr double kFirstOleDay = -657434.0;
constexpr double kLastOleDay = 2958465.0;
constexpr int kFirstOleYear = 100;
constexpr int kLastOleYear = 9999;

}  // namespace

bool operator==(const DateTimeValue& a, const DateTimeValue& b) {
  return a.year == b.year && a.month == b.month && a.dayOfWeek == b.dayOfWeek && a.day == b.day &&
         a.hour == b.hour && a.minute == b.minute && a.second == b.second &&
         a.milliseconds == b.milliseconds && a.invalid == b.invalid;
}

bool ToFileTime(const DateTimeValue& v, std::uint64_t& fileTime) {
  if (v.year < 1601 || v.year > 30827 || v.month < 1 || v.month > 12 || v.day < 1 ||
      v.day > DaysInMonth(v.year, v.month) || v.hour > 23 || v.minute > 59 || v.second > 59 ||
      v.milliseconds > 999) {
    return false;
  }
  std::int64_t days = DaysFromCivil(v.year, v.month, v.day) - kEpochDays;
  std::int64_t seconds = days * kSecondsPerDay + v.hour * 3600 + v.minute * 60 + v.second;
  fileTime =
      static_cast<std::uint64_t>(seconds * kTicksPerSecond + v.milliseconds * kTicksPerMillisecond);
  return true;
}

bool FromFileTime(std::uint64_t fileTime, DateTimeValue& v) {
  if (fileTime > kLargestFileTime) return false;
  auto ticks = static_cast<std::int64_t>(fileTime);
  std::int64_t totalSeconds = ticks / kTicksPerSecond;
  std::int64_t days = totalSeconds / kSecondsPerDay;
  std::int64_t secondOfDay = totalSeconds % kSecondsPerDay;
  int year = 0, month = 0, day = 0;
  CivilFromDays(days + kEpochDays, year, month, day);
  v.year = static_cast<std::uint16_t>(year);
  v.month = static_cast<std::uint16_t>(month);
  v.day = static_cast<std::uint16_t>(day);
  v.dayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
  v.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
  v.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
  v.second = static_cast<std::uint16_t>(secondOfDay % 60);
  v.milliseconds = static_cast<std::uint16_t>(ticks % kTicksPerSecond / kTicksPerMillisecond);
  return true;
}

bool FromOleDate(double oleDate, OleFraction fraction, DateTimeValue& value) {
  DateTimeValue fields;
  if (!OleDateFields(oleDate, fraction, fields)) return false;
  value = NormalizeDateTime(fields);
  return true;
}

bool OleDateFields(double oleDate, OleFraction fraction, DateTimeValue& value) {
  // Beyond these bounds no reading reaches Access's years, and the conversions to whole
  // numbers below stay defined.
  if (!std::isfinite(oleDate) || oleDate <= kFirstOleDay - 1.0 || oleDate >= kLastOleDay + 1.0) {
    return false;
  }
  std::int64_t days = 0;
  std::int64_t secondOfDay = 0;
  if (fraction == OleFraction::kTimeOfDay) {
    double wholeDays = std::trunc(oleDate);
    days = static_cast<std::int64_t>(wholeDays);
    secondOfDay = std::llround(std::fabs(oleDate - wholeDays) * 86400.0);
    if (secondOfDay >= kSecondsPerDay) {
      secondOfDay -= kSecondsPerDay;
      days += 1;
    }
  } else {
    // Multiplied in this order, as the stores always have: the last bit can differ.
    auto seconds = static_cast<std::int64_t>(std::trunc(oleDate * 60 * 60 * 24));
    days = seconds / kSecondsPerDay;
    secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
      secondOfDay += kSecondsPerDay;
      days -= 1;
    }
  }
  int year = 0, month = 0, day = 0;
  CivilFromDays(days + kOleEpochDays, year, month, day);
  if (year < kFirstOleYear || year > kLastOleYear) return false;
  value = DateTimeValue();
  value.year = static_cast<std::uint16_t>(year);
  value.month = static_cast<std::uint16_t>(month);
  value.dayOfWeek = 0;
  value.day = static_cast<std::uint16_t>(day);
  value.hour = static_cast<std::uint16_t>(secondOfDay / 3600);
  value.minute = static_cast<std::uint16_t>(secondOfDay / 60 % 60);
  value.second = static_cast<std::uint16_t>(secondOfDay % 60);
  return true;
}

bool ToOleDate(const DateTimeValue& value, double& oleDate) {
  std::uint64_t fileTime = 0;
  if (value.invalid || value.year > kLastOleYear || !ToFileTime(value, fileTime)) return false;
  std::int64_t days = DaysFromCivil(value.year, value.month, value.day) - kOleEpochDays;
  oleDate =
      static_cast<double>(days) + (value.hour * 3600 + value.minute * 60 + value.second) / 86400.0;
  return true;
}

DateTimeValue NormalizeDateTime(const DateTimeValue& fields) {
  DateTimeValue result = fields;
  result.invalid = false;
  std::uint64_t fileTime = 0;
  if (!ToFileTime(result, fileTime)) {
    result.invalid = true;
    return result;
  }
  FromFileTime(fileTime, result);
  return result;
}

DateTimeValue MakeDate(std::uint16_t year, std::uint16_t month, std::uint16_t day) {
  DateTimeValue fields;
  fields.year = year;
  fields.month = month;
  fields.dayOfWeek = 0;
  fields.day = day;
  return NormalizeDateTime(fields);
}

DateTimeValue AddSeconds(const DateTimeValue& value, std::int64_t seconds) {
  if (value.invalid) return value;
  DateTimeValue result = value;
  std::uint64_t fileTime = 0;
  if (!ToFileTime(value, fileTime)) {
    result.invalid = true;
    return result;
  }
  std::int64_t ticks = 0;
  std::int64_t shifted = 0;
  if (__builtin_mul_overflow(seconds, kTicksPerSecond, &ticks) ||
      __builtin_add_overflow(static_cast<std::int64_t>(fileTime), ticks, &shifted) || shifted < 0 ||
      !FromFileTime(static_cast<std::uint64_t>(shifted), result)) {
    result.invalid = true;
  }
  return result;
}

std::string FormatDayMonthYear(const DateTimeValue& value) {
  return ZeroPaddedInt(value.day, 2) + "/" + ZeroPaddedInt(value.month, 2) + "/" +
         IntToText(value.year);
}

std::string FormatIsoDate(const DateTimeValue& value) {
  return IntToText(value.year) + "-" + ZeroPaddedInt(value.month, 2) + "-" +
         ZeroPaddedInt(value.day, 2);
}

}  // namespace LumoUtility
