#pragma once
#include <string>
#include <vector>

namespace LumoUtility {

// Lines of a CSV file as spreadsheet programs read them back.

// The field as it is when it holds neither the separator, a double quote, CR nor LF;
// otherwise enclosed in double quotes with every inner double quote doubled.
std::string CsvField(const std::string& text, char separator);
// The fields, each as CsvField writes it, joined by the separator and ended by CR LF.
std::string CsvLine(const std::vector<std::string>& fields, char separator);

}  // namespace LumoUtility
