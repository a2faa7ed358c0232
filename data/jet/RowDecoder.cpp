#include "data/jet/RowDecoder.h"

#include "data/jet/JetError.h"
#include "data/jet/LongValue.h"
#include "data/jet/TextDecoder.h"

namespace Jet {
namespace {

namespace F = Format;

// Where the variable-length data of a row is, read from the row's end.
struct VariableArea {
  std::size_t slotCount = 0;
  std::size_t tableEnd = 0;  // offset of the end-of-data field: data must stop here
  const ByteView* row = nullptr;
  std::size_t nullMaskSize = 0;

  // Bytes of slot `slot`, or an empty view with present == false if the row has no such slot.
  bool Slot(std::size_t slot, ByteView& out) const {
    if (slot >= slotCount) return false;
    std::size_t end = row->Size() - nullMaskSize;
    std::size_t start = row->U16(end - 4 - 2 * slot);
    std::size_t stop = slot + 1 == slotCount ? row->U16(tableEnd) : row->U16(end - 6 - 2 * slot);
    if (start > stop || stop > tableEnd || start < F::Row::kFixedArea) {
      ThrowCorrupt("row: variable column " + std::to_string(slot) + " has an impossible extent");
    }
    out = row->Sub(start, stop - start, "variable column");
    return true;
  }
};

Value DecodeFixed(const ColumnDefinition& column, const ByteView& row) {
  std::size_t size = FixedSizeOfType(column.typeCode);
  ByteView bytes = row.Sub(F::Row::kFixedArea + column.fixedOffset, size, "fixed column");
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

Value DecodeVariable(const PageSource& source, const ColumnDefinition& column, const ByteView& data) {
  switch (column.typeCode) {
    case F::kTypeText: return Value(DecodeText(data));
    case F::kTypeMemo: {
      std::vector<std::uint8_t> bytes = ReadLongValue(source, data);
      return Value(MemoText{DecodeText(ByteView(bytes.data(), bytes.size(), "memo"))});
    }
    default: return Value(Unsupported{column.typeCode});
  }
}

}  // namespace

std::vector<Value> DecodeRow(const PageSource& source, const TableDefinition& table, const ByteView& row) {
  std::size_t rowColumns = row.U16(F::Row::kColumnCount);
  std::size_t maskSize = (rowColumns + 7) / 8;
  if (row.Size() < F::Row::kFixedArea + maskSize) ThrowCorrupt("row shorter than its null mask");
  ByteView nullMask = row.Sub(row.Size() - maskSize, maskSize, "null mask");

  VariableArea variable;
  variable.row = &row;
  variable.nullMaskSize = maskSize;
  if (table.variableSlots > 0) {
    std::size_t end = row.Size() - maskSize;
    if (end < F::Row::kFixedArea + 2) ThrowCorrupt("row too short for its variable-column table");
    variable.slotCount = row.U16(end - 2);
    std::uint64_t trailer = 4 + 2 * static_cast<std::uint64_t>(variable.slotCount);
    if (trailer > end - F::Row::kFixedArea) ThrowCorrupt("row too short for its variable-column table");
    variable.tableEnd = end - static_cast<std::size_t>(trailer);
  }

  std::vector<Value> values;
  values.reserve(table.columns.size());
  for (const ColumnDefinition& column : table.columns) {
    bool present = column.number < rowColumns &&
                   (nullMask.U8(column.number / 8) & (1u << (column.number % 8))) != 0;
    if (column.typeCode == F::kTypeBoolean) {
      values.emplace_back(present);
      continue;
    }
    if (!present) {
      values.emplace_back();
      continue;
    }
    if (!column.IsSupportedType()) {
      values.emplace_back(Unsupported{column.typeCode});
      continue;
    }
    if (column.IsFixedLength()) {
      values.push_back(DecodeFixed(column, row));
      continue;
    }
    ByteView data;
    if (!variable.Slot(column.variableSlot, data)) {
      values.emplace_back();
      continue;
    }
    values.push_back(DecodeVariable(source, column, data));
  }
  return values;
}

}  // namespace Jet
