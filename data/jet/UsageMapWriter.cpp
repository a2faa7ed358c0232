#include "data/jet/UsageMapWriter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "data/jet/DataPage.h"
#include "data/jet/JetError.h"
#include "data/jet/UsageMap.h"

namespace Jet {
namespace {

namespace M = Format::UsageMap;
namespace D = Format::DataPage;

struct MapRow {
  std::uint8_t* bytes = nullptr;
  std::size_t length = 0;
};

void PutU32(std::uint8_t* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}
std::uint32_t GetU32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

MapRow LocateMapRow(PageStore& store, const RowPointer& reference) {
  PageBuffer& page = store.MutablePage(reference.page);
  if (page[0] != Format::kPageData)
    ThrowCorrupt("usage map reference to a page that is not a data page");
  DataPage data(ViewOf(page, "usage map page"));
  RowSlot slot = data.Slot(reference.row);
  data.RowBytes(slot);  // checks the extent
  if (slot.length < M::kInlineBitmap) ThrowCorrupt("usage map row too short");
  return MapRow{page.data() + slot.start, slot.length};
}

void SetBit(std::uint8_t* bitmap, std::size_t bit, bool value) {
  std::uint8_t mask = static_cast<std::uint8_t>(1u << (bit % 8));
  if (value) bitmap[bit / 8] |= mask;
  else bitmap[bit / 8] &= static_cast<std::uint8_t>(~mask);
}

void SetInReferenceMap(PageStore& store, const RowPointer& reference, std::uint32_t page,
                       bool listed) {
  MapRow row = LocateMapRow(store, reference);
  std::size_t slots = (row.length - 1) / 4;
  std::size_t index = page / M::kPagesPerMapPage;
  if (index >= slots) {
    if (!listed) return;
    throw JetError(JetErrorKind::kCorrupt,
                   "page " + std::to_string(page) + " is beyond what a usage map can list");
  }
  std::uint32_t mapPage = GetU32(row.bytes + 1 + 4 * index);
  if (mapPage == 0) {
    if (!listed) return;
    mapPage = AllocatePage(store);
    PageBuffer& fresh = store.MutablePage(mapPage);
    fresh[0] = Format::kPageUsageMap;
    fresh[1] = 0x01;
    row = LocateMapRow(store, reference);  // the store may have moved its pages
    PutU32(row.bytes + 1 + 4 * index, mapPage);
  }
  PageBuffer& bitmapPage = store.MutablePage(mapPage);
  if (bitmapPage[0] != Format::kPageUsageMap)
    ThrowCorrupt("usage map refers to a page that is not a bitmap page");
  SetBit(bitmapPage.data() + M::kMapPageBitmap, page % M::kPagesPerMapPage, listed);
}

}  // namespace

void SetPageInMap(PageStore& store, const RowPointer& reference, std::uint32_t page, bool listed) {
  MapRow row = LocateMapRow(store, reference);
  if (row.bytes[0] == M::kReferenceMap) {
    SetInReferenceMap(store, reference, page, listed);
    return;
  }
  if (row.bytes[0] != M::kInlineMap) ThrowCorrupt("usage map of unknown type");
  std::uint32_t start = GetU32(row.bytes + M::kInlineStart);
  std::size_t bits = (row.length - M::kInlineBitmap) * 8;
  if (page >= start && page - start < bits) {
    SetBit(row.bytes + M::kInlineBitmap, page - start, listed);
    return;
  }
  if (!listed) return;
  // Outside the window: a new window if everything fits, otherwise a reference map.
  std::vector<std::uint32_t> pages =
      DecodeUsageMap(store, ByteView(row.bytes, row.length, "usage map"));
  pages.push_back(page);
  std::uint32_t low = *std::min_element(pages.begin(), pages.end()) / 8 * 8;
  std::uint32_t high = *std::max_element(pages.begin(), pages.end());
  std::memset(row.bytes + 1, 0, row.length - 1);
  if (high - low < bits) {
    PutU32(row.bytes + M::kInlineStart, low);
    for (std::uint32_t listedPage : pages)
      SetBit(row.bytes + M::kInlineBitmap, listedPage - low, true);
    return;
  }
  row.bytes[0] = M::kReferenceMap;
  for (std::uint32_t listedPage : pages) SetInReferenceMap(store, reference, listedPage, true);
}

void SetPageInUse(PageStore& store, std::uint32_t page, bool inUse) {
  PageBuffer& mapPage = store.MutablePage(M::kGlobalMapPage);
  DataPage data(ViewOf(mapPage, "global usage map"));
  if (data.SlotCount() < 1) ThrowCorrupt("the global usage map page has no map row");
  RowSlot slot = data.Slot(0);
  data.RowBytes(slot);
  if (slot.length < M::kInlineBitmap || mapPage[slot.start] != M::kInlineMap)
    ThrowCorrupt("the global usage map is not an inline map");
  std::uint8_t* row = mapPage.data() + slot.start;
  std::uint32_t start = GetU32(row + M::kInlineStart);
  std::size_t bits = (slot.length - M::kInlineBitmap) * 8;
  if (page < start) ThrowCorrupt("the global usage map does not start at page 0");
  if (page - start < bits) {
    SetBit(row + M::kInlineBitmap, page - start, !inUse);
    return;
  }
  if (!inUse) return;
  // Lengthen row 0 in whole 32-page groups, as Access does; the page's other rows move
  // down with it. Bits past the end of the file say "free".
  std::size_t newBitmap = ((page - start) / 32 + 1) * 4;
  std::vector<std::vector<std::uint8_t>> rows;
  for (std::size_t i = 0; i < data.SlotCount(); ++i) {
    RowSlot other = data.Slot(i);
    ByteView bytes = data.RowBytes(other);
    rows.emplace_back(bytes.Data(), bytes.Data() + bytes.Size());
  }
  std::vector<std::uint8_t>& first = rows[0];
  first.resize(M::kInlineBitmap + newBitmap, 0xFF);
  SetBit(first.data() + M::kInlineBitmap, page - start, false);
  std::size_t needed = D::kRowSlots + 2 * rows.size();
  for (const auto& r : rows) needed += r.size();
  if (needed > Format::kPageSize)
    throw JetError(JetErrorKind::kCorrupt, "the global usage map cannot grow further");
  std::uint8_t header[D::kRowSlots];
  std::memcpy(header, mapPage.data(), D::kRowSlots);
  mapPage.fill(0);
  std::memcpy(mapPage.data(), header, D::kRowSlots);
  std::size_t end = Format::kPageSize;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::size_t rowStart = end - rows[i].size();
    std::memcpy(mapPage.data() + rowStart, rows[i].data(), rows[i].size());
    mapPage[D::kRowSlots + 2 * i] = static_cast<std::uint8_t>(rowStart);
    mapPage[D::kRowSlots + 2 * i + 1] = static_cast<std::uint8_t>(rowStart >> 8);
    end = rowStart;
  }
  std::size_t freeSpace = end - (D::kRowSlots + 2 * rows.size());
  mapPage[D::kFreeSpace] = static_cast<std::uint8_t>(freeSpace);
  mapPage[D::kFreeSpace + 1] = static_cast<std::uint8_t>(freeSpace >> 8);
}

std::uint32_t AllocatePage(PageStore& store) {
  std::uint32_t page = store.AppendPage();
  SetPageInUse(store, page, true);
  return page;
}

}  // namespace Jet
