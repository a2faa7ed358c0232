#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "screens/ScheduleLines.h"
#include "toolkit/base/NumberPunctuation.h"

using namespace MyApp;
using LumoUtility::DateTimeValue;

namespace {

const std::locale kItalian = LumoUtility::LocaleWithPunctuation({',', '.', "\3"});
const std::locale kEnglish = LumoUtility::LocaleWithPunctuation({'.', ',', "\3"});
const DateTimeValue kNoDate;

DateTimeValue Day(int year, int month, int day) { return LumoUtility::MakeDate(year, month, day); }

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

TEST(ScheduleByTime, DueOnceTheCalendarMonthsHavePassed) {
  const struct {
    const char* what;
    DateTimeValue done;
    int months;
    DateTimeValue today;
    bool due;
  } cases[] = {
      {"exactly the months", Day(2021, 3, 15), 60, Day(2026, 3, 15), true},
      {"one day less", Day(2021, 3, 15), 60, Day(2026, 3, 14), false},
      {"31st into February", Day(2025, 8, 31), 6, Day(2026, 2, 28), true},
      {"31st into February, a day less", Day(2025, 8, 31), 6, Day(2026, 2, 27), false},
      {"31st into a leap February", Day(2023, 8, 31), 6, Day(2024, 2, 28), false},
      {"31st into a leap February, its 29th", Day(2023, 8, 31), 6, Day(2024, 2, 29), true},
      {"29 February into a common year", Day(2024, 2, 29), 12, Day(2025, 2, 28), true},
      {"29 February, a day less", Day(2024, 2, 29), 12, Day(2025, 2, 27), false},
      {"29 February into a leap year", Day(2024, 2, 29), 48, Day(2028, 2, 28), false},
      {"240 months", Day(2006, 3, 15), 240, Day(2026, 3, 15), true},
      {"241 months count as none", Day(2000, 1, 1), 241, Day(2026, 3, 15), false},
      {"no date: km only", kNoDate, 1, Day(2026, 3, 15), false},
      {"invalid date: km only", Day(2025, 2, 30), 1, Day(2026, 3, 15), false},
      {"invalid today: km only", Day(2000, 1, 1), 1, Day(2025, 2, 30), false},
  };
  for (const auto& c : cases) {
    bool due = StatusOf(200, Row(100, c.done), c.months, c.today) == ScheduleStatus::Due;
    EXPECT_EQ(due, c.due) << c.what;
  }
}

TEST(ScheduleByTime, NoMonthsGiveTheKilometreLines) {
  std::mt19937 random(20261207);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<>(low, high)(random); };
  auto texts = [](const ScheduleLine& l) {
    return std::tie(l.status, l.intervention, l.date, l.km, l.cost, l.left);
  };
  for (int history = 0; history < 200; ++history) {
    std::vector<ScheduleRow> rows(pick(0, 8));
    for (ScheduleRow& row : rows) {
      row = Row(pick(0, 3) == 0 ? 0 : pick(-100, 200000),
                pick(0, 2) == 0 ? kNoDate : Day(pick(1990, 2030), pick(1, 12), pick(1, 28)),
                pick(0, 1) == 1);
      row.ID_INTERVENTO = pick(1, 20);
      row.CADENZAKM = pick(0, 60000);
      row.COSTO = pick(-1, 1) * pick(0, 100000) / 7.0;
    }
    std::int32_t vehicleKm = pick(-100, 300000);
    auto old = BuildScheduleLines(vehicleKm, rows, kItalian);
    // Kinds 3 and 4 carry values that count as none; 99 is in no row.
    for (const MonthsByKind& months : {MonthsByKind{}, MonthsByKind{{99, 12}, {3, 0}, {4, 241}}}) {
      auto lines = BuildScheduleLines(vehicleKm, rows, kItalian, months, Day(2030, 1, 1));
      ASSERT_EQ(lines.size(), rows.size());
      for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(lines[i].status, StatusOf(vehicleKm, rows[i]));
        EXPECT_TRUE(texts(lines[i]) == texts(old[i]));
      }
    }
  }
}

TEST(ScheduleByTime, WhatIsLeftInTheUsersNumbers) {
  const struct {
    ScheduleRow row;
    std::int32_t vehicleKm;
    int months;
    const char* italian;
  } cases[] = {
      {Row(10000, Day(2022, 3, 15)), 12800, 0, "Prossimo: tra 3.200 km"},
      {Row(10000, Day(2022, 3, 15)), 12800, 60, "Prossimo: tra 3.200 km o entro il 15/03/2027"},
      {Row(10000, Day(2022, 3, 15)), 17500, 60, "Scaduto da 1.500 km"},
      {Row(10000, Day(2021, 3, 15)), 12800, 60, "Scaduto dal 15/03/2026"},
      {Row(10000, Day(2021, 3, 15)), 17500, 60, "Scaduto da 1.500 km e dal 15/03/2026"},
      {Row(10000, kNoDate), 16000, 60, "Prossimo: tra 0 km"},
      {Row(0, kNoDate, true), 200, 60, "Prossimo: tra 800 km"},    // to the 1.000 km reading
      {Row(0, kNoDate, true), 13000, 60, "Scaduto da 12.000 km"},  // due since 1.000 km
  };
  for (const auto& c : cases) {
    auto left = [&](const std::locale& locale) {
      return BuildScheduleLines(c.vehicleKm, {c.row}, locale, {{7, c.months}}, Day(2026, 12, 7))[0]
          .left;
    };
    EXPECT_EQ(left(kItalian), c.italian);
    // The English-like text is the Italian one with the two separators swapped.
    std::string english = c.italian;
    std::replace(english.begin(), english.end(), '.', ',');
    EXPECT_EQ(left(kEnglish), english);
  }
}
