#pragma once
#include <cstdint>
#include <locale>
#include <map>
#include <string>
#include <vector>

#include "data/VehicleIntervention.h"
#include "toolkit/base/DateTimeValue.h"

namespace MyApp {

enum class ScheduleStatus { InOrder, Due };

// What the main window shows for one catalogue intervention.
struct ScheduleLine {
  ScheduleStatus status = ScheduleStatus::InOrder;
  std::string intervention;  // "Intervento"
  std::string date;          // "Data": DD/MM/YYYY, or empty
  std::string km;            // "Km": grouped the user's way, or empty
  std::string cost;          // "Costo": the user's decimal separator, or empty
  // The face's tooltip: what is left before the line falls due, or since when it is due
  // ("Prossimo: tra 3.200 km o entro il 15/03/2027", "Scaduto da 1.500 km e dal 15/03/2026").
  // The km are the cadence less the distance travelled; a running-in kind never done also
  // counts them to the 1.000 km reading, and shows the nearer limit, or once due the larger
  // overshoot. The date is the one on which the line falls due by time.
  std::string left;
};

// Catalogue kinds that also fall due by time: months (1..240) by catalogue ID
// (ID_INTERVENTO). A kind without an entry, or with a value outside 1..240, is due by
// kilometres alone.
using MonthsByKind = std::map<std::int32_t, int>;

// Kilometres travelled beyond which a row of the schedule falls due again.
ScheduleStatus StatusOf(std::int32_t vehicleKm, const ScheduleRow& row);

// The same, and also due once today (its calendar day; the time of day is ignored) has
// reached the last intervention's date plus the given calendar months (see
// LumoUtility::AddCalendarMonths). Months outside 1..240, a last intervention without a
// date after 1900 or an invalid one, and an invalid today leave the kilometre rule alone.
ScheduleStatus StatusOf(std::int32_t vehicleKm, const ScheduleRow& row, int months,
                        const LumoUtility::DateTimeValue& today);

// One line per row, same order. Numbers are written with the given locale's punctuation
// (the user's regional settings in the program).
std::vector<ScheduleLine> BuildScheduleLines(std::int32_t vehicleKm,
                                             const std::vector<ScheduleRow>& rows,
                                             const std::locale& numberLocale);

// The same with the kinds due by time as well (StatusOf with months). With no months for
// any of the rows the lines are those of the overload above.
std::vector<ScheduleLine> BuildScheduleLines(std::int32_t vehicleKm,
                                             const std::vector<ScheduleRow>& rows,
                                             const std::locale& numberLocale,
                                             const MonthsByKind& monthsByKind,
                                             const LumoUtility::DateTimeValue& today);

}  // namespace MyApp
