#include "toolkit/base/DateTimeValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

using namespace LumoUtility;

TEST(DateTimeValue, DefaultIsTheNoDateMarker) {
  DateTimeValue none;
  EXPECT_EQ(none.year, 1900);
  EXPECT_EQ(none.month, 1);
  EXPECT_EQ(none.day, 1);
  EXPECT_FALSE(none.invalid);
  EXPECT_EQ(MakeDate(1900, 1, 1), none);  // 1900-01-01 was a Monday
}

TEST(DateTimeValue, MakeDateChecksTheCalendar) {
  EXPECT_TRUE(MakeDate(2020, 2, 30).invalid);
  EXPECT_TRUE(MakeDate(2021, 2, 29).invalid);
  EXPECT_TRUE(MakeDate(1900, 2, 29).invalid);
  EXPECT_FALSE(MakeDate(2000, 2, 29).invalid);
  EXPECT_FALSE(MakeDate(2024, 2, 29).invalid);
  EXPECT_TRUE(MakeDate(2020, 13, 1).invalid);
  EXPECT_TRUE(MakeDate(2020, 0, 1).invalid);
  EXPECT_TRUE(MakeDate(1600, 12, 31).invalid);
  EXPECT_FALSE(MakeDate(1601, 1, 1).invalid);
  EXPECT_TRUE(MakeDate(30828, 1, 1).invalid);

  DateTimeValue bad = MakeDate(2020, 2, 30);
  EXPECT_EQ(bad.day, 30);  // fields are kept
  EXPECT_EQ(AddSeconds(bad, 86400), bad);
}

TEST(DateTimeValue, MakeDateFillsInTheDayOfWeek) {
  EXPECT_EQ(MakeDate(1601, 1, 1).dayOfWeek, 1);    // Monday
  EXPECT_EQ(MakeDate(2020, 3, 5).dayOfWeek, 4);    // Thursday
  EXPECT_EQ(MakeDate(2026, 12, 7).dayOfWeek, 1);   // Monday
  EXPECT_EQ(MakeDate(1899, 12, 30).dayOfWeek, 6);  // Saturday
}

TEST(DateTimeValue, AddSecondsFromTheOleEpoch) {
  DateTimeValue epoch = MakeDate(1899, 12, 30);
  EXPECT_EQ(AddSeconds(epoch, 86400), MakeDate(1899, 12, 31));
  DateTimeValue noon = AddSeconds(epoch, 43200);
  EXPECT_EQ(noon.year, 1899);
  EXPECT_EQ(noon.day, 30);
  EXPECT_EQ(noon.hour, 12);
  EXPECT_EQ(noon.minute, 0);
  // 2020-03-05 is OLE day 43895.
  EXPECT_EQ(AddSeconds(epoch, 43895LL * 86400), MakeDate(2020, 3, 5));
  EXPECT_EQ(AddSeconds(MakeDate(2020, 3, 1), -86400), MakeDate(2020, 2, 29));
  EXPECT_EQ(AddSeconds(MakeDate(2019, 12, 31), 86400), MakeDate(2020, 1, 1));
}

TEST(DateTimeValue, AddSecondsOutsideTheRangeIsInvalid) {
  EXPECT_TRUE(AddSeconds(MakeDate(1601, 1, 1), -1).invalid);
  EXPECT_TRUE(AddSeconds(MakeDate(2000, 1, 1), INT64_MAX).invalid);
  EXPECT_TRUE(AddSeconds(MakeDate(2000, 1, 1), INT64_MIN).invalid);
  EXPECT_FALSE(AddSeconds(MakeDate(2000, 1, 1), 0).invalid);
}

TEST(DateTimeValue, NormalizeChecksTheTimeOfDay) {
  DateTimeValue fields = MakeDate(2020, 3, 5);
  fields.hour = 24;
  EXPECT_TRUE(NormalizeDateTime(fields).invalid);
  fields.hour = 23;
  fields.minute = 59;
  fields.second = 59;
  fields.milliseconds = 999;
  fields.dayOfWeek = 0;  // wrong on purpose: normalising corrects it
  DateTimeValue normal = NormalizeDateTime(fields);
  EXPECT_FALSE(normal.invalid);
  EXPECT_EQ(normal.dayOfWeek, 4);
  DateTimeValue next = AddSeconds(normal, 1);
  EXPECT_EQ(next.day, 6);
  EXPECT_EQ(next.hour, 0);
  EXPECT_EQ(next.milliseconds, 999);
}

TEST(DateTimeValue, Formats) {
  EXPECT_EQ(FormatDayMonthYear(MakeDate(2020, 3, 5)), "05/03/2020");
  EXPECT_EQ(FormatIsoDate(MakeDate(2020, 3, 5)), "2020-03-05");
  DateTimeValue early;
  early.year = 999;
  early.month = 12;
  early.day = 1;
  EXPECT_EQ(FormatDayMonthYear(early), "01/12/999");
  EXPECT_EQ(FormatIsoDate(early), "999-12-01");
}

TEST(OleDates, CalendarTimeOfDayNegativeValuesAndRange) {
  auto text = [](double value) {
    DateTimeValue c;
    if (!FromOleDate(value, OleFraction::kTimeOfDay, c)) return std::string("none");
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day,
                  c.hour, c.minute, c.second);
    return std::string(buffer);
  };
  EXPECT_EQ(text(0), "1899-12-30 00:00:00");
  EXPECT_EQ(text(0.5), "1899-12-30 12:00:00");
  EXPECT_EQ(text(1.0), "1899-12-31 00:00:00");
  EXPECT_EQ(text(2), "1900-01-01 00:00:00");
  EXPECT_EQ(text(44532), "2021-12-02 00:00:00");
  EXPECT_EQ(text(2958101), "9999-01-01 00:00:00");
  EXPECT_EQ(text(-728), "1898-01-01 00:00:00");
  EXPECT_EQ(text(-463126), "0632-01-01 00:00:00");
  EXPECT_EQ(text(-1.25), "1899-12-29 06:00:00");
  EXPECT_EQ(text(38751.0 + (22 * 3600 + 11 * 60 + 5) / 86400.0), "2006-02-03 22:11:05");
  EXPECT_EQ(text(1.0 - 1e-9), "1899-12-31 00:00:00");  // rounds up into the next day
  EXPECT_EQ(text(2958465.5), "9999-12-31 12:00:00");
  EXPECT_EQ(text(2958466.0), "none");
  EXPECT_EQ(text(-657435.0), "none");
  EXPECT_EQ(text(std::nan("")), "none");
  EXPECT_EQ(text(1e300), "none");
}
