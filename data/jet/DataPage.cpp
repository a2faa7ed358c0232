#include "data/jet/DataPage.h"

#include "data/jet/JetError.h"

namespace Jet {

namespace D = Format::DataPage;

DataPage::DataPage(const ByteView& page) : page_(page) {
  slotCount_ = page_.U16(D::kRowCount);
  if (slotCount_ > D::kMaxRowSlots || D::kRowSlots + 2 * slotCount_ > page_.Size()) {
    ThrowCorrupt(std::string(page_.What()) + ": row count " + std::to_string(slotCount_) +
                 " does not fit the page");
  }
}

RowSlot DataPage::Slot(std::size_t row) const {
  if (row >= slotCount_) {
    ThrowCorrupt(std::string(page_.What()) + ": row " + std::to_string(row) + " does not exist (" +
                 std::to_string(slotCount_) + " rows)");
  }
  std::uint16_t entry = page_.U16(D::kRowSlots + 2 * row);
  RowSlot slot;
  slot.deleted = (entry & D::kSlotDeleted) != 0;
  slot.overflow = (entry & D::kSlotOverflow) != 0;
  std::size_t start = entry & D::kSlotOffsetMask;
  std::size_t end =
      row == 0 ? page_.Size() : (page_.U16(D::kRowSlots + 2 * (row - 1)) & D::kSlotOffsetMask);
  if (start > end || end > page_.Size()) {
    if (slot.deleted) return slot;
    ThrowCorrupt(std::string(page_.What()) + ": row " + std::to_string(row) +
                 " has an impossible extent");
  }
  slot.start = static_cast<std::uint16_t>(start);
  slot.length = static_cast<std::uint16_t>(end - start);
  return slot;
}

ByteView DataPage::RowBytes(const RowSlot& slot) const {
  if (slot.start < D::kRowSlots + 2 * slotCount_ && slot.length > 0) {
    ThrowCorrupt(std::string(page_.What()) + ": a row overlaps the row-offset table");
  }
  return page_.Sub(slot.start, slot.length);
}

ByteView ReadRow(const PageSource& source, const RowPointer& pointer, PageBuffer& buffer,
                 const char* what) {
  source.ReadPageOfType(pointer.page, Format::kPageData, buffer, what);
  DataPage page(ViewOf(buffer, what));
  return page.RowBytes(page.Slot(pointer.row));
}

}  // namespace Jet
