#include "screens/CatalogueMonths.h"

#include <map>

#include "data/MaintenanceStore.h"

namespace MyApp {

void AttachMonths(MaintenanceStore& store, std::vector<InterventionType>& catalogue) {
  const std::map<std::int32_t, std::int32_t> months = store.LoadInterventionMonths();
  for (InterventionType& entry : catalogue) {
    const auto found = months.find(entry.ID);
    entry.MESI = found != months.end() && found->second >= 1 && found->second <= kMaxMonths
                     ? found->second
                     : 0;
  }
}

bool ReadMonthsText(const std::string& text, std::int32_t& months) {
  months = 0;
  if (text.empty()) return true;
  // Three digits hold every valid value; more would only overflow the count.
  if (text.size() > 3) return false;
  for (char character : text) {
    if (character < '0' || character > '9') return false;
    months = months * 10 + (character - '0');
  }
  if (months >= 1 && months <= kMaxMonths) return true;
  months = 0;
  return false;
}

}  // namespace MyApp
