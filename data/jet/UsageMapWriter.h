#pragma once
#include <cstdint>

#include "data/jet/PageStore.h"
#include "data/jet/RowPointer.h"

// The write side of usage maps (see UsageMap.h for the two stored kinds). Table, index
// and long-value maps list the pages they own (bit set = listed); the database's global
// map, row 0 of page 1, is inverted (bit set = page free).
namespace Jet {

// Adds `page` to, or removes it from, the map stored in row `reference`. An inline map
// whose window cannot take the page is moved to a new window when all its pages fit in
// one, otherwise turned into a reference map (the row keeps its length).
void SetPageInMap(PageStore& store, const RowPointer& reference, std::uint32_t page, bool listed);

// Marks a page in use or free in the global map, lengthening it when the file has grown
// past what its bitmap covers.
void SetPageInUse(PageStore& store, std::uint32_t page, bool inUse);

// Appends a page to the file and marks it in use in the global map.
std::uint32_t AllocatePage(PageStore& store);

}  // namespace Jet
