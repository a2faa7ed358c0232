#include "screens/HistoryCsv.h"

#include <cstring>

#include "screens/HistoryLines.h"
#include "toolkit/base/CsvText.h"
#include "toolkit/base/NumberPunctuation.h"
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
  std::string text;
  LumoUtility::StringCsvSink sink(text);
  LumoUtility::CsvWriter csv(sink, kSeparator, "\r\n");
  for (const char* name : {"Targa", "Data", "Km", "Intervento", "Costo", "Note"}) csv.Text(name);
  csv.EndLine();
  for (std::size_t index : order) {
    const VehicleIntervention& row = rows.at(index);
    csv.Text(plate);
    LumoUtility::AppendDayMonthYear(csv.Unquoted(), row.DATA);
    csv.Integer(row.KM);
    csv.Text(row.INTERVENTO);
    csv.Text(HistoryCost(row.COSTO, decimalComma));
    csv.Text(row.NOTE);
    csv.EndLine();
  }
  csv.Flush();
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
