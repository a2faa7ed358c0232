#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Jet {

// A read-only window on bytes that the engine does not trust. Every read goes through a
// bounds check; a read past the end throws a "damaged file" JetError naming `what`, the
// structure being read, so the report points at the broken place.
class ByteView {
 public:
  ByteView() = default;
  ByteView(const std::uint8_t* data, std::size_t size, const char* what)
      : data_(data), size_(size), what_(what) {}

  std::size_t Size() const { return size_; }
  const std::uint8_t* Data() const { return data_; }
  const char* What() const { return what_; }

  std::uint8_t U8(std::size_t offset) const {
    Require(offset, 1);
    return data_[offset];
  }
  std::uint16_t U16(std::size_t offset) const {
    Require(offset, 2);
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
  }
  // Little-endian 24-bit value (page numbers in row pointers).
  std::uint32_t U24(std::size_t offset) const;
  std::uint32_t U32(std::size_t offset) const;
  std::int16_t I16(std::size_t offset) const;
  std::int32_t I32(std::size_t offset) const;
  std::int64_t I64(std::size_t offset) const;
  float F32(std::size_t offset) const;
  double F64(std::size_t offset) const;

  // The sub-range [offset, offset + length), checked.
  ByteView Sub(std::size_t offset, std::size_t length) const;
  ByteView Sub(std::size_t offset, std::size_t length, const char* what) const {
    Require(offset, length);
    return ByteView(data_ + offset, length, what);
  }
  bool Contains(std::size_t offset, std::size_t length) const {
    return offset <= size_ && length <= size_ - offset;
  }

 private:
  // Inline, as the check runs for every byte a scan reads; the report is made elsewhere.
  void Require(std::size_t offset, std::size_t length) const {
    if (!Contains(offset, length)) ThrowPastEnd(offset, length);
  }
  [[noreturn]] void ThrowPastEnd(std::size_t offset, std::size_t length) const;

  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
  const char* what_ = "data";
};

}  // namespace Jet
