#include "toolkit/SystemDates.h"

#include <gtest/gtest.h>

using namespace LumoUtility;

namespace {

// What the system's own file-time round trip makes of some fields.
DateTimeValue SystemNormalized(const SYSTEMTIME& fields) {
  FILETIME fileTime{};
  if (!SystemTimeToFileTime(&fields, &fileTime)) {
    DateTimeValue kept = DateFromSystemTime(fields);  // fields as given
    kept.invalid = true;
    return kept;
  }
  SYSTEMTIME normal{};
  FileTimeToSystemTime(&fileTime, &normal);
  DateTimeValue value;
  value.year = normal.wYear;
  value.month = normal.wMonth;
  value.dayOfWeek = normal.wDayOfWeek;
  value.day = normal.wDay;
  value.hour = normal.wHour;
  value.minute = normal.wMinute;
  value.second = normal.wSecond;
  value.milliseconds = normal.wMilliseconds;
  return value;
}

}  // namespace

TEST(SystemDates, CalendarMatchesTheSystemFileTimeConversion) {
  const WORD years[] = {1601, 1700, 1899, 1900, 1999, 2000, 2020, 2021, 2100, 2400, 9999, 30827};
  for (WORD year : years) {
    for (WORD month = 0; month <= 13; ++month) {
      for (WORD day = 0; day <= 32; day += (day < 27 ? 9 : 1)) {
        SYSTEMTIME fields{};
        fields.wYear = year;
        fields.wMonth = month;
        fields.wDay = day;
        fields.wHour = static_cast<WORD>(day % 25);
        fields.wMinute = 59;
        DateTimeValue mine = DateFromSystemTime(fields);
        DateTimeValue system = SystemNormalized(fields);
        // Wine (unlike Windows) accepts 29 February of any year; the portable tests
        // hold the leap-year rule.
        if (month == 2 && day == 29) continue;
        ASSERT_EQ(mine.invalid, system.invalid) << year << "-" << month << "-" << day;
        if (!mine.invalid) {
          ASSERT_EQ(mine, system) << year << "-" << month << "-" << day;
        }
      }
    }
  }
}

TEST(SystemDates, FileTimesMatchTheSystem) {
  DateTimeValue date = MakeDate(2020, 3, 5);
  std::uint64_t mine = 0;
  ASSERT_TRUE(ToFileTime(date, mine));
  SYSTEMTIME fields = ToSystemTime(date);
  FILETIME system{};
  ASSERT_TRUE(SystemTimeToFileTime(&fields, &system));
  EXPECT_EQ(mine, (static_cast<std::uint64_t>(system.dwHighDateTime) << 32) | system.dwLowDateTime);
}

TEST(SystemDates, LocalNowIsANormalDate) {
  DateTimeValue now = LocalNow();
  EXPECT_FALSE(now.invalid);
  EXPECT_GE(now.year, 2024);
}
