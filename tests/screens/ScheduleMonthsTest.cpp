#include <gtest/gtest.h>

#include <random>

#include "screens/ScheduleLines.h"
#include "toolkit/base/NumberPunctuation.h"

using namespace MyApp;
using LumoUtility::DateTimeValue;
using LumoUtility::MakeDate;

namespace {

const std::locale kItalian = LumoUtility::LocaleWithPunctuation({',', '.', "\3"});
const std::locale kEnglish = LumoUtility::LocaleWithPunctuation({'.', ',', "\3"});
const DateTimeValue kNoDate;

ScheduleRow Row(std::int32_t km, DateTimeValue date, bool runningIn = false) {
  ScheduleRow row;
  row.ID_INTERVENTO = 7;
  row.KM = km;
  row.DATA = date;
  row.CADENZAKM = 6000;
  row.FINERODAGGIO = runningIn;
  return row;
}

}  // namespace

TEST(ScheduleByTime, DueOnceTheMonthsHavePassed) {
  struct Case {
    const char* what;
    ScheduleRow row;
    std::int32_t vehicleKm;
    int months;
    DateTimeValue today;
    ScheduleStatus expected;
  };
  const ScheduleStatus due = ScheduleStatus::Due, ok = ScheduleStatus::InOrder;
  DateTimeValue invalid = MakeDate(2025, 2, 30);
  const Case cases[] = {
      {"exactly the months", Row(100, MakeDate(2021, 3, 15)), 200, 60, MakeDate(2026, 3, 15), due},
      {"one day less", Row(100, MakeDate(2021, 3, 15)), 200, 60, MakeDate(2026, 3, 14), ok},
      {"31st into February", Row(100, MakeDate(2025, 8, 31)), 200, 6, MakeDate(2026, 2, 28), due},
      {"31st into February, day before", Row(100, MakeDate(2025, 8, 31)), 200, 6,
       MakeDate(2026, 2, 27), ok},
      {"31st into a leap February", Row(100, MakeDate(2023, 8, 31)), 200, 6, MakeDate(2024, 2, 28),
       ok},
      {"31st into a leap February, its 29th", Row(100, MakeDate(2023, 8, 31)), 200, 6,
       MakeDate(2024, 2, 29), due},
      {"29 February into a common year", Row(100, MakeDate(2024, 2, 29)), 200, 12,
       MakeDate(2025, 2, 28), due},
      {"29 February into a common year, day before", Row(100, MakeDate(2024, 2, 29)), 200, 12,
       MakeDate(2025, 2, 27), ok},
      {"29 February into a leap year", Row(100, MakeDate(2024, 2, 29)), 200, 48,
       MakeDate(2028, 2, 28), ok},
      {"240 months", Row(100, MakeDate(2006, 3, 15)), 200, 240, MakeDate(2026, 3, 15), due},
      {"more than 240 months count as none", Row(100, MakeDate(2000, 1, 1)), 200, 241,
       MakeDate(2026, 3, 15), ok},
      {"no date: km only", Row(100, kNoDate), 200, 1, MakeDate(2026, 3, 15), ok},
      {"invalid date: km only", Row(100, invalid), 200, 1, MakeDate(2026, 3, 15), ok},
      {"invalid today: km only", Row(100, MakeDate(2000, 1, 1)), 200, 1, invalid, ok},
      {"due by km before the date", Row(100, MakeDate(2026, 1, 1)), 6101, 12, MakeDate(2026, 3, 15),
       due},
      {"never done, within the cadence", Row(0, kNoDate), 6000, 1, MakeDate(2026, 3, 15), ok},
      {"never done, running-in", Row(0, kNoDate, true), 1000, 1, MakeDate(2026, 3, 15), due},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StatusOf(c.vehicleKm, c.row, c.months, c.today), c.expected) << c.what;
    auto lines = BuildScheduleLines(c.vehicleKm, {c.row}, kItalian, {{7, c.months}}, c.today);
    EXPECT_EQ(lines[0].status, c.expected) << c.what;
  }
}

TEST(ScheduleByTime, NoMonthsGiveTheKilometreLines) {
  std::mt19937 random(20261207);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<>(low, high)(random); };
  for (int history = 0; history < 200; ++history) {
    std::vector<ScheduleRow> rows(pick(0, 8));
    for (ScheduleRow& row : rows) {
      row = Row(pick(0, 3) == 0 ? 0 : pick(-100, 200000),
                pick(0, 2) == 0 ? kNoDate : MakeDate(pick(1990, 2030), pick(1, 12), pick(1, 28)),
                pick(0, 1) == 1);
      row.ID_INTERVENTO = pick(1, 20);
      row.CADENZAKM = pick(0, 60000);
      row.COSTO = pick(-1, 1) * pick(0, 100000) / 7.0;
    }
    std::int32_t vehicleKm = pick(-100, 300000);
    DateTimeValue today = MakeDate(pick(1990, 2040), pick(1, 12), pick(1, 28));
    auto old = BuildScheduleLines(vehicleKm, rows, kItalian);
    // Kinds 3 and 4 carry values that count as none; 99 is in no row.
    for (const MonthsByKind& months : {MonthsByKind{}, MonthsByKind{{99, 12}, {3, 0}, {4, 241}}}) {
      auto lines = BuildScheduleLines(vehicleKm, rows, kItalian, months, today);
      ASSERT_EQ(lines.size(), rows.size());
      for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(lines[i].status, StatusOf(vehicleKm, rows[i]));
        EXPECT_EQ(lines[i].status, old[i].status);
        EXPECT_EQ(lines[i].intervention, old[i].intervention);
        EXPECT_EQ(lines[i].date, old[i].date);
        EXPECT_EQ(lines[i].km, old[i].km);
        EXPECT_EQ(lines[i].cost, old[i].cost);
        EXPECT_EQ(lines[i].left, old[i].left);
      }
    }
  }
}

TEST(ScheduleByTime, WhatIsLeft) {
  struct Case {
    ScheduleRow row;
    std::int32_t vehicleKm;
    int months;
    const char* italian;
    const char* english;
  };
  const DateTimeValue today = MakeDate(2026, 12, 7);
  const Case cases[] = {
      {Row(10000, MakeDate(2021, 3, 15)), 12800, 0, "Prossimo: tra 3.200 km",
       "Prossimo: tra 3,200 km"},
      {Row(10000, MakeDate(2022, 3, 15)), 12800, 60, "Prossimo: tra 3.200 km o entro il 15/03/2027",
       "Prossimo: tra 3,200 km o entro il 15/03/2027"},
      {Row(10000, MakeDate(2022, 3, 15)), 16000, 60, "Prossimo: tra 0 km o entro il 15/03/2027",
       "Prossimo: tra 0 km o entro il 15/03/2027"},
      {Row(10000, MakeDate(2022, 3, 15)), 17500, 60, "Scaduto da 1.500 km", "Scaduto da 1,500 km"},
      {Row(10000, MakeDate(2021, 3, 15)), 12800, 60, "Scaduto dal 15/03/2026",
       "Scaduto dal 15/03/2026"},
      {Row(10000, MakeDate(2021, 3, 15)), 17500, 60, "Scaduto da 1.500 km e dal 15/03/2026",
       "Scaduto da 1,500 km e dal 15/03/2026"},
      {Row(10000, kNoDate), 12800, 60, "Prossimo: tra 3.200 km", "Prossimo: tra 3,200 km"},
      {Row(0, kNoDate, true), 200, 60, "Prossimo: tra 800 km", "Prossimo: tra 800 km"},
      {Row(0, kNoDate, true), 1500, 60, "Scaduto da 500 km", "Scaduto da 500 km"},
      {Row(0, kNoDate, true), 13000, 60, "Scaduto da 12.000 km", "Scaduto da 12,000 km"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BuildScheduleLines(c.vehicleKm, {c.row}, kItalian, {{7, c.months}}, today)[0].left,
              c.italian);
    EXPECT_EQ(BuildScheduleLines(c.vehicleKm, {c.row}, kEnglish, {{7, c.months}}, today)[0].left,
              c.english);
  }
}
