#include "data/jet/LongValueWriter.h"

#include "data/jet/DataPage.h"
#include "data/jet/DataPageWriter.h"
#include "data/jet/JetError.h"
#include "data/jet/UsageMap.h"
#include "data/jet/UsageMapWriter.h"

namespace Jet {
namespace {

namespace L = Format::LongValue;
namespace D = Format::DataPage;

// One row on an otherwise empty long-value page: 4082 free bytes less its slot.
constexpr std::size_t kMaxSingleRow = 4076;
constexpr std::size_t kMaxPieceData = kMaxSingleRow - L::kChainPointerSize;

bool IsLongValuePage(const PageBuffer& page) {
  return page[0] == Format::kPageData &&
         ViewOf(page, "long-value page").U32(D::kOwner) == D::kLongValueOwner;
}

// A long-value page of the column with room for `length` bytes: the last one its
// free-space map lists, or a new one.
std::uint32_t PageWithRoom(PageStore& store, const LongValueMaps& maps, std::size_t length) {
  std::vector<std::uint32_t> roomy =
      ReadUsageMap(store, maps.freeSpacePages, "long-value free-space map");
  if (!roomy.empty()) {
    std::uint32_t candidate = roomy.back();
    const PageBuffer& page = store.Page(candidate);
    if (IsLongValuePage(page) && RowFits(page, length)) return candidate;
    SetPageInMap(store, maps.freeSpacePages, candidate, false);
  }
  std::uint32_t fresh = AllocatePage(store);
  InitDataPage(store.MutablePage(fresh), D::kLongValueOwner);
  SetPageInMap(store, maps.ownedPages, fresh, true);
  SetPageInMap(store, maps.freeSpacePages, fresh, true);
  return fresh;
}

RowPointer StoreRow(PageStore& store, const LongValueMaps& maps, const std::uint8_t* bytes,
                    std::size_t length) {
  std::uint32_t page = PageWithRoom(store, maps, length);
  std::uint8_t row = AddRow(store.MutablePage(page), bytes, length, 0);
  return RowPointer{page, row};
}

void PutReference(std::vector<std::uint8_t>& out, std::size_t length, std::uint8_t kind,
                  const RowPointer& where) {
  out.assign(L::kReferenceSize, 0);
  out[0] = static_cast<std::uint8_t>(length);
  out[1] = static_cast<std::uint8_t>(length >> 8);
  out[2] = static_cast<std::uint8_t>(length >> 16);
  out[3] = kind;
  out[L::kRemoteRow] = where.row;
  out[L::kRemoteRow + 1] = static_cast<std::uint8_t>(where.page);
  out[L::kRemoteRow + 2] = static_cast<std::uint8_t>(where.page >> 8);
  out[L::kRemoteRow + 3] = static_cast<std::uint8_t>(where.page >> 16);
}

}  // namespace

std::vector<std::uint8_t> WriteLongValue(PageStore& store, const LongValueMaps& maps,
                                         const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> out;
  // An empty value still gets its reference (inline, length 0): Access also stores it
  // as no bytes at all, but other readers expect the reference.
  if (data.size() > 0xFFFFFF)
    throw JetError(JetErrorKind::kInvalidValue, "a long value is too large");
  if (data.size() <= kMaxInlineLongValue) {
    PutReference(out, data.size(), L::kInline, RowPointer{});
    out.insert(out.end(), data.begin(), data.end());
    return out;
  }
  if (data.size() <= kMaxSingleRow) {
    PutReference(out, data.size(), L::kSingleRow, StoreRow(store, maps, data.data(), data.size()));
    return out;
  }
  // A chain, written from its last piece back so each piece can point to the next.
  std::size_t pieces = (data.size() + kMaxPieceData - 1) / kMaxPieceData;
  RowPointer next{};
  std::vector<std::uint8_t> piece;
  for (std::size_t i = pieces; i-- > 0;) {
    std::size_t begin = i * kMaxPieceData;
    std::size_t end = std::min(data.size(), begin + kMaxPieceData);
    piece.assign(L::kChainPointerSize, 0);
    piece[0] = next.row;
    piece[1] = static_cast<std::uint8_t>(next.page);
    piece[2] = static_cast<std::uint8_t>(next.page >> 8);
    piece[3] = static_cast<std::uint8_t>(next.page >> 16);
    piece.insert(piece.end(), data.begin() + static_cast<std::ptrdiff_t>(begin),
                 data.begin() + static_cast<std::ptrdiff_t>(end));
    next = StoreRow(store, maps, piece.data(), piece.size());
  }
  PutReference(out, data.size(), L::kChain, next);
  return out;
}

}  // namespace Jet
