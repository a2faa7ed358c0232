#include "screens/HistoryLines.h"

#include <algorithm>
#include <cctype>
#include <numeric>
#include <sstream>
#include <tuple>

#include "toolkit/base/StringReplace.h"

namespace MyApp {
namespace {

auto DateKey(const LumoUtility::DateTimeValue& date) {
  return std::make_tuple(date.year, date.month, date.day, date.hour, date.minute, date.second);
}

bool TextBefore(const std::string& left, const std::string& right) {
  return std::lexicographical_compare(
      left.begin(), left.end(), right.begin(), right.end(),
      [](unsigned char a, unsigned char b) { return std::tolower(a) < std::tolower(b); });
}

bool Before(const VehicleIntervention& left, const VehicleIntervention& right, int column) {
  switch (column) {
    case kHistoryDate: return DateKey(left.DATA) < DateKey(right.DATA);
    case kHistoryKm: return left.KM < right.KM;
    case kHistoryKind: return TextBefore(left.INTERVENTO, right.INTERVENTO);
    case kHistoryCost: return left.COSTO < right.COSTO;
    case kHistoryNotes: return TextBefore(left.NOTE, right.NOTE);
    default: return false;
  }
}

}  // namespace

std::string GroupedNumber(std::int32_t number, const std::locale& numberLocale) {
  std::ostringstream stream;
  stream.imbue(numberLocale);
  stream << number;
  return stream.str();
}

std::string HistoryCost(double cost, const std::locale& numberLocale) {
  std::ostringstream stream;
  stream.imbue(numberLocale);
  stream << std::fixed;
  stream.precision(2);
  stream << cost;
  return stream.str();
}

std::string HistoryCellText(const VehicleIntervention& row, int column,
                            const std::locale& numberLocale) {
  switch (column) {
    case kHistoryDate: return LumoUtility::FormatDayMonthYear(row.DATA);
    case kHistoryKm: return GroupedNumber(row.KM, numberLocale);
    case kHistoryKind: return row.INTERVENTO;
    case kHistoryCost: return HistoryCost(row.COSTO, numberLocale);
    case kHistoryNotes: return LumoUtility::LineBreaksAsBlanks(row.NOTE);
    default: return std::string();
  }
}

std::vector<std::size_t> SortedHistoryOrder(const std::vector<VehicleIntervention>& rows,
                                            int column, bool descending) {
  std::vector<std::size_t> order(rows.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t left, std::size_t right) {
    return descending ? Before(rows[right], rows[left], column)
                      : Before(rows[left], rows[right], column);
  });
  return order;
}

}  // namespace MyApp
