#include "toolkit/base/CsvText.h"

#include "toolkit/base/StringReplace.h"

namespace LumoUtility {

std::string CsvField(const std::string& text, char separator) {
  const std::string special{separator, '"', '\r', '\n'};
  if (text.find_first_of(special) == std::string::npos) return text;
  return "\"" + ReplaceAll(text, "\"", "\"\"") + "\"";
}

std::string CsvLine(const std::vector<std::string>& fields, char separator) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line.push_back(separator);
    line += CsvField(fields[i], separator);
  }
  return line + "\r\n";
}

}  // namespace LumoUtility
