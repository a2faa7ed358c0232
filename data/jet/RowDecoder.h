#pragma once
#include <vector>

#include "data/jet/ByteView.h"
#include "data/jet/PageSource.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/Value.h"

namespace Jet {

// Decodes one stored row into one Value per column, in the table's column order.
// Columns the row predates (number >= the row's column count) read as NULL, Yes/No as No.
std::vector<Value> DecodeRow(const PageSource& source, const TableDefinition& table, const ByteView& row);

}  // namespace Jet
