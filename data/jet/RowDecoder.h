#pragma once
#include <vector>

#include "data/jet/ByteView.h"
#include "data/jet/LongValue.h"
#include "data/jet/PageSource.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/Value.h"

namespace Jet {

// The stored layout of one row (FormatConstants.h, Row): its column count, null mask and
// variable-column offset table, located and checked once.
class RowLayout {
 public:
  RowLayout(const TableDefinition& table, const ByteView& row);

  // The column count the row was written with; later columns are NULL in it.
  std::size_t ColumnCount() const { return columnCount_; }
  // The column's null-mask bit: value present, or for Yes/No the value itself.
  bool HasValue(const ColumnDefinition& column) const;
  // The stored bytes of a present, non-Yes/No column: a fixed column's bytes in the fixed
  // area, a variable column's slot. False when the row holds no value for it.
  bool ColumnBytes(const ColumnDefinition& column, ByteView& out) const;

 private:
  ByteView row_;
  ByteView nullMask_;
  std::size_t columnCount_ = 0;
  std::size_t variableSlots_ = 0;
  std::size_t offsetTableEnd_ = 0;  // the byte after the variable-offset table's last entry
  std::size_t endOfData_ = 0;       // offset of the end-of-data field
};

// The value of one column of a row whose layout is known: what DecodeRow gives for it.
Value DecodeColumn(const PageSource& source, const ColumnDefinition& column,
                   const RowLayout& layout, LongValueBudget& budget);

// Decodes one stored row into one Value per column, in the table's column order.
// Columns the row predates (number >= the row's column count) read as NULL, Yes/No as No.
// Memo values are charged to `budget` (shared by all rows of one scan).
std::vector<Value> DecodeRow(const PageSource& source, const TableDefinition& table,
                             const ByteView& row, LongValueBudget& budget);
std::vector<Value> DecodeRow(const PageSource& source, const TableDefinition& table,
                             const ByteView& row);

}  // namespace Jet
