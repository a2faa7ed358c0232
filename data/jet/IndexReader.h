#pragma once
#include <cstdint>
#include <vector>

#include "data/jet/IndexDefinition.h"
#include "data/jet/PageSource.h"

// Reading an index's B-tree (page layout in IndexPageWriter.h).
namespace Jet {

struct IndexTreeEntries {
  std::vector<std::vector<std::uint8_t>> entries;  // leaf entries, full bytes, in leaf order
  std::vector<std::uint32_t> pages;                // every page of the tree
};

// Walks from the root down the leftmost children to the first leaf, then along the leaf
// chain, expanding prefix-compressed entries. Every page is checked for its type, owner
// `tdefPage` and free-space field; a page visited twice is an error.
IndexTreeEntries ReadIndexTree(const PageSource& source, std::uint32_t tdefPage,
                               const RealIndexDefinition& index);

}  // namespace Jet
