#pragma once
#include <cstdint>
#include <string>

// A row of the intervention catalogue INTERVENTI, copied by value.
struct InterventionType {
  std::int32_t ID = 0;  // 0: not stored yet
  std::string INTERVENTO;
  std::int32_t CADENZAKM = 0;
  std::string NOTE;
  bool FINERODAGGIO = false;
  // Months between interventions of this kind, 0 for none; kept apart in INTERVENTI_MESI
  // (MaintenanceStore::LoadInterventionMonths) and not read by ListInterventionTypes.
  std::int32_t MESI = 0;
};
