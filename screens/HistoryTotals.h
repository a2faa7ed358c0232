#pragma once
#include <cstdint>
#include <vector>

#include "data/VehicleIntervention.h"

namespace MyApp {

// How many interventions and what they cost, in one calendar year or overall.
struct InterventionTotal {
  int year = 0;  // 0 for the overall total
  std::int32_t count = 0;
  double cost = 0.0;
};

struct HistoryTotals {
  std::vector<InterventionTotal> years;  // newest year first
  InterventionTotal overall;
};

// The totals of a vehicle's history by the year of each intervention's date.
HistoryTotals TotalsByYear(const std::vector<VehicleIntervention>& rows);

}  // namespace MyApp
