#include "data/jet/TableDefinitionWriter.h"

#include <algorithm>
#include <cstring>

#include "data/jet/FormatConstants.h"
#include "data/jet/JetError.h"
#include "data/jet/UsageMapWriter.h"

namespace Jet {
namespace {

namespace T = Format::Tdef;

// Constant in every column, index and TDEF header Jet writes.
constexpr std::uint32_t kStructureMagic = 1625;
constexpr std::uint32_t kRealIndexMagic = 1923;
// Bytes 21/22 of a logical index: Access writes 4/4 where there is no relationship.
constexpr std::uint8_t kNoCascade = 0x04;

class Writer {
 public:
  void U8(std::uint8_t value) { bytes.push_back(value); }
  void U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value));
    U8(static_cast<std::uint8_t>(value >> 8));
  }
  void U32(std::uint32_t value) {
    U16(static_cast<std::uint16_t>(value));
    U16(static_cast<std::uint16_t>(value >> 16));
  }
  void Pointer(const RowPointer& pointer) { U32(pointer.row | pointer.page << 8); }
  void Zeros(std::size_t count) { bytes.insert(bytes.end(), count, 0); }
  void Name(const std::u16string& name) {
    U16(static_cast<std::uint16_t>(name.size() * 2));
    for (char16_t c : name) U16(c);
  }
  std::vector<std::uint8_t> bytes;
};

}  // namespace

std::vector<std::uint8_t> EncodeTableDefinition(const TableLayout& layout) {
  Writer w;
  w.U8(Format::kPageTableDefinition);
  w.U8(0x01);
  w.U16(0);  // free space: set when written to pages
  w.U32(0);  // next page
  w.U32(0);  // length: set below
  w.U32(kStructureMagic);
  w.U32(layout.rowCount);
  w.U32(layout.lastAutoNumber);
  w.U8(0x01);  // byte 24: Access needs it for AutoNumber
  w.Zeros(15);
  w.U8(layout.tableType);
  w.U16(layout.maxColumns);
  w.U16(layout.variableColumns);
  w.U16(static_cast<std::uint16_t>(layout.columns.size()));
  w.U32(static_cast<std::uint32_t>(layout.indexes.size()));
  w.U32(static_cast<std::uint32_t>(layout.realIndexes.size()));
  w.Pointer(layout.ownedPages);
  w.Pointer(layout.freeSpacePages);
  for (const RealIndexLayout& index : layout.realIndexes) {
    w.U32(0);
    w.U32(index.distinctKeys);
    w.U32(0);
  }
  for (const ColumnLayout& column : layout.columns) {
    w.U8(column.typeCode);
    w.U32(kStructureMagic);
    w.U16(column.number);
    w.U16(column.variableSlot);
    w.U16(column.ordinal);
    // Bytes 11-14: sort order, then version 0; Access writes them on every type.
    w.U32(Format::kSortOrderGeneral);
    w.U8(column.flags);
    w.U8(column.extraFlags);
    w.U32(0);
    w.U16(column.fixedOffset);
    w.U16(column.length);
  }
  for (const ColumnLayout& column : layout.columns) w.Name(column.name);
  for (const RealIndexLayout& index : layout.realIndexes) {
    w.U32(kRealIndexMagic);
    for (const IndexSlotLayout& slot : index.slots) {
      w.U16(slot.column);
      w.U8(slot.order);
    }
    w.Pointer(index.usageMap);
    w.U32(index.rootPage);
    w.U32(index.unknown42);
    w.U8(index.flags);
    w.Zeros(5);
  }
  for (const LogicalIndexLayout& index : layout.indexes) {
    w.U32(kStructureMagic);
    w.U32(index.number);
    w.U32(index.realIndex);
    w.U8(0);
    w.U32(0xFFFFFFFFu);
    w.U32(0);
    w.U8(kNoCascade);
    w.U8(kNoCascade);
    w.U8(index.kind);
    w.U32(0);
  }
  for (const LogicalIndexLayout& index : layout.indexes) w.Name(index.name);
  for (const LongValueMapLayout& maps : layout.longValueMaps) {
    w.U16(maps.column);
    w.Pointer(maps.ownedPages);
    w.Pointer(maps.freeSpacePages);
  }
  w.U16(T::kListEnd);
  std::uint32_t length = static_cast<std::uint32_t>(w.bytes.size());
  std::memcpy(w.bytes.data() + T::kLength, &length, 4);
  return w.bytes;
}

void WriteTableDefinition(PageStore& store, std::uint32_t firstPage,
                          const std::vector<std::uint8_t>& definition) {
  const std::size_t perContinuation = Format::kPageSize - T::kContinuationHeaderSize;
  std::size_t firstPart = std::min(definition.size(), Format::kPageSize);
  PageBuffer& first = store.MutablePage(firstPage);
  first.fill(0);
  std::memcpy(first.data(), definition.data(), firstPart);
  auto setFree = [](PageBuffer& page, std::size_t free) {
    page[2] = static_cast<std::uint8_t>(free);
    page[3] = static_cast<std::uint8_t>(free >> 8);
  };
  // A page's free space counts an 8-byte header the definition does not hold.
  setFree(first, firstPart == definition.size()
                     ? Format::kPageSize - definition.size() - T::kContinuationHeaderSize
                     : 0);
  PageBuffer* previous = &first;
  for (std::size_t done = firstPart; done < definition.size();) {
    std::uint32_t number = AllocatePage(store);
    for (int i = 0; i < 4; ++i)
      (*previous)[T::kNextPage + i] = static_cast<std::uint8_t>(number >> (8 * i));
    PageBuffer& page = store.MutablePage(number);
    page.fill(0);
    page[0] = Format::kPageTableDefinition;
    page[1] = 0x01;
    std::size_t part = std::min(perContinuation, definition.size() - done);
    std::memcpy(page.data() + T::kContinuationHeaderSize, definition.data() + done, part);
    done += part;
    setFree(page, done == definition.size() ? Format::kPageSize - T::kContinuationHeaderSize -
                                                  part - T::kContinuationHeaderSize
                                            : 0);
    previous = &page;
  }
}

}  // namespace Jet
