#pragma once
#include <cstdint>
#include <vector>

#include "data/jet/ByteView.h"
#include "data/jet/PageStore.h"
#include "data/jet/TableDefinition.h"

// Writing Memo values (layout of the reference in FormatConstants.h, LongValue).
namespace Jet {

// Largest value kept inline in the row, as Access and Jackcess do.
constexpr std::size_t kMaxInlineLongValue = 64;

// Stores `data` for the column whose maps are `maps` and returns the column data for the
// row: the 12-byte reference with the bytes inline (an empty value too), or
// pointing to one row (up to a page) or a chain of rows on long-value pages. New
// long-value pages go into the column's owned and free-space maps.
std::vector<std::uint8_t> WriteLongValue(PageStore& store, const LongValueMaps& maps,
                                         const std::vector<std::uint8_t>& data);

}  // namespace Jet
