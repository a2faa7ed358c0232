#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/jet/FormatConstants.h"
#include "data/jet/RowPointer.h"

// Index definitions as a table definition stores them. A real index is the B-tree on
// disk; logical indexes are the named indexes users see, and several may share one real
// index (a primary key and a foreign key on the same column do).
namespace Jet {

struct IndexColumn {
  std::uint16_t columnNumber = 0;
  bool ascending = true;
};

struct RealIndexDefinition {
  std::vector<IndexColumn> columns;
  RowPointer usageMap;
  std::uint32_t rootPage = 0;
  std::uint8_t flags = 0;
  std::uint32_t distinctKeys = 0;  // from the counters that follow the TDEF header

  bool IsUnique() const { return (flags & Format::Tdef::kIndexFlagUnique) != 0; }
  bool IgnoresNulls() const { return (flags & Format::Tdef::kIndexFlagIgnoreNulls) != 0; }
  bool IsRequired() const { return (flags & Format::Tdef::kIndexFlagRequired) != 0; }
};

struct IndexDefinition {
  std::u16string name;
  std::uint32_t number = 0;
  std::uint32_t realIndex = 0;         // position in TableDefinition::realIndexes
  std::uint8_t kind = 0;               // 1 primary key, 2 foreign key, 0 other
  std::uint32_t relatedTablePage = 0;  // foreign keys: TDEF page of the other table
  std::vector<IndexColumn> columns;    // copied from the real index
  std::uint8_t flags = 0;              // copied from the real index

  bool IsPrimaryKey() const { return kind == Format::Tdef::kIndexKindPrimaryKey; }
  bool IsForeignKey() const { return kind == Format::Tdef::kIndexKindForeignKey; }
  bool IsUnique() const { return IsPrimaryKey() || (flags & Format::Tdef::kIndexFlagUnique) != 0; }
};

}  // namespace Jet
