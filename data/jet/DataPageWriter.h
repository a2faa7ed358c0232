#pragma once
#include <cstdint>
#include <vector>

#include "data/jet/DataPage.h"
#include "data/jet/PageSource.h"

// Changing the rows of a data page (layout in FormatConstants.h, DataPage). Invariants
// kept: rows are packed from the page end downwards, row i ending where row i-1 starts;
// free space = lowest row start - (14 + 2 x slots); at most 255 slots. Row numbers are
// never reused or renumbered, because indexes and overflow pointers refer to them.
namespace Jet {

// Largest row the engine writes: a row and its slot in an otherwise empty page.
constexpr std::size_t kMaxRowSize = 4060;

// Turns `page` into an empty data page owned by `owner` (a TDEF page, or "LVAL").
void InitDataPage(PageBuffer& page, std::uint32_t owner);
std::size_t DataPageFreeSpace(const PageBuffer& page);
// Whether a new row of `length` bytes fits (slot included, slot limit respected).
bool RowFits(const PageBuffer& page, std::size_t length);
// Appends a row with slot flags `flags` (deleted / overflow bits); returns its number.
std::uint8_t AddRow(PageBuffer& page, const std::uint8_t* bytes, std::size_t length,
                    std::uint16_t flags);
// Sets the slot's flag bits (the offset stays).
void SetSlotFlags(PageBuffer& page, std::uint8_t row, std::uint16_t flags);
// Overwrites a row with bytes no longer than it; the caller pads them to the slot length.
void OverwriteRow(PageBuffer& page, std::uint8_t row, const std::vector<std::uint8_t>& bytes);
// Whether row `row` can take `length` bytes in place (the rows below it moving).
bool RowCanResize(const PageBuffer& page, std::uint8_t row, std::size_t length);
// Replaces a row's bytes with `bytes` of any length that fits, moving the rows stored
// below it (their numbers and flags stay) and updating the free space, as Access does
// when it rewrites or deletes a row (a deleted row keeps a zero-length slot).
void ResizeRow(PageBuffer& page, std::uint8_t row, const std::vector<std::uint8_t>& bytes);

}  // namespace Jet
