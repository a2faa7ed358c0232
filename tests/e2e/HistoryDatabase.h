#pragma once
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A vehicle and its history written straight into a database file with the engine, for
// the history's end-to-end runs and its benchmark.
namespace e2e {

// An intervention as stored in INTERVENTI_VEICOLO.
struct StoredIntervention {
  double date;  // OLE days
  std::int32_t kind;
  std::int32_t km;
  double cost;
  std::u16string note;
};

// The day as the database stores a date.
double OleDay(WORD year, WORD month, WORD day);

// A long history: one intervention a day from 1 January 1999, the catalogue's 25 kinds
// in turn from "Olio motore", km growing by 10 from 1,000, costs of 10 to 109.
std::vector<StoredIntervention> LongHistory(int count);

// Adds the vehicle (the first of the file, so its ID is 1) with the interventions, in one
// write.
void StoreVehicle(const std::filesystem::path& database, const std::u16string& plate,
                  std::int32_t km, const std::vector<StoredIntervention>& history);

}  // namespace e2e
