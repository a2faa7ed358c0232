#pragma once
#include <cstdint>

#include "data/jet/ByteView.h"

namespace Jet {

// A row's address in the file. On disk (row pointers, usage-map references, overflow and
// long-value pointers) it is 4 bytes: u8 row number, u24 page number.
struct RowPointer {
  std::uint32_t page = 0;
  std::uint8_t row = 0;

  static RowPointer Read(const ByteView& bytes, std::size_t offset) {
    return RowPointer{bytes.U24(offset + 1), bytes.U8(offset)};
  }
  bool operator==(const RowPointer& other) const { return page == other.page && row == other.row; }
  bool operator<(const RowPointer& other) const {
    return page != other.page ? page < other.page : row < other.row;
  }
};

}  // namespace Jet
