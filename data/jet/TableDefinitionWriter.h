#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/jet/PageStore.h"
#include "data/jet/RowPointer.h"

// Writing table definitions (TDEF; layout in FormatConstants.h, Tdef). Every field is
// given explicitly, including the ones readers ignore, so that the system tables of a new
// database come out as Jet writes them and user tables as Access writes them.
namespace Jet {

struct ColumnLayout {
  std::u16string name;
  std::uint8_t typeCode = 0;
  std::uint16_t number = 0;
  std::uint16_t variableSlot = 0;  // Jet leaves other values here on fixed columns
  std::uint16_t ordinal = 0;       // bytes 9-10: Access writes the column's position
  std::uint8_t flags = 0;
  std::uint8_t extraFlags = 0;
  std::uint16_t fixedOffset = 0;  // Jet leaves other values here on variable columns
  std::uint16_t length = 0;
};

struct IndexSlotLayout {
  std::uint16_t column = 0xFFFF;  // 0xFFFF = unused
  std::uint8_t order = 0;         // 0x01 ascending; Jet leaves other bytes in unused slots
};

struct RealIndexLayout {
  std::array<IndexSlotLayout, 10> slots{};
  RowPointer usageMap;
  std::uint32_t rootPage = 0;
  std::uint32_t unknown42 = 0;  // bytes 42-45: 0 in user tables, leftovers in system ones
  std::uint8_t flags = 0;
  std::uint32_t distinctKeys = 0;
};

struct LogicalIndexLayout {
  std::u16string name;
  std::uint32_t number = 0;
  std::uint32_t realIndex = 0;
  std::uint8_t kind = 0;  // 1 primary key
};

struct LongValueMapLayout {
  std::uint16_t column = 0;
  RowPointer ownedPages;
  RowPointer freeSpacePages;
};

struct TableLayout {
  std::uint8_t tableType = 0;
  std::uint32_t rowCount = 0;
  std::uint32_t lastAutoNumber = 0;
  std::uint16_t maxColumns = 0;
  std::uint16_t variableColumns = 0;
  RowPointer ownedPages;
  RowPointer freeSpacePages;
  // in stored order (Access: by number; Jet's system tables: by name)
  std::vector<ColumnLayout> columns;
  std::vector<RealIndexLayout> realIndexes;
  std::vector<LogicalIndexLayout> indexes;  // in stored order
  std::vector<LongValueMapLayout> longValueMaps;
};

// The definition as one logical buffer, ending with 0xFFFF.
std::vector<std::uint8_t> EncodeTableDefinition(const TableLayout& layout);

// Writes the buffer at `firstPage`, continuing on newly allocated pages when it is
// longer than one page.
void WriteTableDefinition(PageStore& store, std::uint32_t firstPage,
                          const std::vector<std::uint8_t>& definition);

}  // namespace Jet
