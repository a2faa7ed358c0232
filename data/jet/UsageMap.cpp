#include "data/jet/UsageMap.h"

#include <algorithm>

#include "data/jet/DataPage.h"
#include "data/jet/JetError.h"

namespace Jet {
namespace {

namespace U = Format::UsageMap;

// Appends the pages whose bits are set in `bitmap`, page `firstPage` being bit 0.
void AppendBitmapPages(const ByteView& bitmap, std::uint64_t firstPage, std::uint32_t pageCount,
                       std::vector<std::uint32_t>& pages) {
  for (std::size_t byteIndex = 0; byteIndex < bitmap.Size(); ++byteIndex) {
    std::uint8_t bits = bitmap.U8(byteIndex);
    if (bits == 0) continue;
    for (unsigned bit = 0; bit < 8; ++bit) {
      if ((bits & (1u << bit)) == 0) continue;
      std::uint64_t page = firstPage + byteIndex * 8 + bit;
      if (page >= pageCount) {
        ThrowCorrupt(std::string(bitmap.What()) + " lists page " + std::to_string(page) +
                     " past the end of the file (" + std::to_string(pageCount) + " pages)");
      }
      pages.push_back(static_cast<std::uint32_t>(page));
    }
  }
}

}  // namespace

std::vector<std::uint32_t> DecodeUsageMap(const PageSource& source, const ByteView& mapRow) {
  std::vector<std::uint32_t> pages;
  std::uint32_t pageCount = source.PageCount();
  std::uint8_t mapType = mapRow.U8(0);
  if (mapType == U::kInlineMap) {
    std::uint32_t start = mapRow.U32(U::kInlineStart);
    ByteView bitmap = mapRow.Sub(
        U::kInlineBitmap, mapRow.Size() - std::min(mapRow.Size(), U::kInlineBitmap), "usage map");
    AppendBitmapPages(bitmap, start, pageCount, pages);
    return pages;
  }
  if (mapType != U::kReferenceMap) {
    ThrowCorrupt("usage map of unknown type " + std::to_string(mapType));
  }
  PageBuffer mapPage;
  std::size_t slots = (mapRow.Size() - 1) / 4;
  for (std::size_t slot = 0; slot < slots; ++slot) {
    std::uint32_t mapPageNumber = mapRow.U32(1 + 4 * slot);
    if (mapPageNumber == 0) continue;
    std::uint64_t firstPage = static_cast<std::uint64_t>(slot) * U::kPagesPerMapPage;
    source.ReadPageOfType(mapPageNumber, Format::kPageUsageMap, mapPage, "usage map");
    ByteView bitmap = ViewOf(mapPage, "usage map page")
                          .Sub(U::kMapPageBitmap, Format::kPageSize - U::kMapPageBitmap);
    AppendBitmapPages(bitmap, firstPage, pageCount, pages);
  }
  return pages;
}

std::vector<std::uint32_t> ReadUsageMap(const PageSource& source, const RowPointer& reference,
                                        const char* what) {
  PageBuffer buffer;
  ByteView row = ReadRow(source, reference, buffer, what);
  return DecodeUsageMap(source, row);
}

}  // namespace Jet
