#include "data/jet/RowDecoder.h"

#include "data/jet/JetError.h"
#include "data/jet/LongValue.h"
#include "data/jet/TextDecoder.h"

namespace Jet {
namespace {

namespace F = Format;

Value DecodeFixed(const ColumnDefinition& column, const ByteView& bytes) {
  switch (column.typeCode) {
    case F::kTypeByte: return Value(bytes.U8(0));
    case F::kTypeInteger: return Value(bytes.I16(0));
    case F::kTypeLong: return Value(bytes.I32(0));
    case F::kTypeCurrency: return Value(Currency{bytes.I64(0)});
    case F::kTypeSingle: return Value(bytes.F32(0));
    case F::kTypeDouble: return Value(bytes.F64(0));
    case F::kTypeDateTime: return Value(DateTime{bytes.F64(0)});
    default: return Value(Unsupported{column.typeCode});
  }
}

Value DecodeVariable(const PageSource& source, const ColumnDefinition& column, const ByteView& data,
                     LongValueBudget& budget) {
  switch (column.typeCode) {
    case F::kTypeText: return Value(DecodeText(data));
    case F::kTypeMemo: {
      std::vector<std::uint8_t> bytes = ReadLongValue(source, data, budget);
      return Value(MemoText{DecodeText(ByteView(bytes.data(), bytes.size(), "memo"))});
    }
    default: return Value(Unsupported{column.typeCode});
  }
}

}  // namespace

RowLayout::RowLayout(const TableDefinition& table, const ByteView& row) : row_(row) {
  columnCount_ = row.U16(F::Row::kColumnCount);
  std::size_t maskSize = (columnCount_ + 7) / 8;
  if (row.Size() < F::Row::kFixedArea + maskSize) ThrowCorrupt("row shorter than its null mask");
  nullMask_ = row.Sub(row.Size() - maskSize, maskSize, "null mask");
  if (table.variableSlots == 0) return;
  // From the end: null mask, slot count V, V offsets (slot 0 last), end of data.
  offsetTableEnd_ = row.Size() - maskSize;
  if (offsetTableEnd_ < F::Row::kFixedArea + 2)
    ThrowCorrupt("row too short for its variable-column table");
  variableSlots_ = row.U16(offsetTableEnd_ - 2);
  std::size_t trailer = 4 + 2 * variableSlots_;
  if (trailer > offsetTableEnd_ - F::Row::kFixedArea)
    ThrowCorrupt("row too short for its variable-column table");
  endOfData_ = offsetTableEnd_ - trailer;
}

bool RowLayout::HasValue(const ColumnDefinition& column) const {
  return column.number < columnCount_ &&
         (nullMask_.U8(column.number / 8) & (1u << (column.number % 8))) != 0;
}

bool RowLayout::ColumnBytes(const ColumnDefinition& column, ByteView& out) const {
  if (column.typeCode == F::kTypeBoolean || !HasValue(column)) return false;
  if (column.IsFixedLength()) {
    std::size_t size = FixedSizeOfType(column.typeCode);
    if (size == 0) size = column.length;
    out = row_.Sub(F::Row::kFixedArea + column.fixedOffset, size, "fixed column");
    return true;
  }
  std::size_t slot = column.variableSlot;
  if (slot >= variableSlots_) return false;  // the row predates the column
  std::size_t start = row_.U16(offsetTableEnd_ - 4 - 2 * slot);
  std::size_t stop =
      slot + 1 == variableSlots_ ? row_.U16(endOfData_) : row_.U16(offsetTableEnd_ - 6 - 2 * slot);
  if (start > stop || stop > endOfData_ || start < F::Row::kFixedArea) {
    ThrowCorrupt("row: variable column " + std::to_string(slot) + " has an impossible extent");
  }
  out = row_.Sub(start, stop - start, "variable column");
  return true;
}

std::vector<Value> DecodeRow(const PageSource& source, const TableDefinition& table,
                             const ByteView& row) {
  LongValueBudget budget{source.ByteSize()};
  return DecodeRow(source, table, row, budget);
}

Value DecodeColumn(const PageSource& source, const ColumnDefinition& column,
                   const RowLayout& layout, LongValueBudget& budget) {
  if (column.typeCode == F::kTypeBoolean) return Value(layout.HasValue(column));
  if (!layout.HasValue(column)) return Value();
  if (!column.IsSupportedType()) return Value(Unsupported{column.typeCode});
  ByteView bytes;
  if (!layout.ColumnBytes(column, bytes)) return Value();
  return column.IsFixedLength() ? DecodeFixed(column, bytes)
                                : DecodeVariable(source, column, bytes, budget);
}

std::vector<Value> DecodeRow(const PageSource& source, const TableDefinition& table,
                             const ByteView& row, LongValueBudget& budget) {
  RowLayout layout(table, row);
  std::vector<Value> values;
  values.reserve(table.columns.size());
  for (const ColumnDefinition& column : table.columns)
    values.push_back(DecodeColumn(source, column, layout, budget));
  return values;
}

}  // namespace Jet
