#include "screens/ScheduleLines.h"

#include <sstream>

#include "toolkit/base/CurrencyText.h"

namespace MyApp {
namespace {

// Below this reading the running-in interventions are not due yet.
constexpr std::int32_t kRunningInKm = 1000;

template <typename Number>
std::string InLocale(Number value, const std::locale& numberLocale) {
  std::ostringstream stream;
  stream.imbue(numberLocale);
  stream << value;
  return stream.str();
}

}  // namespace

ScheduleStatus StatusOf(std::int32_t vehicleKm, const ScheduleRow& row) {
  // Widened so that absurd readings cannot overflow into a wrong answer.
  std::int64_t distance = std::int64_t{vehicleKm} - row.KM;
  if (distance > row.CADENZAKM) return ScheduleStatus::Due;
  // A row at 0 km was never done: a running-in intervention is due from 1000 km.
  if (row.KM == 0 && vehicleKm >= kRunningInKm && row.FINERODAGGIO) return ScheduleStatus::Due;
  return ScheduleStatus::InOrder;
}

std::vector<ScheduleLine> BuildScheduleLines(std::int32_t vehicleKm,
                                             const std::vector<ScheduleRow>& rows,
                                             const std::locale& numberLocale) {
  std::vector<ScheduleLine> lines;
  lines.reserve(rows.size());
  for (const ScheduleRow& row : rows) {
    ScheduleLine line;
    line.status = StatusOf(vehicleKm, row);
    line.intervention = row.INTERVENTO;
    if (row.DATA.year > 1900) line.date = LumoUtility::FormatDayMonthYear(row.DATA);
    if (row.KM >= 1) line.km = InLocale(row.KM, numberLocale);
    // With every digit the store keeps, so that the line shows what was stored.
    if (row.COSTO > 0.0) line.cost = LumoUtility::FormatCurrency(row.COSTO, numberLocale);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace MyApp
