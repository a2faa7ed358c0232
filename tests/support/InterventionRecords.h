#pragma once
#include <cstdint>
#include <string>

#include "data/VehicleIntervention.h"

// An intervention done, as the intervention form hands it to the store.
inline VehicleIntervention Done(std::int32_t kind, std::int32_t km, LumoUtility::DateTimeValue date,
                                double cost, const std::string& notes) {
  VehicleIntervention done;
  done.ID_INTERVENTO = kind;
  done.KM = km;
  done.DATA = date;
  done.COSTO = cost;
  done.NOTE = notes;
  return done;
}
