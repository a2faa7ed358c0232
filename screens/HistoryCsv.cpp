#include "screens/HistoryCsv.h"

#include <cstring>

#include "screens/HistoryLines.h"
#include "toolkit/base/CsvText.h"
#include "toolkit/base/NumberPunctuation.h"
#include "toolkit/base/NumberText.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

constexpr char kSeparator = ';';
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

}  // namespace

std::vector<std::uint8_t> HistoryCsvFile(const std::string& plate,
                                         const std::vector<VehicleIntervention>& rows,
                                         const std::vector<std::size_t>& order) {
  // Whatever the user's settings: the file must read the same on every machine.
  const std::locale decimalComma =
      LumoUtility::LocaleWithPunctuation(LumoUtility::NumberPunctuation{',', '.', ""});
  std::string text =
      LumoUtility::CsvLine({"Targa", "Data", "Km", "Intervento", "Costo", "Note"}, kSeparator);
  for (std::size_t index : order) {
    const VehicleIntervention& row = rows.at(index);
    text += LumoUtility::CsvLine(
        {plate, LumoUtility::FormatDayMonthYear(row.DATA), LumoUtility::IntToText(row.KM),
         row.INTERVENTO, HistoryCost(row.COSTO, decimalComma), row.NOTE},
        kSeparator);
  }
  const std::string bytes = kByteOrderMark + LumoUtility::ToUtf8(text);
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::string HistoryFileName(const std::string& plate) {
  std::string name = plate;
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/\\|?*", c)) c = '_';
  }
  return "Storico_" + name + ".csv";
}

}  // namespace MyApp
