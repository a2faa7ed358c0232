#include "data/jet/IndexReader.h"

#include <set>

#include "data/jet/FormatConstants.h"
#include "data/jet/JetError.h"

namespace Jet {
namespace {

using namespace Format::IndexPage;

// The stored entries of one index page, prefix expanded.
std::vector<std::vector<std::uint8_t>> PageEntries(const ByteView& page, std::uint32_t number) {
  std::vector<std::vector<std::uint8_t>> entries;
  std::size_t prefixLength = page.U16(kPrefixLength);
  std::vector<std::uint8_t> prefix;
  std::size_t start = 0;
  std::size_t last = 0;
  for (std::size_t offset = 1;
       offset < (kEntries - kEntryBitmap) * 8 && kEntries + offset <= page.Size(); ++offset) {
    if ((page.U8(kEntryBitmap + offset / 8) & (1u << (offset % 8))) == 0) continue;
    ByteView stored = page.Sub(kEntries + start, offset - start, "index entry");
    std::vector<std::uint8_t> entry;
    if (!entries.empty()) entry = prefix;
    entry.insert(entry.end(), stored.Data(), stored.Data() + stored.Size());
    if (entries.empty()) {
      if (prefixLength > entry.size())
        ThrowCorrupt("index page " + std::to_string(number) +
                     ": prefix longer than its first entry");
      prefix.assign(entry.begin(), entry.begin() + static_cast<std::ptrdiff_t>(prefixLength));
    }
    entries.push_back(std::move(entry));
    start = offset;
    last = offset;
  }
  std::size_t expectedFree = Format::kPageSize - (kEntries + last);
  if (page.U16(kFreeSpace) != expectedFree) {
    ThrowCorrupt("index page " + std::to_string(number) + ": free space " +
                 std::to_string(page.U16(kFreeSpace)) + " but its entries leave " +
                 std::to_string(expectedFree));
  }
  return entries;
}

std::uint32_t ChildOf(const std::vector<std::uint8_t>& entry) {
  if (entry.size() < kChildPointerSize) ThrowCorrupt("index node entry too short");
  std::size_t at = entry.size() - kChildPointerSize;
  return static_cast<std::uint32_t>(entry[at]) << 24 |
         static_cast<std::uint32_t>(entry[at + 1]) << 16 |
         static_cast<std::uint32_t>(entry[at + 2]) << 8 | entry[at + 3];
}

}  // namespace

IndexTreeEntries ReadIndexTree(const PageSource& source, std::uint32_t tdefPage,
                               const RealIndexDefinition& index) {
  IndexTreeEntries result;
  std::set<std::uint32_t> seen;
  PageBuffer buffer;
  auto load = [&](std::uint32_t number) {
    if (!seen.insert(number).second)
      ThrowCorrupt("index tree visits page " + std::to_string(number) + " twice");
    source.ReadPage(number, buffer, "index tree");
    ByteView page = ViewOf(buffer, "index page");
    if (buffer[0] != Format::kPageIndexLeaf && buffer[0] != Format::kPageIndexNode) {
      ThrowCorrupt("index tree refers to page " + std::to_string(number) +
                   " that is not an index page");
    }
    if (page.U32(kOwner) != tdefPage)
      ThrowCorrupt("index page " + std::to_string(number) + " belongs to another table");
    result.pages.push_back(number);
    return page;
  };
  // Down the left edge, then every level's pages along their links (so node pages are
  // checked too).
  std::uint32_t levelStart = index.rootPage;
  for (;;) {
    ByteView first = load(levelStart);
    bool leaf = buffer[0] == Format::kPageIndexLeaf;
    std::vector<std::vector<std::uint8_t>> entries = PageEntries(first, levelStart);
    std::uint32_t child = 0;
    if (!leaf) child = entries.empty() ? first.U32(kTail) : ChildOf(entries.front());
    std::uint32_t next = first.U32(kNext);
    if (leaf) result.entries = std::move(entries);
    while (next != 0) {
      ByteView page = load(next);
      if ((buffer[0] == Format::kPageIndexLeaf) != leaf)
        ThrowCorrupt("index level mixes leaf and node pages");
      std::vector<std::vector<std::uint8_t>> more = PageEntries(page, next);
      if (leaf) result.entries.insert(result.entries.end(), more.begin(), more.end());
      next = page.U32(kNext);
    }
    if (leaf) return result;
    if (child == 0) ThrowCorrupt("index node page without children");
    levelStart = child;
  }
}

}  // namespace Jet
