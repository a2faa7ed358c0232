#pragma once
#include <cstdint>
#include <vector>

#include "data/jet/ByteView.h"
#include "data/jet/PageSource.h"

namespace Jet {

// How many bytes of long-value rows a reader may still visit. Every long value owns its
// rows, so all the values of one table together never take more than the file holds; a
// damaged file whose rows all point at the same long chain would otherwise make a scan
// quadratic in the file size.
struct LongValueBudget {
  std::uint64_t remainingBytes = 0;
};

// Reads a Memo/OLE value from its column data in the row: an empty value (no bytes), or a
// 12-byte reference followed by the bytes inline, or pointing to one row or a chain of
// rows on long-value pages. The declared length must be within the file's size, and a
// chain may not visit a row twice, so a damaged reference cannot loop or over-allocate.
// Remote rows are charged to `budget`; running out of it is an error.
std::vector<std::uint8_t> ReadLongValue(const PageSource& source, const ByteView& columnData,
                                        LongValueBudget& budget);
// As above with a budget of the file's size.
std::vector<std::uint8_t> ReadLongValue(const PageSource& source, const ByteView& columnData);

}  // namespace Jet
