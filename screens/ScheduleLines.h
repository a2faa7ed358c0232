#pragma once
#include <cstdint>
#include <locale>
#include <string>
#include <vector>

#include "data/VehicleIntervention.h"

namespace MyApp {

enum class ScheduleStatus { InOrder, Due };

// What the main window shows for one catalogue intervention.
struct ScheduleLine {
  ScheduleStatus status = ScheduleStatus::InOrder;
  std::string intervention;  // "Intervento"
  std::string date;          // "Data": DD/MM/YYYY, or empty
  std::string km;            // "Km": grouped the user's way, or empty
  std::string cost;          // "Costo": the user's decimal separator, or empty
};

// Kilometres travelled beyond which a row of the schedule falls due again.
ScheduleStatus StatusOf(std::int32_t vehicleKm, const ScheduleRow& row);

// One line per row, same order. Numbers are written with the given locale's punctuation
// (the user's regional settings in the program).
std::vector<ScheduleLine> BuildScheduleLines(std::int32_t vehicleKm,
                                             const std::vector<ScheduleRow>& rows,
                                             const std::locale& numberLocale);

}  // namespace MyApp
