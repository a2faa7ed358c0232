#pragma once
#include <cstdint>
#include <vector>

#include "data/jet/IndexDefinition.h"
#include "data/jet/PageStore.h"

// Writing an index's B-tree pages. Page layout:
//   off  size  field
//   0    1     0x04 leaf, 0x03 node
//   1    1     0x01
//   2    2     free space = 4096 - end of the last entry
//   4    4     TDEF page of the table
//   12   4     previous page on this level (0 = none)
//   16   4     next page on this level (0 = none)
//   20   4     node pages: the last child ("tail"), not listed as an entry; leaves 0
//   24   2     shared prefix length (written as 0: entries are stored whole)
//   26   1     1 on node pages, 0 on leaves
//   27   453   entry-end bitmap: bit E set where an entry ends (E from offset 480)
//   480  ...   entries, in ascending byte order
// Leaf entry: key, data page (3 bytes big-endian), data row (1 byte).
// Node entry: the last leaf entry under the child, then the child page (4 bytes big-endian).
namespace Jet {

// An index entry as stored in a leaf: key bytes followed by the row's page and row.
std::vector<std::uint8_t> MakeIndexEntry(const std::vector<std::uint8_t>& key, std::uint32_t page,
                                         std::uint8_t row);

// Rewrites the whole B-tree of `index` from `entries` (sorted ascending, duplicates
// allowed only with different row pointers). The root stays on the page the table
// definition names; other pages the index's usage map lists are reused first, more are
// appended, and pages left over are returned to the database as free.
void WriteIndexTree(PageStore& store, std::uint32_t tdefPage, const RealIndexDefinition& index,
                    const std::vector<std::vector<std::uint8_t>>& entries);

}  // namespace Jet
