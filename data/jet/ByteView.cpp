#include "data/jet/ByteView.h"

#include <cstring>

#include "data/jet/JetError.h"

namespace Jet {

void ByteView::ThrowPastEnd(std::size_t offset, std::size_t length) const {
  ThrowCorrupt(std::string(what_) + ": read of " + std::to_string(length) + " bytes at " +
               std::to_string(offset) + " past its end (" + std::to_string(size_) + " bytes)");
}

std::uint32_t ByteView::U24(std::size_t offset) const {
  Require(offset, 3);
  return static_cast<std::uint32_t>(data_[offset]) |
         (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(data_[offset + 2]) << 16);
}

std::uint32_t ByteView::U32(std::size_t offset) const {
  Require(offset, 4);
  return static_cast<std::uint32_t>(data_[offset]) |
         (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
}

std::int16_t ByteView::I16(std::size_t offset) const {
  return static_cast<std::int16_t>(U16(offset));
}

std::int32_t ByteView::I32(std::size_t offset) const {
  return static_cast<std::int32_t>(U32(offset));
}

std::int64_t ByteView::I64(std::size_t offset) const {
  Require(offset, 8);
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | data_[offset + static_cast<std::size_t>(i)];
  return static_cast<std::int64_t>(value);
}

float ByteView::F32(std::size_t offset) const {
  std::uint32_t bits = U32(offset);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

double ByteView::F64(std::size_t offset) const {
  std::uint64_t bits = static_cast<std::uint64_t>(I64(offset));
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

ByteView ByteView::Sub(std::size_t offset, std::size_t length) const {
  return Sub(offset, length, what_);
}

}  // namespace Jet
