#include "data/jet/TableWriter.h"

#include <algorithm>

#include "data/jet/DataPage.h"
#include "data/jet/DataPageWriter.h"
#include "data/jet/IndexKey.h"
#include "data/jet/IndexPageWriter.h"
#include "data/jet/JetError.h"
#include "data/jet/LongValueWriter.h"
#include "data/jet/RowDecoder.h"
#include "data/jet/RowEncoder.h"
#include "data/jet/TableScan.h"
#include "data/jet/UsageMap.h"
#include "data/jet/UsageMapWriter.h"

namespace Jet {
namespace {

namespace F = Format;
namespace D = Format::DataPage;
namespace T = Format::Tdef;

constexpr std::size_t kRowPointerSize = 4;
// Access compresses Memo text only up to this many characters.
constexpr std::size_t kMaxCompressedMemo = 1024;

std::string Printable(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  return out;
}

void Put32(PageBuffer& page, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) page[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<std::uint8_t> MemoBytes(const Value& value) {
  const std::u16string& text = value.As<MemoText>().text;
  return EncodeText(text, text.size() <= kMaxCompressedMemo);
}

}  // namespace

TableWriter::TableWriter(PageStore& store, TableDefinition table)
    : store_(store), table_(std::move(table)), indexes_(table_.realIndexes.size()) {
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    indexes_[i].maintainable = CanEncodeIndex(table_, table_.realIndexes[i], indexes_[i].why);
  }
  TableScan scan(store_, table_);
  std::vector<Value> values;
  while (scan.Next(values)) {
    ++liveRows_;
    for (std::size_t i = 0; i < indexes_.size(); ++i) {
      IndexState& index = indexes_[i];
      if (!index.maintainable) continue;
      const RealIndexDefinition& definition = table_.realIndexes[i];
      if (definition.IgnoresNulls() && KeyIsAllNull(table_, definition, values)) continue;
      try {
        RowPointer at = scan.CurrentRow();
        index.entries.insert(
            MakeIndexEntry(EncodeIndexKey(table_, definition, values), at.page, at.row));
      } catch (const JetError& error) {
        if (error.Kind() != JetErrorKind::kUnsupportedWrite) throw;
        index.maintainable = false;
        index.why = error.what();
        index.entries.clear();
      }
    }
  }
}

void TableWriter::RequireMaintainableIndexes() const {
  for (const IndexState& index : indexes_) {
    if (!index.maintainable) {
      throw JetError(JetErrorKind::kUnsupportedWrite,
                     "table " + Printable(table_.name) +
                         " has an index the engine cannot maintain (" + index.why +
                         "); it can be read but not changed");
    }
  }
}

TableWriter::StoredRow TableWriter::Locate(const RowPointer& row) const {
  StoredRow stored;
  stored.identity = row;
  RowPointer at = row;
  for (int moves = 0;; ++moves) {
    if (moves == D::kMaxRowMoves) ThrowCorrupt("overflow row pointers loop");
    const PageBuffer& page = store_.Page(at.page);
    if (page[0] != F::kPageData ||
        ViewOf(page, "data page").U32(D::kOwner) != table_.definitionPage) {
      throw JetError(JetErrorKind::kNotFound,
                     "no row of table " + Printable(table_.name) + " at that place");
    }
    DataPage data(ViewOf(page, "data page"));
    if (at.row >= data.SlotCount())
      throw JetError(JetErrorKind::kNotFound, "no such row in table " + Printable(table_.name));
    RowSlot slot = data.Slot(at.row);
    if (moves == 0 && slot.deleted) throw JetError(JetErrorKind::kNotFound, "the row was deleted");
    ByteView bytes = data.RowBytes(slot);
    if (slot.overflow && (moves == 0 || !slot.deleted)) {
      at = RowPointer::Read(bytes, 0);
      stored.moved = true;
      continue;
    }
    stored.location = at;
    stored.bytes.assign(bytes.Data(), bytes.Data() + bytes.Size());
    return stored;
  }
}

std::vector<Value> TableWriter::Read(const RowPointer& row) const {
  StoredRow stored = Locate(row);
  return DecodeRow(store_, table_, ByteView(stored.bytes.data(), stored.bytes.size(), "row"));
}

std::vector<std::vector<std::uint8_t>> TableWriter::EntriesFor(const std::vector<Value>& values,
                                                               const RowPointer& row) const {
  std::vector<std::vector<std::uint8_t>> entries(indexes_.size());
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    const RealIndexDefinition& definition = table_.realIndexes[i];
    if (definition.IgnoresNulls() && KeyIsAllNull(table_, definition, values)) continue;
    entries[i] = MakeIndexEntry(EncodeIndexKey(table_, definition, values), row.page, row.row);
  }
  return entries;
}

void TableWriter::CheckKeys(const std::vector<std::vector<std::uint8_t>>& entries,
                            const std::vector<Value>& values, const RowPointer& self) const {
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    const RealIndexDefinition& definition = table_.realIndexes[i];
    if (definition.IsRequired()) {
      for (const IndexColumn& indexColumn : definition.columns) {
        for (std::size_t c = 0; c < table_.columns.size(); ++c) {
          if (table_.columns[c].number == indexColumn.columnNumber && values[c].IsNull()) {
            throw JetError(JetErrorKind::kInvalidValue,
                           "column " + Printable(table_.columns[c].name) +
                               " of a required or primary key cannot be NULL");
          }
        }
      }
    }
    if (!definition.IsUnique() || entries[i].empty() || KeyIsAllNull(table_, definition, values))
      continue;
    std::vector<std::uint8_t> key(entries[i].begin(), entries[i].end() - kRowPointerSize);
    auto found = indexes_[i].entries.lower_bound(key);
    if (found != indexes_[i].entries.end() && found->size() == entries[i].size() &&
        std::equal(key.begin(), key.end(), found->begin())) {
      RowPointer owner{
          static_cast<std::uint32_t>((*found)[key.size()] << 16 | (*found)[key.size() + 1] << 8 |
                                     (*found)[key.size() + 2]),
          (*found)[key.size() + 3]};
      if (owner == self) continue;
      throw JetError(JetErrorKind::kDuplicateKey,
                     "table " + Printable(table_.name) +
                         ": the value would duplicate a key of a unique index");
    }
  }
}

std::vector<std::uint8_t> TableWriter::EncodeRowBytes(const std::vector<Value>& values,
                                                      const StoredRow* old, bool writeLongValues,
                                                      const std::vector<RawColumnBytes>* given) {
  std::vector<RawColumnBytes> raw(table_.columns.size());
  std::unique_ptr<RowLayout> layout;
  if (old)
    layout =
        std::make_unique<RowLayout>(table_, ByteView(old->bytes.data(), old->bytes.size(), "row"));
  for (std::size_t i = 0; i < table_.columns.size(); ++i) {
    const ColumnDefinition& column = table_.columns[i];
    const Value& value = values[i];
    if (given && (*given)[i]) {
      raw[i] = (*given)[i];
      continue;
    }
    if (value.Is<Unsupported>()) {
      ByteView bytes;
      if (layout && layout->ColumnBytes(column, bytes))
        raw[i] = std::vector<std::uint8_t>(bytes.Data(), bytes.Data() + bytes.Size());
      continue;
    }
    if (column.typeCode != F::kTypeMemo || value.IsNull()) continue;
    std::vector<std::uint8_t> data = MemoBytes(value);
    if (writeLongValues) {
      const LongValueMaps* maps = nullptr;
      for (const LongValueMaps& candidate : table_.longValueMaps) {
        if (candidate.columnNumber == column.number) maps = &candidate;
      }
      if (!maps) ThrowCorrupt("a Memo column has no long-value usage maps");
      raw[i] = WriteLongValue(store_, *maps, data);
    } else {
      std::size_t size =
          F::LongValue::kReferenceSize + (data.size() <= kMaxInlineLongValue ? data.size() : 0);
      raw[i] = std::vector<std::uint8_t>(size, 0);
    }
  }
  std::vector<std::uint8_t> row = EncodeRow(table_, values, raw);
  if (row.size() > kMaxRowSize) {
    throw JetError(JetErrorKind::kInvalidValue, "a row of table " + Printable(table_.name) +
                                                    " would take " + std::to_string(row.size()) +
                                                    " bytes, more than a page holds");
  }
  return row;
}

std::uint32_t TableWriter::PageForRow(std::size_t length) {
  auto usable = [&](std::uint32_t number) {
    const PageBuffer& page = store_.Page(number);
    return page[0] == F::kPageData &&
           ViewOf(page, "data page").U32(D::kOwner) == table_.definitionPage &&
           RowFits(page, length);
  };
  if (insertPage_ != 0 && usable(insertPage_)) return insertPage_;
  std::vector<std::uint32_t> roomy =
      ReadUsageMap(store_, table_.freeSpacePages, "table free-space map");
  if (!roomy.empty()) {
    std::uint32_t candidate = roomy.back();
    if (usable(candidate)) return insertPage_ = candidate;
    SetPageInMap(store_, table_.freeSpacePages, candidate, false);
  }
  std::uint32_t fresh = AllocatePage(store_);
  InitDataPage(store_.MutablePage(fresh), table_.definitionPage);
  SetPageInMap(store_, table_.ownedPages, fresh, true);
  SetPageInMap(store_, table_.freeSpacePages, fresh, true);
  return insertPage_ = fresh;
}

void TableWriter::Discard(const RowPointer& row) {
  // Deleted as Access deletes: both flags (mdbtools skips slots flagged overflow but reads
  // slots flagged only deleted, because that is how it reaches a moved row's bytes), and
  // the bytes reclaimed, leaving a zero-length slot so row numbers stay.
  PageBuffer& page = store_.MutablePage(row.page);
  SetSlotFlags(page, row.row, D::kSlotDeleted | D::kSlotOverflow);
  if (RowCanResize(page, row.row, 0)) {
    ResizeRow(page, row.row, {});
    SetPageInMap(store_, table_.freeSpacePages, row.page, true);
  }
}

RowPointer TableWriter::PlaceRow(const std::vector<std::uint8_t>& bytes, std::uint16_t flags) {
  std::uint32_t page = PageForRow(bytes.size());
  std::uint8_t row = AddRow(store_.MutablePage(page), bytes.data(), bytes.size(), flags);
  return RowPointer{page, row};
}

RowPointer TableWriter::Insert(std::vector<Value> values) {
  return Insert(std::move(values), std::vector<RawColumnBytes>(table_.columns.size()));
}

RowPointer TableWriter::Insert(std::vector<Value> values,
                               const std::vector<RawColumnBytes>& given) {
  RequireMaintainableIndexes();
  if (given.size() != table_.columns.size())
    throw JetError(JetErrorKind::kInvalidValue, "a row needs one value per column");
  if (values.size() != table_.columns.size())
    throw JetError(JetErrorKind::kInvalidValue, "a row needs one value per column");
  std::uint32_t lastAutoNumber = table_.lastAutoNumber;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const ColumnDefinition& column = table_.columns[i];
    if (column.typeCode == F::kTypeBoolean && values[i].IsNull()) values[i] = Value(false);
    if (column.IsAutoNumber() && column.typeCode == F::kTypeLong) {
      if (values[i].IsNull()) {
        if (lastAutoNumber >= 0x7FFFFFFFu)
          throw JetError(JetErrorKind::kInvalidValue, "the AutoNumber counter is exhausted");
        values[i] = Value(static_cast<std::int32_t>(++lastAutoNumber));
      } else if (values[i].Is<std::int32_t>() && values[i].As<std::int32_t>() > 0) {
        lastAutoNumber =
            std::max(lastAutoNumber, static_cast<std::uint32_t>(values[i].As<std::int32_t>()));
      }
    }
    CheckValue(column, values[i]);
  }
  EncodeRowBytes(values, nullptr, false, &given);
  // The row's identity is only known once a page is chosen; keys are checked first with
  // a pointer no existing row has.
  std::vector<std::vector<std::uint8_t>> probe = EntriesFor(values, RowPointer{0, 0});
  CheckKeys(probe, values, RowPointer{0, 0});

  std::vector<std::uint8_t> bytes = EncodeRowBytes(values, nullptr, true, &given);
  RowPointer at = PlaceRow(bytes, 0);
  std::vector<std::vector<std::uint8_t>> entries = EntriesFor(values, at);
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    if (!entries[i].empty()) indexes_[i].entries.insert(entries[i]);
  }
  ++liveRows_;
  table_.lastAutoNumber = lastAutoNumber;
  changed_ = true;
  return at;
}

void TableWriter::Update(const RowPointer& row, std::vector<Value> values) {
  RequireMaintainableIndexes();
  if (values.size() != table_.columns.size())
    throw JetError(JetErrorKind::kInvalidValue, "a row needs one value per column");
  StoredRow old = Locate(row);
  std::vector<Value> oldValues =
      DecodeRow(store_, table_, ByteView(old.bytes.data(), old.bytes.size(), "row"));
  for (std::size_t i = 0; i < values.size(); ++i) {
    const ColumnDefinition& column = table_.columns[i];
    if (column.typeCode == F::kTypeBoolean && values[i].IsNull()) values[i] = Value(false);
    if (column.IsAutoNumber() && values[i].IsNull()) values[i] = oldValues[i];
    CheckValue(column, values[i]);
  }
  EncodeRowBytes(values, &old, false);
  std::vector<Value> keyValues = values;
  std::vector<std::vector<std::uint8_t>> oldEntries = EntriesFor(oldValues, row);
  std::vector<std::vector<std::uint8_t>> newEntries = EntriesFor(keyValues, row);
  CheckKeys(newEntries, keyValues, row);

  std::vector<std::uint8_t> bytes = EncodeRowBytes(values, &old, true);
  PageBuffer& livePage = store_.MutablePage(old.location.page);
  if (RowCanResize(livePage, old.location.row, bytes.size())) {
    // Rewritten where it is, the rows below it moving up or down (Access does the same).
    ResizeRow(livePage, old.location.row, bytes);
  } else if (bytes.size() <= old.bytes.size()) {
    // A page laid out in a way the engine does not rearrange: the row is padded back to
    // its length after the variable data, so the offsets inside stay right.
    std::size_t pad = old.bytes.size() - bytes.size();
    std::size_t maskSize = (table_.rowColumnCount + 7) / 8;
    std::size_t at =
        bytes.size() - maskSize - (table_.variableSlots > 0 ? 4 + 2 * table_.variableSlots : 0);
    bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), pad, 0);
    OverwriteRow(livePage, old.location.row, bytes);
  } else {
    // Moved: the full row goes where there is room, flagged deleted so scans skip it,
    // and the row's own slot keeps only a pointer to it.
    RowPointer target = PlaceRow(bytes, D::kSlotDeleted);
    if (old.moved) Discard(old.location);
    std::vector<std::uint8_t> header(kRowPointerSize, 0);
    header[0] = target.row;
    header[1] = static_cast<std::uint8_t>(target.page);
    header[2] = static_cast<std::uint8_t>(target.page >> 8);
    header[3] = static_cast<std::uint8_t>(target.page >> 16);
    PageBuffer& page = store_.MutablePage(row.page);
    if (RowCanResize(page, row.row, header.size())) {
      ResizeRow(page, row.row, header);
    } else {
      RowSlot headerSlot = DataPage(ViewOf(page, "data page")).Slot(row.row);
      if (headerSlot.length < kRowPointerSize) {
        throw JetError(JetErrorKind::kUnsupportedWrite,
                       "a row too short to hold a pointer cannot grow");
      }
      header.resize(headerSlot.length, 0);
      OverwriteRow(page, row.row, header);
    }
    SetSlotFlags(page, row.row, D::kSlotOverflow);
  }
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    if (!oldEntries[i].empty()) indexes_[i].entries.erase(oldEntries[i]);
    if (!newEntries[i].empty()) indexes_[i].entries.insert(newEntries[i]);
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    const ColumnDefinition& column = table_.columns[i];
    if (column.IsAutoNumber() && values[i].Is<std::int32_t>() && values[i].As<std::int32_t>() > 0) {
      table_.lastAutoNumber =
          std::max(table_.lastAutoNumber, static_cast<std::uint32_t>(values[i].As<std::int32_t>()));
    }
  }
  changed_ = true;
}

void TableWriter::Delete(const RowPointer& row) {
  RequireMaintainableIndexes();
  StoredRow old = Locate(row);
  std::vector<Value> oldValues =
      DecodeRow(store_, table_, ByteView(old.bytes.data(), old.bytes.size(), "row"));
  std::vector<std::vector<std::uint8_t>> oldEntries = EntriesFor(oldValues, row);
  Discard(row);
  if (old.moved) Discard(old.location);
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    if (!oldEntries[i].empty()) indexes_[i].entries.erase(oldEntries[i]);
  }
  --liveRows_;
  changed_ = true;
}

void TableWriter::Flush() {
  if (!changed_) return;
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    std::vector<std::vector<std::uint8_t>> entries(indexes_[i].entries.begin(),
                                                   indexes_[i].entries.end());
    WriteIndexTree(store_, table_.definitionPage, table_.realIndexes[i], entries);
  }
  PageBuffer& tdef = store_.MutablePage(table_.definitionPage);
  if (tdef[0] != F::kPageTableDefinition) ThrowCorrupt("table definition page changed type");
  Put32(tdef, T::kRowCount, liveRows_);
  Put32(tdef, T::kLastAutoNumber, table_.lastAutoNumber);
  for (std::size_t i = 0; i < indexes_.size(); ++i) {
    std::size_t at = T::kHeaderSize + i * T::kRealIndexCounterSize + 4;
    if (at + 4 > Format::kPageSize) break;
    // Access keeps the entry count of the last (re)build before the distinct keys in user
    // tables, and 0 in system tables.
    if (table_.tableType == T::kUserTable) {
      Put32(tdef, at - 4, static_cast<std::uint32_t>(indexes_[i].entries.size()));
    }
    std::uint32_t distinct = 0;
    const std::vector<std::uint8_t>* previous = nullptr;
    for (const auto& entry : indexes_[i].entries) {
      if (!previous || !std::equal(entry.begin(), entry.end() - kRowPointerSize, previous->begin(),
                                   previous->end() - kRowPointerSize)) {
        ++distinct;
      }
      previous = &entry;
    }
    Put32(tdef, at, distinct);
  }
  changed_ = false;
}

}  // namespace Jet
