#include "screens/ScheduleLines.h"

#include <algorithm>
#include <sstream>

#include "toolkit/base/CalendarMonths.h"
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

constexpr int kMaxMonths = 240;

// Where a row stands against both rules; the status and the tooltip read the same facts.
struct Standing {
  bool dueByKm = false;
  std::int64_t km = 0;  // km left when not due by km, km beyond the limit when due
  bool timed = false;   // the row also falls due on dueDate
  bool dueByTime = false;
  LumoUtility::DateTimeValue dueDate;
};

Standing StandingOf(std::int32_t vehicleKm, const ScheduleRow& row, int months,
                    const LumoUtility::DateTimeValue& today) {
  Standing standing;
  standing.dueByKm = StatusOf(vehicleKm, row) == ScheduleStatus::Due;
  std::int64_t cadenceLeft = std::int64_t{row.CADENZAKM} - (std::int64_t{vehicleKm} - row.KM);
  // The running-in limit is a reading, not a distance: km to 1000 while below it.
  bool runningIn = row.KM == 0 && row.FINERODAGGIO;
  std::int64_t runningInLeft = std::int64_t{kRunningInKm} - vehicleKm;
  if (standing.dueByKm) {
    standing.km = -cadenceLeft;
    if (runningIn) standing.km = std::max(standing.km, -runningInLeft);
  } else {
    standing.km = runningIn ? std::min(cadenceLeft, runningInLeft) : cadenceLeft;
  }
  bool dated = !row.DATA.invalid && row.DATA.year > 1900;
  if (months >= 1 && months <= kMaxMonths && dated && !today.invalid) {
    standing.dueDate = LumoUtility::AddCalendarMonths(row.DATA, months);
    standing.timed = !standing.dueDate.invalid;
    standing.dueByTime = standing.timed && LumoUtility::CompareDays(today, standing.dueDate) >= 0;
  }
  return standing;
}

ScheduleStatus StatusOf(const Standing& standing) {
  return standing.dueByKm || standing.dueByTime ? ScheduleStatus::Due : ScheduleStatus::InOrder;
}

std::string LeftText(const Standing& standing, const std::locale& numberLocale) {
  std::string date = LumoUtility::FormatDayMonthYear(standing.dueDate);
  if (standing.dueByKm) {
    std::string text = "Scaduto da " + InLocale(standing.km, numberLocale) + " km";
    return standing.dueByTime ? text + " e dal " + date : text;
  }
  if (standing.dueByTime) return "Scaduto dal " + date;
  std::string text = "Prossimo: tra " + InLocale(standing.km, numberLocale) + " km";
  return standing.timed ? text + " o entro il " + date : text;
}

int MonthsOf(const MonthsByKind& monthsByKind, std::int32_t kind) {
  auto found = monthsByKind.find(kind);
  return found == monthsByKind.end() ? 0 : found->second;
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

ScheduleStatus StatusOf(std::int32_t vehicleKm, const ScheduleRow& row, int months,
                        const LumoUtility::DateTimeValue& today) {
  return StatusOf(StandingOf(vehicleKm, row, months, today));
}

std::vector<ScheduleLine> BuildScheduleLines(std::int32_t vehicleKm,
                                             const std::vector<ScheduleRow>& rows,
                                             const std::locale& numberLocale) {
  return BuildScheduleLines(vehicleKm, rows, numberLocale, MonthsByKind{},
                            LumoUtility::DateTimeValue{});
}

std::vector<ScheduleLine> BuildScheduleLines(std::int32_t vehicleKm,
                                             const std::vector<ScheduleRow>& rows,
                                             const std::locale& numberLocale,
                                             const MonthsByKind& monthsByKind,
                                             const LumoUtility::DateTimeValue& today) {
  std::vector<ScheduleLine> lines;
  lines.reserve(rows.size());
  for (const ScheduleRow& row : rows) {
    ScheduleLine line;
    Standing standing =
        StandingOf(vehicleKm, row, MonthsOf(monthsByKind, row.ID_INTERVENTO), today);
    line.status = StatusOf(standing);
    line.left = LeftText(standing, numberLocale);
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
