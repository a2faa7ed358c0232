#pragma once
#include <cstdint>
#include <vector>

#include "data/jet/ByteView.h"
#include "data/jet/PageSource.h"

namespace Jet {

// Reads a Memo/OLE value from its column data in the row: an empty value (no bytes), or a
// 12-byte reference followed by the bytes inline, or pointing to one row or a chain of
// rows on long-value pages. The declared length must be within the file's size, and a
// chain may not visit a row twice, so a damaged reference cannot loop or over-allocate.
std::vector<std::uint8_t> ReadLongValue(const PageSource& source, const ByteView& columnData);

}  // namespace Jet
