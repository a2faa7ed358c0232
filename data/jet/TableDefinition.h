#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/jet/ColumnDefinition.h"
#include "data/jet/IndexDefinition.h"
#include "data/jet/PageSource.h"
#include "data/jet/RowPointer.h"

// Third layer: table definitions (TDEF pages).
namespace Jet {

// Usage maps of one Memo/OLE column.
struct LongValueMaps {
  std::uint16_t columnNumber = 0;
  RowPointer ownedPages;
  RowPointer freeSpacePages;
};

struct TableDefinition {
  std::u16string name;               // from the catalogue; the TDEF does not store it
  std::uint32_t definitionPage = 0;  // first TDEF page = the table's identity
  std::uint32_t storedRowCount = 0;  // as stored; may be stale in files not closed cleanly
  std::uint32_t lastAutoNumber = 0;  // the next AutoNumber is this + 1
  std::uint8_t tableType = 0;        // 'N' user, 'S' system
  std::uint16_t rowColumnCount = 0;  // highest column count ever (written into rows)
  std::uint16_t variableSlots = 0;   // variable slots per row, deleted columns included
  RowPointer ownedPages;
  RowPointer freeSpacePages;
  std::vector<ColumnDefinition> columns;  // in column-number order
  std::vector<RealIndexDefinition> realIndexes;
  std::vector<IndexDefinition> indexes;  // logical indexes, in definition order
  std::vector<LongValueMaps> longValueMaps;

  // The column with this name (case-insensitive), or nullptr.
  const ColumnDefinition* FindColumn(const std::u16string& columnName) const;
};

// Reads the definition whose first page is `definitionPage`, following continuation
// pages. Everything a row decoder relies on is checked here: counts fit the declared
// length, column numbers are below the row column count and unique, variable slots are
// below the slot count, index columns name existing columns.
TableDefinition ReadTableDefinition(const PageSource& source, std::uint32_t definitionPage);

// Case-insensitive comparison of names as Access compares them (ASCII and Latin-1 letters).
bool NamesEqual(const std::u16string& a, const std::u16string& b);

}  // namespace Jet
