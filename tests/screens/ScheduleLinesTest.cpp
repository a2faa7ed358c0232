#include "screens/ScheduleLines.h"

#include <gtest/gtest.h>

#include "toolkit/base/NumberPunctuation.h"

using namespace MyApp;
using LumoUtility::MakeDate;

namespace {

const std::locale kItalian = LumoUtility::LocaleWithPunctuation({',', '.', "\3"});

ScheduleRow Row(std::int32_t km, std::int32_t cadence, bool runningIn) {
  ScheduleRow row;
  row.INTERVENTO = "Olio motore";
  row.KM = km;
  row.CADENZAKM = cadence;
  row.FINERODAGGIO = runningIn;
  return row;
}

struct StatusCase {
  const char* what;
  std::int32_t vehicleKm;
  std::int32_t rowKm;
  std::int32_t cadence;
  bool runningIn;
  ScheduleStatus expected;
};

}  // namespace

TEST(ScheduleStatus, DueRule) {
  const ScheduleStatus due = ScheduleStatus::Due;
  const ScheduleStatus ok = ScheduleStatus::InOrder;
  const StatusCase cases[] = {
      {"distance equal to the cadence", 18000, 12000, 6000, false, ok},
      {"one km beyond the cadence", 18001, 12000, 6000, false, due},
      {"never done, within the cadence", 6000, 0, 6000, false, ok},
      {"never done, beyond the cadence", 6001, 0, 6000, false, due},
      {"running-in, never done, 999 km", 999, 0, 6000, true, ok},
      {"running-in, never done, 1000 km", 1000, 0, 6000, true, due},
      {"running-in, never done, beyond the cadence", 7000, 0, 6000, true, due},
      {"running-in rule only for rows never done", 5000, 800, 6000, true, ok},
      {"odometer below the last intervention", 500, 12000, 6000, false, ok},
      {"below the last intervention, running-in, never done", 1500, 0, 6000, true, due},
      {"cadence 0, odometer equal", 12000, 12000, 0, false, ok},
      {"cadence 0, one km more", 12001, 12000, 0, false, due},
      {"negative odometer", -5, 0, 6000, true, ok},
      {"extreme values do not wrap", INT32_MAX, INT32_MIN, 6000, false, due},
      {"extreme values do not wrap the other way", INT32_MIN, INT32_MAX, 0, false, ok},
  };
  for (const StatusCase& c : cases) {
    EXPECT_EQ(StatusOf(c.vehicleKm, Row(c.rowKm, c.cadence, c.runningIn)), c.expected) << c.what;
  }
}

TEST(ScheduleLines, TextsOfADoneIntervention) {
  ScheduleRow row = Row(12000, 6000, false);
  row.DATA = MakeDate(2021, 3, 5);
  row.COSTO = 45.5;
  auto lines = BuildScheduleLines(13000, {row}, kItalian);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].intervention, "Olio motore");
  EXPECT_EQ(lines[0].date, "05/03/2021");
  EXPECT_EQ(lines[0].km, "12.000");
  EXPECT_EQ(lines[0].cost, "45,5");
  EXPECT_EQ(lines[0].status, ScheduleStatus::InOrder);
}

TEST(ScheduleLines, NeverDoneShowsOnlyTheName) {
  auto lines = BuildScheduleLines(7000, {Row(0, 6000, false)}, kItalian);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].date, "");
  EXPECT_EQ(lines[0].km, "");
  EXPECT_EQ(lines[0].cost, "");
  EXPECT_EQ(lines[0].status, ScheduleStatus::Due);
}

TEST(ScheduleLines, RecordedAtZeroKmShowsDateAndCostButCountsAsNeverDone) {
  ScheduleRow row = Row(0, 6000, true);
  row.DATA = MakeDate(2020, 1, 2);
  row.COSTO = 1234567.0;
  auto lines = BuildScheduleLines(1000, {row}, kItalian);
  EXPECT_EQ(lines[0].date, "02/01/2020");
  EXPECT_EQ(lines[0].km, "");
  EXPECT_EQ(lines[0].cost, "1.234.567");  // every digit stored, never an exponent
  EXPECT_EQ(lines[0].status, ScheduleStatus::Due);
}

TEST(ScheduleLines, YearsUpTo1900AndNonPositiveCostsAreBlank) {
  ScheduleRow row = Row(-3, 6000, false);
  row.DATA = MakeDate(1900, 12, 31);
  row.COSTO = -10.0;
  auto lines = BuildScheduleLines(0, {row}, kItalian);
  EXPECT_EQ(lines[0].date, "");
  EXPECT_EQ(lines[0].km, "");
  EXPECT_EQ(lines[0].cost, "");
  row.DATA = MakeDate(1901, 1, 1);
  row.COSTO = 0.5;
  row.KM = 1;
  lines = BuildScheduleLines(0, {row}, kItalian);
  EXPECT_EQ(lines[0].date, "01/01/1901");
  EXPECT_EQ(lines[0].km, "1");
  EXPECT_EQ(lines[0].cost, "0,5");
}

TEST(ScheduleLines, KeepsTheOrderAndHandlesAnEmptyList) {
  EXPECT_TRUE(BuildScheduleLines(1000, {}, kItalian).empty());
  std::vector<ScheduleRow> rows = {Row(0, 100, false), Row(0, 5000, false), Row(0, 900, true)};
  rows[0].INTERVENTO = "A";
  rows[1].INTERVENTO = "B";
  rows[2].INTERVENTO = "C";
  auto lines = BuildScheduleLines(950, rows, kItalian);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].intervention, "A");
  EXPECT_EQ(lines[0].status, ScheduleStatus::Due);
  EXPECT_EQ(lines[1].intervention, "B");
  EXPECT_EQ(lines[1].status, ScheduleStatus::InOrder);
  EXPECT_EQ(lines[2].intervention, "C");
  EXPECT_EQ(lines[2].status, ScheduleStatus::Due);  // 950 > 900 by the cadence
}
