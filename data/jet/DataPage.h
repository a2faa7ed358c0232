#pragma once
#include <cstdint>

#include "data/jet/ByteView.h"
#include "data/jet/PageSource.h"
#include "data/jet/RowPointer.h"

namespace Jet {

// One entry of a data page's row-offset table.
struct RowSlot {
  std::uint16_t start = 0;
  std::uint16_t length = 0;
  bool deleted = false;
  bool overflow = false;  // the row's first 4 bytes point to where it really is
};

// Row slots of a data page (tables, long values, usage-map rows).
// Invariants checked here: the slot table fits in the page; a live row lies between the
// end of the slot table and the end of the page and ends where the previous row starts.
class DataPage {
 public:
  // `page` must be a data page (type 0x01).
  explicit DataPage(const ByteView& page);

  std::uint32_t Owner() const { return page_.U32(Format::DataPage::kOwner); }
  std::size_t SlotCount() const { return slotCount_; }
  // Flags and extent of slot `row`. A deleted slot may have any extent (Access leaves
  // zero-length ones); its bytes are only checked when asked for.
  RowSlot Slot(std::size_t row) const;
  // The bytes of a slot, checked.
  ByteView RowBytes(const RowSlot& slot) const;

 private:
  ByteView page_;
  std::size_t slotCount_ = 0;
};

// Reads the row `pointer` names into `buffer`, checking the page type, and returns its
// bytes (a view into `buffer`). Used for usage-map rows and long values.
ByteView ReadRow(const PageSource& source, const RowPointer& pointer, PageBuffer& buffer,
                 const char* what);

}  // namespace Jet
