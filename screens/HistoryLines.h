#pragma once
#include <cstddef>
#include <locale>
#include <string>
#include <vector>

#include "data/VehicleIntervention.h"

namespace MyApp {

// The columns of a vehicle's history, in the order the history form shows them.
enum HistoryColumn { kHistoryDate, kHistoryKm, kHistoryKind, kHistoryCost, kHistoryNotes };
constexpr int kHistoryColumnCount = 5;

// The text of one cell: the date DD/MM/YYYY, the km and the cost (two decimals) in the
// given locale's punctuation, the kind's name, the notes on one line.
std::string HistoryCellText(const VehicleIntervention& row, int column,
                            const std::locale& numberLocale);
// A whole number in the locale's punctuation ("95.000").
std::string GroupedNumber(std::int32_t number, const std::locale& numberLocale);
// A cost as the history shows it: two decimals, the locale's punctuation ("1.234,50").
std::string HistoryCost(double cost, const std::locale& numberLocale);

// The rows' indexes ordered by the column, ascending or descending, as values (dates and
// numbers) or as texts without regard to case. Stable: rows that compare equal keep the
// order they have in `rows`.
std::vector<std::size_t> SortedHistoryOrder(const std::vector<VehicleIntervention>& rows,
                                            int column, bool descending);

}  // namespace MyApp
