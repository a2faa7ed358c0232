#include "data/jet/IndexPageWriter.h"

#include <algorithm>
#include <cstring>

#include "data/jet/FormatConstants.h"
#include "data/jet/JetError.h"
#include "data/jet/UsageMap.h"
#include "data/jet/UsageMapWriter.h"

namespace Jet {
namespace {

using namespace Format::IndexPage;

struct TreePage {
  bool leaf = true;
  std::vector<std::vector<std::uint8_t>> entries;  // stored bytes (node entries without the child)
  std::vector<std::size_t> children;               // indexes into the level below
  std::vector<std::uint8_t> lastEntry;             // the largest leaf entry under this page
  std::uint32_t pageNumber = 0;
};

void Put32(PageBuffer& page, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) page[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<TreePage> BuildLeaves(const std::vector<std::vector<std::uint8_t>>& entries) {
  std::vector<TreePage> leaves(1);
  std::size_t used = 0;
  for (const auto& entry : entries) {
    if (entry.size() > kEntryArea / 2)
      throw JetError(JetErrorKind::kUnsupportedWrite, "an index key is too long");
    if (used + entry.size() > kEntryArea) {
      leaves.emplace_back();
      used = 0;
    }
    leaves.back().entries.push_back(entry);
    leaves.back().lastEntry = entry;
    used += entry.size();
  }
  return leaves;
}

// One level of node pages over `below`: each node lists its children but the last one,
// which is its tail (a node with a single child lists it).
std::vector<TreePage> BuildNodes(const std::vector<TreePage>& below) {
  std::vector<TreePage> nodes;
  std::size_t used = kEntryArea + 1;
  for (std::size_t child = 0; child < below.size(); ++child) {
    std::size_t size = below[child].lastEntry.size() + kChildPointerSize;
    if (used + size > kEntryArea) {
      nodes.emplace_back();
      nodes.back().leaf = false;
      used = 0;
    }
    nodes.back().children.push_back(child);
    nodes.back().lastEntry = below[child].lastEntry;
    used += size;
  }
  return nodes;
}

void WritePage(PageStore& store, const TreePage& content, const std::vector<TreePage>* below,
               std::uint32_t tdefPage, std::uint32_t previous, std::uint32_t next) {
  PageBuffer& page = store.MutablePage(content.pageNumber);
  page.fill(0);
  page[0] = content.leaf ? Format::kPageIndexLeaf : Format::kPageIndexNode;
  page[1] = 0x01;
  Put32(page, kOwner, tdefPage);
  Put32(page, kPrevious, previous);
  Put32(page, kNext, next);
  std::vector<std::vector<std::uint8_t>> stored = content.entries;
  if (!content.leaf) {
    std::size_t listed =
        content.children.size() >= 2 ? content.children.size() - 1 : content.children.size();
    for (std::size_t i = 0; i < listed; ++i) {
      const TreePage& child = (*below)[content.children[i]];
      std::vector<std::uint8_t> entry = child.lastEntry;
      for (int shift = 24; shift >= 0; shift -= 8)
        entry.push_back(static_cast<std::uint8_t>(child.pageNumber >> shift));
      stored.push_back(std::move(entry));
    }
    if (content.children.size() >= 2)
      Put32(page, kTail, (*below)[content.children.back()].pageNumber);
    page[kNodeMarker] = 1;
  }
  std::size_t offset = 0;
  for (const auto& entry : stored) {
    if (offset + entry.size() > kEntryArea) ThrowCorrupt("index entries overflow their page");
    std::memcpy(page.data() + kEntries + offset, entry.data(), entry.size());
    offset += entry.size();
    page[kEntryBitmap + offset / 8] |= static_cast<std::uint8_t>(1u << (offset % 8));
  }
  std::size_t freeSpace = Format::kPageSize - (kEntries + offset);
  page[kFreeSpace] = static_cast<std::uint8_t>(freeSpace);
  page[kFreeSpace + 1] = static_cast<std::uint8_t>(freeSpace >> 8);
}

}  // namespace

std::vector<std::uint8_t> MakeIndexEntry(const std::vector<std::uint8_t>& key, std::uint32_t page,
                                         std::uint8_t row) {
  std::vector<std::uint8_t> entry = key;
  entry.push_back(static_cast<std::uint8_t>(page >> 16));
  entry.push_back(static_cast<std::uint8_t>(page >> 8));
  entry.push_back(static_cast<std::uint8_t>(page));
  entry.push_back(row);
  return entry;
}

void WriteIndexTree(PageStore& store, std::uint32_t tdefPage, const RealIndexDefinition& index,
                    const std::vector<std::vector<std::uint8_t>>& entries) {
  std::vector<std::vector<TreePage>> levels;
  levels.push_back(BuildLeaves(entries));
  // Bounded: every level has fewer pages than the one below (at least two children each).
  while (levels.back().size() > 1) levels.push_back(BuildNodes(levels.back()));

  std::vector<std::uint32_t> pool;
  for (std::uint32_t page : ReadUsageMap(store, index.usageMap, "index usage map")) {
    if (page != index.rootPage) pool.push_back(page);
  }
  std::size_t nextFromPool = 0;
  levels.back().front().pageNumber = index.rootPage;
  for (std::size_t level = 0; level + 1 < levels.size(); ++level) {
    for (TreePage& content : levels[level]) {
      if (nextFromPool < pool.size()) {
        content.pageNumber = pool[nextFromPool++];
      } else {
        content.pageNumber = AllocatePage(store);
        SetPageInMap(store, index.usageMap, content.pageNumber, true);
      }
    }
  }
  for (std::size_t i = nextFromPool; i < pool.size(); ++i) {
    SetPageInMap(store, index.usageMap, pool[i], false);
    SetPageInUse(store, pool[i], false);
    store.MutablePage(pool[i]).fill(0);
  }
  for (std::size_t level = 0; level < levels.size(); ++level) {
    const std::vector<TreePage>& pages = levels[level];
    for (std::size_t i = 0; i < pages.size(); ++i) {
      std::uint32_t previous = i > 0 ? pages[i - 1].pageNumber : 0;
      std::uint32_t next = i + 1 < pages.size() ? pages[i + 1].pageNumber : 0;
      WritePage(store, pages[i], level > 0 ? &levels[level - 1] : nullptr, tdefPage, previous,
                next);
    }
  }
}

}  // namespace Jet
