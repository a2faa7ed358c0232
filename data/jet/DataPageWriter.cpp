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
  return slots == 0 ? Format::kPageSize : (Get16(page, D::kRowSlots + 2 * (slots - 1)) & D::kSlotOffsetMask);
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

std::uint8_t AddRow(PageBuffer& page, const std::uint8_t* bytes, std::size_t length, std::uint16_t flags) {
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

}  // namespace Jet
