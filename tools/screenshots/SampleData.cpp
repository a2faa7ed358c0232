#include "tools/screenshots/SampleData.h"

#include <cstdint>
#include <vector>

#include "data/MaintenanceStore.h"
#include "toolkit/base/DateTimeValue.h"

namespace SampleData {

const char kShownPlate[] = "FG482TR";
const char kDueIntervention[] = "Filtro aria";

namespace {

struct SampleVehicle {
  const char* plate;
  const char* description;
  std::int32_t km;
  std::uint16_t year, month, day;
};

// What was done on the shown vehicle, oldest first; the schedule shows the latest of a
// kind. At 48,750 km the air filter, cabin filter, brake fluid, wiper blades and the
// air-conditioning recharge (never done) come out due; everything else is in order.
struct SampleIntervention {
  const char* intervention;  // catalogue name
  std::int32_t km;
  std::uint16_t year, month, day;
  double cost;
  const char* notes;
};

const SampleVehicle kVehicles[] = {
    {kShownPlate, "FIAT PANDA 1.2 EASY - BENZINA", 48750, 2026, 11, 28},
    {"EK913LM", "VOLKSWAGEN GOLF 2.0 TDI - DIESEL", 131200, 2026, 10, 3},
    {"GB205XS", "FIAT 500 1.0 HYBRID", 12400, 2026, 9, 14},
    {"DX557PK", "PIAGGIO PORTER - FURGONE DI LAVORO", 87300, 2026, 6, 21},
};

const SampleIntervention kHistory[] = {
    {"Liquido freni", 7800, 2021, 11, 20, 45, "DOT 4, CONTROLLO DOPO L'ACQUISTO"},
    {"Olio motore", 14900, 2022, 9, 14, 89.5, "OLIO 5W-40, OFFICINA ROSSI"},
    {"Filtro olio", 14900, 2022, 9, 14, 16.9, ""},
    {"Filtro aria", 14900, 2022, 9, 14, 24.9, "FILTRO ORIGINALE"},
    {"Tagliando generale", 14900, 2022, 9, 14, 150, "PRIMO TAGLIANDO"},
    {"Spazzole tergicristallo", 22500, 2023, 10, 30, 19.9, "COPPIA ANTERIORE"},
    {"Olio motore", 30150, 2024, 7, 2, 92, "OLIO 5W-40, OFFICINA ROSSI"},
    {"Filtro olio", 30150, 2024, 7, 2, 17.5, ""},
    {"Filtro abitacolo", 30150, 2024, 7, 2, 29, "FILTRO AI CARBONI ATTIVI"},
    {"Tagliando generale", 30150, 2024, 7, 2, 165, ""},
    {"Pastiglie freni anteriori", 38600, 2025, 10, 21, 85, "PASTIGLIE E MANODOPERA"},
    {"Pneumatici anteriori", 41000, 2025, 11, 8, 312, "4 STAGIONI 175/65 R14"},
    {"Convergenza ed equilibratura", 41000, 2025, 11, 8, 45, ""},
    {"Olio motore", 45200, 2026, 6, 10, 94.5, "OLIO 5W-40, OFFICINA ROSSI"},
    {"Filtro olio", 45200, 2026, 6, 10, 18.5, ""},
    {"Candela", 45200, 2026, 6, 10, 38, "4 CANDELE"},
    {"Controllo luci e fari", 45200, 2026, 6, 10, 0, "COMPRESO NEL TAGLIANDO"},
    {"Tagliando generale", 45200, 2026, 6, 10, 179.9, "TAGLIANDO DEI 45.000 KM"},
};

std::int32_t CatalogueId(const std::vector<InterventionType>& catalogue, const std::string& name) {
  for (const InterventionType& entry : catalogue) {
    if (entry.INTERVENTO == name) return entry.ID;
  }
  return 0;
}

}  // namespace

bool Fill(std::string& error) {
  MaintenanceStore store;
  // What the main window does on a first start with the template's catalogue; done here
  // so that the spark plug can have a history too.
  if (store.CountInterventionTypes() == 25) store.SeedInterventionTypes();
  const std::vector<InterventionType> catalogue = store.ListInterventionTypes();
  if (store.ErrorFlag()) {
    error = store.ErrorText();
    return false;
  }

  std::int32_t shownId = 0;
  for (const SampleVehicle& sample : kVehicles) {
    VehicleRecord vehicle;
    vehicle.TARGA = sample.plate;
    vehicle.DESCRIZIONE = sample.description;
    vehicle.KM = sample.km;
    vehicle.DATA_KM = LumoUtility::MakeDate(sample.year, sample.month, sample.day);
    vehicle.HasDate = true;
    if (!store.SaveVehicle(vehicle)) {
      error = "vehicle " + vehicle.TARGA + ": " + store.ErrorText();
      return false;
    }
    if (vehicle.TARGA == kShownPlate) shownId = vehicle.ID;
  }

  for (const SampleIntervention& sample : kHistory) {
    VehicleIntervention done;
    done.ID_INTERVENTO = CatalogueId(catalogue, sample.intervention);
    if (done.ID_INTERVENTO == 0) {
      error = std::string("no catalogue entry ") + sample.intervention;
      return false;
    }
    done.KM = sample.km;
    done.DATA = LumoUtility::MakeDate(sample.year, sample.month, sample.day);
    done.COSTO = sample.cost;
    done.NOTE = sample.notes;
    if (!store.SaveVehicleIntervention(shownId, done)) {
      error = std::string("intervention ") + sample.intervention + ": " + store.ErrorText();
      return false;
    }
  }
  return true;
}

}  // namespace SampleData
