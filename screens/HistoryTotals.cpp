#include "screens/HistoryTotals.h"

#include <functional>
#include <map>

namespace MyApp {

HistoryTotals TotalsByYear(const std::vector<VehicleIntervention>& rows) {
  std::map<int, InterventionTotal, std::greater<int>> byYear;
  HistoryTotals totals;
  for (const VehicleIntervention& row : rows) {
    InterventionTotal& year = byYear[row.DATA.year];
    year.year = row.DATA.year;
    ++year.count;
    year.cost += row.COSTO;
    ++totals.overall.count;
    totals.overall.cost += row.COSTO;
  }
  for (const auto& entry : byYear) totals.years.push_back(entry.second);
  return totals;
}

}  // namespace MyApp
