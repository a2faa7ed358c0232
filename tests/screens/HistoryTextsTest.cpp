// The history's texts, order, totals and file name, without windows (the CSV file's bytes
// are checked through the form's export).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "screens/HistoryCsv.h"
#include "screens/HistoryLines.h"
#include "screens/HistoryTotals.h"
#include "tests/support/InterventionRecords.h"
#include "toolkit/base/NumberPunctuation.h"

using namespace MyApp;
using LumoUtility::MakeDate;
using testing::ElementsAre;

namespace {

const std::locale kItalian = LumoUtility::LocaleWithPunctuation({',', '.', "\3"});

VehicleIntervention Row(LumoUtility::DateTimeValue date, std::int32_t km, const char* kind,
                        double cost, const char* notes) {
  VehicleIntervention row = Done(0, km, date, cost, notes);
  row.INTERVENTO = kind;
  return row;
}

// As the store lists them: newest first.
const std::vector<VehicleIntervention> kRows = {
    Row(MakeDate(2026, 6, 10), 95000, "Olio motore", 84.5, "tagliando"),
    Row(MakeDate(2026, 1, 3), 9000, "candela", 1234, "B"),
    Row(MakeDate(2025, 11, 20), 100000, "Freni", 0, "a"),
    Row(MakeDate(2024, 2, 1), 9000, "Olio motore", 10.25, "riga\r\naltra"),
};

}  // namespace

TEST(HistoryLines, CellTextsInTheUsersPunctuation) {
  const char* expected[][kHistoryColumnCount] = {
      {"10/06/2026", "95.000", "Olio motore", "84,50", "tagliando"},
      {"03/01/2026", "9.000", "candela", "1.234,00", "B"},
      {"20/11/2025", "100.000", "Freni", "0,00", "a"},
      {"01/02/2024", "9.000", "Olio motore", "10,25", "riga altra"},
  };
  for (std::size_t row = 0; row < kRows.size(); ++row) {
    for (int column = 0; column < kHistoryColumnCount; ++column) {
      EXPECT_EQ(HistoryCellText(kRows[row], column, kItalian), expected[row][column]);
    }
  }
  EXPECT_EQ(HistoryCost(1234567.891, std::locale::classic()), "1234567.89");
}

TEST(HistoryLines, SortsByValueStablyBothWays) {
  const struct {
    int column;
    bool descending;
    std::vector<std::size_t> order;
  } cases[] = {
      {kHistoryDate, false, {3, 2, 1, 0}},
      {kHistoryDate, true, {0, 1, 2, 3}},
      {kHistoryKm, false, {1, 3, 0, 2}},  // 9000 < 95000 < 100000 as numbers; ties keep order
      {kHistoryKm, true, {2, 0, 1, 3}},
      {kHistoryKind, false, {1, 2, 0, 3}},  // without regard to case
      {kHistoryKind, true, {0, 3, 2, 1}},
      {kHistoryCost, false, {2, 3, 0, 1}},
      {kHistoryNotes, true, {0, 3, 1, 2}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SortedHistoryOrder(kRows, c.column, c.descending), c.order)
        << c.column << (c.descending ? " descending" : "");
  }
}

TEST(HistoryTotals, PerYearNewestFirstAndOverall) {
  const HistoryTotals totals = TotalsByYear(kRows);
  ASSERT_EQ(totals.years.size(), 3u);
  EXPECT_EQ(totals.years[0].year, 2026);
  EXPECT_EQ(totals.years[0].count, 2);
  EXPECT_DOUBLE_EQ(totals.years[0].cost, 1318.5);
  EXPECT_EQ(totals.years[1].year, 2025);
  EXPECT_EQ(totals.years[2].year, 2024);
  EXPECT_DOUBLE_EQ(totals.years[2].cost, 10.25);
  EXPECT_EQ(totals.overall.count, 4);
  EXPECT_DOUBLE_EQ(totals.overall.cost, 1328.75);
  EXPECT_TRUE(TotalsByYear({}).years.empty());
}

TEST(HistoryCsv, FileNameKeepsOnlyWhatFileNamesHold) {
  EXPECT_EQ(HistoryFileName("AB123CD"), "Storico_AB123CD.csv");
  EXPECT_EQ(HistoryFileName("A/B\\C:D*E?F\"G<H>I|J\tK"), "Storico_A_B_C_D_E_F_G_H_I_J_K.csv");
}
