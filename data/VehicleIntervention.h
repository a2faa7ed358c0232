#pragma once
#include <cstdint>
#include <string>

#include "toolkit/base/DateTimeValue.h"

// An intervention carried out on a vehicle (a row of INTERVENTI_VEICOLO) together with
// its catalogue data. The vehicle's ID travels beside it.
struct VehicleIntervention {
  std::int32_t ID = 0;              // 0: not stored yet, or a kind the vehicle never had
  std::int32_t ID_INTERVENTO = 0;   // catalogue ID of the kind
  std::string INTERVENTO;           // catalogue name
  std::string NOTE;                 // notes of this intervention
  std::string NOTE_INTERV;          // catalogue notes
  bool FINERODAGGIO = false;        // catalogue running-in flag
  LumoUtility::DateTimeValue DATA;  // 1900-01-01 when never done
  std::int32_t KM = 0;
  std::int32_t CADENZAKM = 0;  // catalogue interval
  double COSTO = 0.0;
};

// A line of a vehicle's schedule: the latest intervention of one catalogue kind.
using ScheduleRow = VehicleIntervention;
