#include "data/jet/TableScan.h"

#include "data/jet/DataPage.h"
#include "data/jet/FormatConstants.h"
#include "data/jet/JetError.h"
#include "data/jet/RowDecoder.h"
#include "data/jet/UsageMap.h"

namespace Jet {

TableScan::TableScan(const PageSource& source, const TableDefinition& table)
    : source_(source),
      table_(table),
      pages_(ReadUsageMap(source, table.ownedPages, "table usage map")),
      longValueBudget_{source.ByteSize()} {}

ByteView TableScan::LiveRowBytes(std::size_t slotIndex) {
  DataPage page(ViewOf(page_, "data page"));
  RowSlot slot = page.Slot(slotIndex);
  ByteView bytes = page.RowBytes(slot);
  for (int moves = 0; slot.overflow; ++moves) {
    if (moves == Format::DataPage::kMaxRowMoves) ThrowCorrupt("overflow row pointers loop");
    RowPointer target = RowPointer::Read(bytes, 0);
    source_.ReadPageOfType(target.page, Format::kPageData, overflowBuffer_, "overflow row");
    DataPage targetPage(ViewOf(overflowBuffer_, "overflow data page"));
    if (targetPage.Owner() != table_.definitionPage)
      ThrowCorrupt("overflow row points into another table's page");
    slot = targetPage.Slot(target.row);
    bytes = targetPage.RowBytes(slot);
  }
  return bytes;
}

bool TableScan::Next(std::vector<Value>& values) {
  if (!Advance()) return false;
  values = DecodeRow(source_, table_, currentBytes_, longValueBudget_);
  return true;
}

Value TableScan::Column(std::size_t index) {
  if (!layout_) layout_.emplace(table_, currentBytes_);
  return DecodeColumn(source_, table_.columns.at(index), *layout_, longValueBudget_);
}

bool TableScan::Advance() {
  layout_.reset();
  for (;;) {
    if (!pageLoaded_) {
      if (pageIndex_ >= pages_.size()) return false;
      std::uint32_t pageNumber = pages_[pageIndex_];
      source_.ReadPage(pageNumber, page_, "table usage map");
      ByteView view = ViewOf(page_, "data page");
      // A map may list pages that are not (or no longer) this table's data pages.
      if (page_[0] != Format::kPageData ||
          view.U32(Format::DataPage::kOwner) != table_.definitionPage) {
        ++pageIndex_;
        continue;
      }
      slotCount_ = DataPage(view).SlotCount();
      slotIndex_ = 0;
      pageLoaded_ = true;
    }
    if (slotIndex_ >= slotCount_) {
      pageLoaded_ = false;
      ++pageIndex_;
      continue;
    }
    std::size_t slotIndex = slotIndex_++;
    RowSlot slot = DataPage(ViewOf(page_, "data page")).Slot(slotIndex);
    if (slot.deleted) continue;
    currentBytes_ = LiveRowBytes(slotIndex);
    current_ = RowPointer{pages_[pageIndex_], static_cast<std::uint8_t>(slotIndex)};
    return true;
  }
}

std::size_t CountRows(const PageSource& source, const TableDefinition& table) {
  TableScan scan(source, table);
  std::vector<Value> values;
  std::size_t count = 0;
  while (scan.Next(values)) ++count;
  return count;
}

}  // namespace Jet
