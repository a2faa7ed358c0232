#include "data/jet/Validator.h"

#include <algorithm>
#include <map>
#include <set>

#include "data/jet/Catalog.h"
#include "data/jet/DataPage.h"
#include "data/jet/DatabaseHeader.h"
#include "data/jet/IndexKey.h"
#include "data/jet/IndexPageWriter.h"
#include "data/jet/IndexReader.h"
#include "data/jet/JetError.h"
#include "data/jet/RowDecoder.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/TableScan.h"
#include "data/jet/UsageMap.h"

namespace Jet {
namespace {

namespace D = Format::DataPage;

std::string Printable(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  return out;
}

class Checker {
 public:
  Checker(const PageSource& source, ValidationReport& report) : source_(source), report_(report) {}

  void Run() {
    ReadDatabaseHeader(source_);
    freePages_ = ReadGlobalFree();
    std::vector<CatalogTable> tables = ReadCatalog(source_);
    std::set<std::u16string> names;
    for (const CatalogTable& table : tables) {
      std::u16string folded;
      for (char16_t c : table.name)
        folded += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
      if (!names.insert(folded).second)
        Problem("two catalogue rows name the table " + Printable(table.name));
      try {
        CheckTable(table);
      } catch (const JetError& error) {
        Problem("table " + Printable(table.name) + ": " + error.what());
      }
    }
  }

 private:
  void Problem(const std::string& text) { report_.problems.push_back(text); }
  void Note(const std::string& text) { report_.notes.push_back(text); }

  std::set<std::uint32_t> ReadGlobalFree() {
    PageBuffer page;
    source_.ReadPageOfType(1, Format::kPageData, page, "global usage map");
    DataPage data(ViewOf(page, "global usage map"));
    ByteView row = data.RowBytes(data.Slot(0));
    // Inverted map (bit set = free) whose bits past the end of the file are set, so it is
    // decoded here rather than by the table-map reader, which refuses such pages.
    if (row.U8(0) != Format::UsageMap::kInlineMap)
      ThrowCorrupt("the global usage map is not an inline map");
    std::uint32_t start = row.U32(Format::UsageMap::kInlineStart);
    std::set<std::uint32_t> free;
    for (std::size_t bit = 0; bit < (row.Size() - Format::UsageMap::kInlineBitmap) * 8; ++bit) {
      if (row.U8(Format::UsageMap::kInlineBitmap + bit / 8) & (1u << (bit % 8)))
        free.insert(start + static_cast<std::uint32_t>(bit));
    }
    return free;
  }

  void RequireInUse(std::uint32_t page, const std::string& what) {
    if (freePages_.count(page))
      Problem(what + ": page " + std::to_string(page) + " is marked free in the global map");
  }

  void RequireMapPageInUse(const RowPointer& reference, const std::string& what) {
    RequireInUse(reference.page, what + " usage-map row");
  }

  void CheckDataPage(const TableDefinition& table, std::uint32_t number, const std::string& what) {
    PageBuffer page;
    source_.ReadPage(number, page, what.c_str());
    ByteView view = ViewOf(page, "data page");
    DataPage data(view);
    std::size_t lowest = Format::kPageSize;
    for (std::size_t i = 0; i < data.SlotCount(); ++i) {
      RowSlot slot = data.Slot(i);
      if (!slot.deleted) data.RowBytes(slot);
      lowest = std::min<std::size_t>(lowest, view.U16(D::kRowSlots + 2 * i) & D::kSlotOffsetMask);
    }
    if (lowest < D::kRowSlots + 2 * data.SlotCount()) {
      Problem(what + " page " + std::to_string(number) + ": rows overlap the row-offset table");
      return;
    }
    std::size_t expected = lowest - (D::kRowSlots + 2 * data.SlotCount());
    if (view.U16(D::kFreeSpace) != expected) {
      Problem(what + " page " + std::to_string(number) + ": free space " +
              std::to_string(view.U16(D::kFreeSpace)) + ", its rows leave " +
              std::to_string(expected));
    }
    (void)table;
  }

  void CheckTable(const CatalogTable& entry) {
    TableDefinition table = ReadTableDefinition(source_, entry.definitionPage);
    table.name = entry.name;
    std::string name = "table " + Printable(table.name);
    bool user = table.tableType == Format::Tdef::kUserTable;
    RequireInUse(table.definitionPage, name + " definition");
    {
      // A one-page definition leaves 4096 - length - 8 bytes free (the 8 counting a
      // continuation header it does not have), as Access writes it.
      PageBuffer tdef;
      source_.ReadPage(table.definitionPage, tdef, "table definition");
      ByteView view = ViewOf(tdef, "table definition");
      std::uint32_t length = view.U32(Format::Tdef::kLength);
      if (view.U32(Format::Tdef::kNextPage) == 0 &&
          length + Format::Tdef::kContinuationHeaderSize <= Format::kPageSize &&
          view.U16(Format::DataPage::kFreeSpace) !=
              Format::kPageSize - length - Format::Tdef::kContinuationHeaderSize) {
        Problem(name + ": definition page free space " +
                std::to_string(view.U16(Format::DataPage::kFreeSpace)) +
                " does not match its length " + std::to_string(length));
      }
    }
    RequireMapPageInUse(table.ownedPages, name + " owned-pages");
    RequireMapPageInUse(table.freeSpacePages, name + " free-space");

    std::vector<std::uint32_t> owned = ReadUsageMap(source_, table.ownedPages, "table usage map");
    std::vector<std::uint32_t> roomy =
        ReadUsageMap(source_, table.freeSpacePages, "table free-space map");
    std::set<std::uint32_t> ownedSet(owned.begin(), owned.end());
    for (std::uint32_t page : roomy) {
      if (!ownedSet.count(page))
        Problem(name + ": free-space map lists page " + std::to_string(page) + " it does not own");
    }
    for (std::uint32_t page : owned) {
      RequireInUse(page, name + " data");
      PageBuffer buffer;
      source_.ReadPage(page, buffer, "table usage map");
      if (buffer[0] != Format::kPageData ||
          ViewOf(buffer, "data page").U32(D::kOwner) != table.definitionPage) {
        Problem(name + ": owned-pages map lists page " + std::to_string(page) +
                ", not one of its data pages");
        continue;
      }
      CheckDataPage(table, page, name + " data");
    }
    for (const LongValueMaps& maps : table.longValueMaps) {
      RequireMapPageInUse(maps.ownedPages, name + " long-value");
      for (std::uint32_t page : ReadUsageMap(source_, maps.ownedPages, "long-value usage map")) {
        RequireInUse(page, name + " long-value");
        PageBuffer buffer;
        source_.ReadPage(page, buffer, "long-value usage map");
        if (buffer[0] == Format::kPageData &&
            ViewOf(buffer, "page").U32(D::kOwner) == D::kLongValueOwner) {
          CheckDataPage(table, page, name + " long-value");
        }
      }
    }

    // Rows: count, AutoNumber, index entries.
    std::vector<std::vector<std::vector<std::uint8_t>>> expected(table.realIndexes.size());
    std::vector<bool> encodable(table.realIndexes.size(), true);
    for (std::size_t i = 0; i < table.realIndexes.size(); ++i) {
      std::string why;
      if (!CanEncodeIndex(table, table.realIndexes[i], why)) {
        encodable[i] = false;
        Note(name + " index " + std::to_string(i) + " not compared: " + why);
      }
    }
    std::map<std::uint16_t, std::set<std::uint32_t>> longValuePages;  // by column number
    for (const LongValueMaps& maps : table.longValueMaps) {
      std::vector<std::uint32_t> pages =
          ReadUsageMap(source_, maps.ownedPages, "long-value usage map");
      longValuePages[maps.columnNumber].insert(pages.begin(), pages.end());
    }
    std::uint32_t rows = 0;
    std::int64_t maxAutoNumber = 0;
    TableScan scan(source_, table);
    std::vector<Value> values;
    while (scan.Next(values)) {
      ++rows;
      // A Memo/OLE value stored outside the row starts on a page its column's map lists.
      RowLayout layout(table, scan.CurrentRowBytes());
      for (const ColumnDefinition& column : table.columns) {
        ByteView bytes;
        if (!column.IsLongValue() || !layout.ColumnBytes(column, bytes) ||
            bytes.Size() < Format::LongValue::kReferenceSize)
          continue;
        if (bytes.U8(3) == Format::LongValue::kInline) continue;
        std::uint32_t page = RowPointer::Read(bytes, Format::LongValue::kRemoteRow).page;
        auto maps = longValuePages.find(column.number);
        if (maps != longValuePages.end() && maps->second.count(page) == 0) {
          Problem(name + ": a value of column " + Printable(column.name) + " is on page " +
                  std::to_string(page) + ", which the column's usage map does not list");
        }
      }
      for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (table.columns[c].IsAutoNumber() && values[c].Is<std::int32_t>()) {
          maxAutoNumber = std::max<std::int64_t>(maxAutoNumber, values[c].As<std::int32_t>());
        }
      }
      for (std::size_t i = 0; i < table.realIndexes.size(); ++i) {
        if (!encodable[i]) continue;
        const RealIndexDefinition& index = table.realIndexes[i];
        if (index.IgnoresNulls() && KeyIsAllNull(table, index, values)) continue;
        try {
          RowPointer at = scan.CurrentRow();
          expected[i].push_back(
              MakeIndexEntry(EncodeIndexKey(table, index, values), at.page, at.row));
        } catch (const JetError& error) {
          if (error.Kind() != JetErrorKind::kUnsupportedWrite) throw;
          encodable[i] = false;
          Note(name + " index " + std::to_string(i) + " not compared: " + error.what());
        }
      }
    }
    if (user && rows != table.storedRowCount) {
      Problem(name + ": stored row count " + std::to_string(table.storedRowCount) + ", live rows " +
              std::to_string(rows));
    }
    if (maxAutoNumber > static_cast<std::int64_t>(table.lastAutoNumber)) {
      Problem(name + ": AutoNumber " + std::to_string(maxAutoNumber) +
              " above the stored last value " + std::to_string(table.lastAutoNumber));
    }
    for (std::size_t i = 0; i < table.realIndexes.size(); ++i) {
      const RealIndexDefinition& index = table.realIndexes[i];
      std::string indexName = name + " index " + std::to_string(i);
      RequireMapPageInUse(index.usageMap, indexName);
      IndexTreeEntries tree = ReadIndexTree(source_, table.definitionPage, index);
      std::vector<std::uint32_t> mapped = ReadUsageMap(source_, index.usageMap, "index usage map");
      std::set<std::uint32_t> mappedSet(mapped.begin(), mapped.end());
      for (std::uint32_t page : tree.pages) {
        RequireInUse(page, indexName);
        if (!mappedSet.count(page))
          Problem(indexName + ": tree page " + std::to_string(page) +
                  " missing from its usage map");
      }
      if (!std::is_sorted(tree.entries.begin(), tree.entries.end()))
        Problem(indexName + ": entries out of order");
      if (!encodable[i]) continue;
      std::sort(expected[i].begin(), expected[i].end());
      if (tree.entries != expected[i]) {
        Problem(indexName + ": holds " + std::to_string(tree.entries.size()) +
                " entries that differ from the " + std::to_string(expected[i].size()) +
                " the live rows give");
      }
      if (user) {
        std::uint32_t distinct = 0;
        for (std::size_t e = 0; e < expected[i].size(); ++e) {
          const auto& entry = expected[i][e];
          if (e == 0 || !std::equal(entry.begin(), entry.end() - 4, expected[i][e - 1].begin(),
                                    expected[i][e - 1].end() - 4))
            ++distinct;
        }
        // Access never lowers the counter when keys go away (index_fk_v2000.mdb keeps 7
        // for 4 keys), so only a counter below the keys is wrong.
        if (distinct > index.distinctKeys) {
          Problem(indexName + ": distinct-key counter " + std::to_string(index.distinctKeys) +
                  ", keys " + std::to_string(distinct));
        }
      }
    }
  }

  const PageSource& source_;
  ValidationReport& report_;
  std::set<std::uint32_t> freePages_;
};

}  // namespace

ValidationReport ValidateDatabase(const PageSource& source) {
  ValidationReport report;
  try {
    Checker(source, report).Run();
  } catch (const JetError& error) {
    report.problems.push_back(error.what());
  }
  return report;
}

}  // namespace Jet
