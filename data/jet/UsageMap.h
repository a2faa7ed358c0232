#pragma once
#include <cstdint>
#include <vector>

#include "data/jet/PageSource.h"
#include "data/jet/RowPointer.h"

// Second layer: usage maps, the sets of pages a table, index or long-value column owns.
namespace Jet {

// Reads the usage map stored in row `reference` and returns its pages in ascending
// order. Both kinds are handled: an inline bitmap in the row (type 0) and a list of
// bitmap pages (type 1). A page at or past the end of the file is an error: every page a
// map lists must exist. The result never holds more entries than the file has pages.
std::vector<std::uint32_t> ReadUsageMap(const PageSource& source, const RowPointer& reference,
                                        const char* what);

// Decodes map row bytes already read (exposed for tests).
std::vector<std::uint32_t> DecodeUsageMap(const PageSource& source, const ByteView& mapRow);

}  // namespace Jet
