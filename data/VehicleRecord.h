#pragma once
#include <cstdint>
#include <string>

#include "toolkit/base/DateTimeValue.h"

// A row of VEICOLO, copied by value.
struct VehicleRecord {
  std::int32_t ID = 0;  // 0: not stored yet
  std::string TARGA;
  std::string DESCRIZIONE;
  std::int32_t KM = 0;
  LumoUtility::DateTimeValue DATA_KM;  // 1900-01-01 when no date is set
  bool HasDate = false;                // false: DATA_KM is NULL in the database
};
