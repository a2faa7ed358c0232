#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "data/jet/LongValue.h"
#include "data/jet/PageSource.h"
#include "data/jet/RowDecoder.h"
#include "data/jet/RowPointer.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/Value.h"

namespace Jet {

// A forward scan over a table's live rows, in disk order (which has no meaning). Visits
// the data pages of the table's owned-pages map whose owner field is the table; skips
// deleted slots; follows overflow pointers to where a moved row really is.
class TableScan {
 public:
  // The source must outlive the scan; the definition is copied.
  TableScan(const PageSource& source, const TableDefinition& table);

  // Decodes the next row into `values` (one per column); false at the end.
  bool Next(std::vector<Value>& values);
  // Moves to the next row without decoding it (read its columns with Column or through
  // CurrentRowBytes); false at the end.
  bool Advance();
  // The value of the table's column `index` in the row last returned.
  Value Column(std::size_t index);
  const TableDefinition& Table() const { return table_; }
  // The identity of the row last returned: its original slot, which indexes refer to
  // even when the row's bytes were moved elsewhere.
  RowPointer CurrentRow() const { return current_; }
  // The stored bytes of the row last returned (where it really lives), valid until the
  // next call to Next.
  ByteView CurrentRowBytes() const { return currentBytes_; }

 private:
  // Bytes of the row in `slotIndex` of the loaded page, following overflow pointers
  // (into overflowBuffer_). Bounded: a chain of moves longer than kMaxMoves is an error.
  ByteView LiveRowBytes(std::size_t slotIndex);

  const PageSource& source_;
  TableDefinition table_;
  std::vector<std::uint32_t> pages_;
  std::size_t pageIndex_ = 0;
  std::size_t slotIndex_ = 0;
  std::size_t slotCount_ = 0;
  bool pageLoaded_ = false;
  PageBuffer page_;
  PageBuffer overflowBuffer_;
  RowPointer current_;
  ByteView currentBytes_;
  LongValueBudget longValueBudget_;
  // The current row's layout, worked out by the first Column call on it.
  std::optional<RowLayout> layout_;
};

// Counts the live rows by scanning (the stored count may be stale).
std::size_t CountRows(const PageSource& source, const TableDefinition& table);

}  // namespace Jet
