#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "data/jet/PageStore.h"
#include "data/jet/RowPointer.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/Value.h"

// Fourth layer, write side: the rows and indexes of one table.
namespace Jet {

// Writes rows of one table into a PageStore. On creation it scans the table once to learn
// its live rows and every index's entries; each write is checked completely (values,
// row size, unique and required keys, maintainable indexes) before its first page
// change, so a refused write changes nothing. Index B-trees, the row count, the
// AutoNumber counter and the distinct-key counters are written by Flush.
// The long-value rows of replaced or deleted Memo values are left in place, unreferenced,
// until a compact (as Jackcess does): flagging them deleted would be valid, but
// mdb-reader then misreads the rows stored after them on the same page.
class TableWriter {
 public:
  TableWriter(PageStore& store, TableDefinition table);

  const TableDefinition& Definition() const { return table_; }

  // `values` has one value per column in the definition's order. A NULL in an
  // AutoNumber column receives the next number; a NULL Yes/No is No. Returns the row's
  // identity (what indexes refer to).
  RowPointer Insert(std::vector<Value> values);
  // As Insert, with stored bytes given for some columns (Binary values such as the owner
  // SIDs of catalogue rows, which have no Value kind); `raw` has one entry per column.
  RowPointer Insert(std::vector<Value> values,
                    const std::vector<std::optional<std::vector<std::uint8_t>>>& raw);
  // Values of a type the engine does not decode (Unsupported) keep their stored bytes; a
  // NULL AutoNumber keeps the stored number.
  void Update(const RowPointer& row, std::vector<Value> values);
  void Delete(const RowPointer& row);
  // The values of a live row.
  std::vector<Value> Read(const RowPointer& row) const;

  // Writes what Insert/Update/Delete left for the end: index trees and TDEF counters.
  void Flush();
  // Writes the index trees and counters even when nothing changed (new tables).
  void FlushAll() {
    changed_ = true;
    Flush();
  }

 private:
  struct IndexState {
    bool maintainable = true;
    std::string why;
    std::set<std::vector<std::uint8_t>> entries;  // key + row pointer, in index order
  };
  struct StoredRow {
    RowPointer identity;  // the header slot
    RowPointer location;  // where the bytes are (differs after a move)
    bool moved = false;
    std::vector<std::uint8_t> bytes;
  };

  StoredRow Locate(const RowPointer& row) const;
  void RequireMaintainableIndexes() const;
  // Per real index: the entry for `values` at `row`, or empty when the index skips it.
  std::vector<std::vector<std::uint8_t>> EntriesFor(const std::vector<Value>& values,
                                                    const RowPointer& row) const;
  void CheckKeys(const std::vector<std::vector<std::uint8_t>>& entries,
                 const std::vector<Value>& values, const RowPointer& self) const;
  // The row's bytes. Memo values are written to long-value pages only when
  // `writeLongValues`; otherwise stand-ins of the same size let the caller check the row
  // size before anything is written.
  std::vector<std::uint8_t> EncodeRowBytes(
      const std::vector<Value>& values, const StoredRow* old, bool writeLongValues,
      const std::vector<std::optional<std::vector<std::uint8_t>>>* given = nullptr);
  std::uint32_t PageForRow(std::size_t length);
  RowPointer PlaceRow(const std::vector<std::uint8_t>& bytes, std::uint16_t flags);
  // Deletes the slot's row (a row, a moved row's header or an abandoned target).
  void Discard(const RowPointer& row);

  PageStore& store_;
  TableDefinition table_;
  std::vector<IndexState> indexes_;
  std::uint32_t liveRows_ = 0;
  std::uint32_t insertPage_ = 0;
  bool changed_ = false;
};

}  // namespace Jet
