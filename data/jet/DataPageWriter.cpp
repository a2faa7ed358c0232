#include "data/jet/DataPageWriter.h"

#include <cstring>

#include "data/jet/JetError.h"

namespace Jet {
namespace {

namespace D = Format::DataPage;

std::uint16_t Get16(const PageBuffer& page, std::size_t at) {
  return static_cast<std::uint16_t>(page[at] | page[at + 1] << 8);
}
void Put16(PageBuffer& page, std::size_t at, std::uint16_t value) {
  page[at] = static_cast<std::uint8_t>(value);
  page[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
std::size_t LowestStart(const PageBuffer& page, std::size_t slots) {
  return slots == 0 ? Format::kPageSize
                    : (Get16(page, D::kRowSlots + 2 * (slots - 1)) & D::kSlotOffsetMask);
}

}  // namespace

void InitDataPage(PageBuffer& page, std::uint32_t owner) {
  page.fill(0);
  page[0] = Format::kPageData;
  page[1] = 0x01;
  Put16(page, D::kFreeSpace, static_cast<std::uint16_t>(Format::kPageSize - D::kRowSlots));
  for (int i = 0; i < 4; ++i) page[D::kOwner + i] = static_cast<std::uint8_t>(owner >> (8 * i));
}

std::size_t DataPageFreeSpace(const PageBuffer& page) {
  DataPage data(ViewOf(page, "data page"));
  std::size_t slots = data.SlotCount();
  std::size_t low = LowestStart(page, slots);
  std::size_t table = D::kRowSlots + 2 * slots;
  return low >= table ? low - table : 0;
}

bool RowFits(const PageBuffer& page, std::size_t length) {
  DataPage data(ViewOf(page, "data page"));
  return data.SlotCount() < D::kMaxRowSlots - 1 && length + 2 <= DataPageFreeSpace(page);
}

std::uint8_t AddRow(PageBuffer& page, const std::uint8_t* bytes, std::size_t length,
                    std::uint16_t flags) {
  if (!RowFits(page, length)) ThrowCorrupt("a row does not fit the page chosen for it");
  std::size_t slots = DataPage(ViewOf(page, "data page")).SlotCount();
  std::size_t start = LowestStart(page, slots) - length;
  if (length != 0) std::memcpy(page.data() + start, bytes, length);
  Put16(page, D::kRowSlots + 2 * slots, static_cast<std::uint16_t>(start | flags));
  Put16(page, D::kRowCount, static_cast<std::uint16_t>(slots + 1));
  Put16(page, D::kFreeSpace, static_cast<std::uint16_t>(start - (D::kRowSlots + 2 * (slots + 1))));
  return static_cast<std::uint8_t>(slots);
}

void SetSlotFlags(PageBuffer& page, std::uint8_t row, std::uint16_t flags) {
  DataPage data(ViewOf(page, "data page"));
  if (row >= data.SlotCount()) ThrowCorrupt("a row number past the page's slots");
  std::size_t at = D::kRowSlots + 2 * row;
  Put16(page, at, static_cast<std::uint16_t>((Get16(page, at) & D::kSlotOffsetMask) | flags));
}

void OverwriteRow(PageBuffer& page, std::uint8_t row, const std::vector<std::uint8_t>& bytes) {
  DataPage data(ViewOf(page, "data page"));
  RowSlot slot = data.Slot(row);
  data.RowBytes(slot);
  if (bytes.size() > slot.length) ThrowCorrupt("a rewritten row is longer than its slot");
  std::memset(page.data() + slot.start, 0, slot.length);
  if (!bytes.empty()) std::memcpy(page.data() + slot.start, bytes.data(), bytes.size());
}

bool RowCanResize(const PageBuffer& page, std::uint8_t row, std::size_t length) {
  DataPage data(ViewOf(page, "data page"));
  if (row >= data.SlotCount()) return false;
  // Only a page whose later rows are packed one below the other (as every writer packs
  // them) is rearranged; anything else is left alone.
  std::size_t previous = Format::kPageSize;
  for (std::size_t i = 0; i < data.SlotCount(); ++i) {
    std::size_t start = Get16(page, D::kRowSlots + 2 * i) & D::kSlotOffsetMask;
    if (start > previous || start < D::kRowSlots + 2 * data.SlotCount()) return false;
    previous = start;
  }
  RowSlot slot = data.Slot(row);
  return length <= slot.length || length - slot.length <= DataPageFreeSpace(page);
}

void ResizeRow(PageBuffer& page, std::uint8_t row, const std::vector<std::uint8_t>& bytes) {
  DataPage data(ViewOf(page, "data page"));
  std::size_t slots = data.SlotCount();
  RowSlot slot = data.Slot(row);
  data.RowBytes(slot);
  if (!RowCanResize(page, row, bytes.size())) ThrowCorrupt("a resized row does not fit its page");
  std::size_t low = LowestStart(page, slots);
  std::size_t rowEnd = slot.start + slot.length;
  std::size_t newStart = rowEnd - bytes.size();
  // The rows below this one, [low, slot.start), move by the change in length.
  std::ptrdiff_t shift =
      static_cast<std::ptrdiff_t>(newStart) - static_cast<std::ptrdiff_t>(slot.start);
  std::size_t blockSize = slot.start - low;
  std::size_t newLow = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(low) + shift);
  if (blockSize != 0) std::memmove(page.data() + newLow, page.data() + low, blockSize);
  if (!bytes.empty()) std::memcpy(page.data() + newStart, bytes.data(), bytes.size());
  if (shift > 0) std::memset(page.data() + low, 0, static_cast<std::size_t>(shift));
  for (std::size_t i = row; i < slots; ++i) {
    std::size_t at = D::kRowSlots + 2 * i;
    std::uint16_t entry = Get16(page, at);
    std::size_t start = entry & D::kSlotOffsetMask;
    // Rows are packed in slot order, so the later ones are exactly the moved block.
    if (i == row) start = newStart;
    else start = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(start) + shift);
    Put16(page, at, static_cast<std::uint16_t>((entry & ~D::kSlotOffsetMask) | start));
  }
  Put16(page, D::kFreeSpace, static_cast<std::uint16_t>(newLow - (D::kRowSlots + 2 * slots)));
}

}  // namespace Jet
