#include "data/jet/TableDefinition.h"

#include <algorithm>
#include <set>

#include "data/jet/JetError.h"

namespace Jet {
namespace {

namespace T = Format::Tdef;

// Joins the TDEF pages into one logical buffer: the first page whole, then bytes 8..4095
// of each continuation page, cut to the declared length. The chain is bounded by the
// number of pages the declared length needs, and that length by the file size.
std::vector<std::uint8_t> ReadDefinitionBytes(const PageSource& source, std::uint32_t firstPage) {
  PageBuffer page;
  source.ReadPageOfType(firstPage, Format::kPageTableDefinition, page, "table definition");
  ByteView first = ViewOf(page, "table definition");
  std::uint32_t length = first.U32(T::kLength);
  const std::uint64_t perContinuation = Format::kPageSize - T::kContinuationHeaderSize;
  std::uint64_t maxLength = Format::kPageSize + perContinuation * source.PageCount();
  if (length < T::kHeaderSize || length > maxLength) {
    ThrowCorrupt("table definition on page " + std::to_string(firstPage) + " declares length " +
                 std::to_string(length));
  }
  std::vector<std::uint8_t> bytes(page.begin(), page.end());
  std::uint32_t next = first.U32(T::kNextPage);
  while (bytes.size() < length) {
    if (next == 0) {
      ThrowCorrupt("table definition on page " + std::to_string(firstPage) +
                   " ends before its declared length");
    }
    source.ReadPageOfType(next, Format::kPageTableDefinition, page,
                          "table definition continuation");
    bytes.insert(bytes.end(), page.begin() + T::kContinuationHeaderSize, page.end());
    next = ViewOf(page, "table definition continuation").U32(T::kNextPage);
  }
  bytes.resize(length);
  return bytes;
}

// Reads `count` names (u16 byte length + UCS-2) starting at `offset`.
std::vector<std::u16string> ReadNames(const ByteView& tdef, std::size_t& offset,
                                      std::size_t count) {
  std::vector<std::u16string> names;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint16_t byteLength = tdef.U16(offset);
    offset += 2;
    if (byteLength % 2 != 0) ThrowCorrupt("table definition: a name of odd byte length");
    ByteView raw = tdef.Sub(offset, byteLength, "table definition name");
    std::u16string name;
    for (std::size_t j = 0; j < byteLength; j += 2)
      name.push_back(static_cast<char16_t>(raw.U16(j)));
    names.push_back(std::move(name));
    offset += byteLength;
  }
  return names;
}

// Checks that `count` structures of `size` bytes fit in what is left of the definition,
// before anything is allocated for them.
void RequireRoom(const ByteView& tdef, std::size_t offset, std::uint64_t count, std::size_t size,
                 const char* what) {
  if (offset > tdef.Size() || count * size > tdef.Size() - offset) {
    ThrowCorrupt(std::string("table definition: ") + std::to_string(count) + " " + what +
                 " do not fit");
  }
}

char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  return c;
}

}  // namespace

bool NamesEqual(const std::u16string& a, const std::u16string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

const ColumnDefinition* TableDefinition::FindColumn(const std::u16string& columnName) const {
  for (const ColumnDefinition& column : columns) {
    if (NamesEqual(column.name, columnName)) return &column;
  }
  return nullptr;
}

TableDefinition ReadTableDefinition(const PageSource& source, std::uint32_t definitionPage) {
  std::vector<std::uint8_t> bytes = ReadDefinitionBytes(source, definitionPage);
  ByteView tdef(bytes.data(), bytes.size(), "table definition");

  TableDefinition table;
  table.definitionPage = definitionPage;
  table.storedRowCount = tdef.U32(T::kRowCount);
  table.lastAutoNumber = tdef.U32(T::kLastAutoNumber);
  table.tableType = tdef.U8(T::kTableType);
  table.rowColumnCount = tdef.U16(T::kMaxColumns);
  table.variableSlots = tdef.U16(T::kVariableColumns);
  std::uint16_t columnCount = tdef.U16(T::kColumnCount);
  std::uint32_t logicalCount = tdef.U32(T::kLogicalIndexCount);
  std::uint32_t realCount = tdef.U32(T::kRealIndexCount);
  table.ownedPages = RowPointer::Read(tdef, T::kOwnedPagesMap);
  table.freeSpacePages = RowPointer::Read(tdef, T::kFreeSpaceMap);

  std::size_t offset = T::kHeaderSize;
  RequireRoom(tdef, offset, realCount, T::kRealIndexCounterSize, "index counters");
  std::vector<std::uint32_t> distinctKeys;
  for (std::uint32_t i = 0; i < realCount; ++i) {
    distinctKeys.push_back(tdef.U32(offset + 4));
    offset += T::kRealIndexCounterSize;
  }

  RequireRoom(tdef, offset, columnCount, T::kColumnSize, "column definitions");
  std::set<std::uint16_t> numbers;
  for (std::uint16_t i = 0; i < columnCount; ++i) {
    ByteView def = tdef.Sub(offset, T::kColumnSize, "column definition");
    ColumnDefinition column;
    column.typeCode = def.U8(T::kColumnType);
    column.number = def.U16(T::kColumnNumber);
    column.variableSlot = def.U16(T::kColumnVariableSlot);
    column.flags = def.U8(T::kColumnFlags);
    column.extraFlags = def.U8(T::kColumnExtraFlags);
    column.fixedOffset = def.U16(T::kColumnFixedOffset);
    column.length = def.U16(T::kColumnLength);
    if (column.number >= table.rowColumnCount || !numbers.insert(column.number).second) {
      ThrowCorrupt("table definition on page " + std::to_string(definitionPage) +
                   ": column number " + std::to_string(column.number) +
                   " is out of range or repeated");
    }
    if (!column.IsFixedLength() && column.variableSlot >= table.variableSlots) {
      ThrowCorrupt("table definition on page " + std::to_string(definitionPage) +
                   ": variable slot " + std::to_string(column.variableSlot) + " is out of range");
    }
    table.columns.push_back(column);
    offset += T::kColumnSize;
  }
  std::vector<std::u16string> columnNames = ReadNames(tdef, offset, columnCount);
  for (std::size_t i = 0; i < columnCount; ++i) table.columns[i].name = std::move(columnNames[i]);
  // Access stores the definitions of its system tables sorted by name; the table's own
  // order is that of the column numbers (the order rows were laid out in).
  std::stable_sort(
      table.columns.begin(), table.columns.end(),
      [](const ColumnDefinition& a, const ColumnDefinition& b) { return a.number < b.number; });

  RequireRoom(tdef, offset, realCount, T::kRealIndexSize, "real index definitions");
  for (std::uint32_t i = 0; i < realCount; ++i) {
    ByteView def = tdef.Sub(offset, T::kRealIndexSize, "index definition");
    RealIndexDefinition index;
    for (std::size_t slot = 0; slot < T::kRealIndexColumnSlots; ++slot) {
      std::size_t at = T::kRealIndexColumns + slot * T::kRealIndexColumnSlotSize;
      std::uint16_t columnNumber = def.U16(at);
      if (columnNumber == T::kUnusedIndexColumn) continue;
      if (numbers.count(columnNumber) == 0) {
        ThrowCorrupt("table definition on page " + std::to_string(definitionPage) +
                     ": an index refers to column number " + std::to_string(columnNumber) +
                     ", which does not exist");
      }
      index.columns.push_back(IndexColumn{columnNumber, def.U8(at + 2) == T::kIndexAscending});
    }
    index.usageMap = RowPointer::Read(def, T::kRealIndexUsageMap);
    index.rootPage = def.U32(T::kRealIndexRootPage);
    index.flags = def.U8(T::kRealIndexFlags);
    index.distinctKeys = distinctKeys[i];
    table.realIndexes.push_back(std::move(index));
    offset += T::kRealIndexSize;
  }

  RequireRoom(tdef, offset, logicalCount, T::kLogicalIndexSize, "logical index definitions");
  for (std::uint32_t i = 0; i < logicalCount; ++i) {
    ByteView def = tdef.Sub(offset, T::kLogicalIndexSize, "logical index definition");
    IndexDefinition index;
    index.number = def.U32(T::kLogicalIndexNumber);
    index.realIndex = def.U32(T::kLogicalIndexRealIndex);
    index.relatedTablePage = def.U32(T::kLogicalIndexRelatedTable);
    index.kind = def.U8(T::kLogicalIndexKind);
    if (index.realIndex >= table.realIndexes.size()) {
      ThrowCorrupt("table definition on page " + std::to_string(definitionPage) +
                   ": an index refers to real index " + std::to_string(index.realIndex) +
                   ", which does not exist");
    }
    index.columns = table.realIndexes[index.realIndex].columns;
    index.flags = table.realIndexes[index.realIndex].flags;
    table.indexes.push_back(std::move(index));
    offset += T::kLogicalIndexSize;
  }
  std::vector<std::u16string> indexNames = ReadNames(tdef, offset, logicalCount);
  for (std::size_t i = 0; i < logicalCount; ++i) table.indexes[i].name = std::move(indexNames[i]);

  // Memo/OLE usage maps, ended by 0xFFFF; each entry names an existing column.
  for (;;) {
    std::uint16_t columnNumber = tdef.U16(offset);
    if (columnNumber == T::kListEnd) break;
    ByteView entry = tdef.Sub(offset, T::kLongValueMapSize, "long-value map list");
    if (numbers.count(columnNumber) == 0) {
      ThrowCorrupt("table definition on page " + std::to_string(definitionPage) +
                   ": long-value maps for column number " + std::to_string(columnNumber) +
                   ", which does not exist");
    }
    table.longValueMaps.push_back(
        LongValueMaps{columnNumber, RowPointer::Read(entry, 2), RowPointer::Read(entry, 6)});
    offset += T::kLongValueMapSize;
  }
  return table;
}

}  // namespace Jet
