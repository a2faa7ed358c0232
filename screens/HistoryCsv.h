#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "data/VehicleIntervention.h"

namespace MyApp {

// A vehicle's history as a CSV file for spreadsheets: UTF-8 with a byte-order mark, ";"
// between fields, CR LF line ends, the header "Targa;Data;Km;Intervento;Costo;Note" and
// one line per row in the given order (dates DD/MM/YYYY, km in plain digits, costs with
// a decimal comma and two decimals without grouping, notes as stored).
std::vector<std::uint8_t> HistoryCsvFile(const std::string& plate,
                                         const std::vector<VehicleIntervention>& rows,
                                         const std::vector<std::size_t>& order);

// "Storico_<plate>.csv", with every character a file name cannot hold as "_".
std::string HistoryFileName(const std::string& plate);

}  // namespace MyApp
