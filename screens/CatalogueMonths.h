#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/InterventionType.h"

class MaintenanceStore;

namespace MyApp {

// The most months a catalogue kind may be given (twenty years).
constexpr std::int32_t kMaxMonths = 240;

// Gives each catalogue row its months (MESI) from the store's months table. A table that
// cannot be read leaves every row without months: the catalogue works without them, so
// that is no error for the user.
void AttachMonths(MaintenanceStore& store, std::vector<InterventionType>& catalogue);

// The months typed into a box: empty is none (0); otherwise decimal digits only, of a
// value from 1 to kMaxMonths. False for anything else.
bool ReadMonthsText(const std::string& text, std::int32_t& months);

}  // namespace MyApp
