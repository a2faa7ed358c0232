// Damaged files: every open and every scan ends either in a JetError or in correct data,
// never in a crash, a hang or another exception (the native build runs this under
// AddressSanitizer and UndefinedBehaviorSanitizer).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "data/jet/Database.h"
#include "tests/data/SampleFiles.h"
#include "toolkit/base/CsvText.h"
#include "tools/ValueText.h"

namespace {

constexpr std::size_t kPage = Jet::Format::kPageSize;
const char kError[] = "<error>";

// Each table's definition and rows as text, or kError for a table that cannot be read;
// an empty map when the database itself cannot be opened.
std::map<std::uint32_t, std::string> DumpTables(const std::vector<std::uint8_t>& bytes,
                                                bool userTablesOnly = false) {
  std::map<std::uint32_t, std::string> dumps;
  std::unique_ptr<Jet::Database> database;
  try {
    database = std::make_unique<Jet::Database>(OpenImage(bytes));
  } catch (const Jet::JetError& error) {
    EXPECT_NE(error.Kind(), Jet::JetErrorKind::kNotFound);
    return dumps;
  }
  for (const Jet::CatalogTable& table : database->AllTables()) {
    if (userTablesOnly && table.IsSystem()) continue;
    std::string& dump = dumps[table.definitionPage];
    try {
      Jet::TableDefinition definition = database->ReadTable(table);
      dump = Utf16ToUtf8(table.name) + "\n";
      for (const auto& column : definition.columns) dump += Utf16ToUtf8(column.name) + ",";
      for (const auto& index : definition.indexes) dump += Utf16ToUtf8(index.name) + ";";
      Jet::TableScan scan = database->Scan(definition);
      std::vector<Jet::Value> values;
      LumoUtility::StringCsvSink sink(dump);
      LumoUtility::CsvWriter csv(sink, ',', "\n");
      csv.EndLine();
      while (scan.Next(values)) {
        for (const Jet::Value& value : values) csv.Text(FormatValue(value));
        csv.EndLine();
      }
      csv.Flush();
    } catch (const Jet::JetError& error) {
      EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kCorrupt) << error.what();
      dump = kError;
    }
  }
  return dumps;
}

class DamagedSample : public ::testing::TestWithParam<std::string> {};

TEST_P(DamagedSample, TruncatedAtEveryPageBoundaryGivesAnErrorOrTheFullData) {
  std::vector<std::uint8_t> original = ReadSampleBytes(GetParam());
  std::map<std::uint32_t, std::string> full = DumpTables(original);
  ASSERT_FALSE(full.empty());
  for (const auto& [page, dump] : full) ASSERT_NE(dump, kError) << "table on page " << page;

  std::size_t pages = original.size() / kPage;
  std::size_t opened = 0;
  for (std::size_t keep = 0; keep < pages; ++keep) {
    std::vector<std::uint8_t> truncated(
        original.begin(), original.begin() + static_cast<std::ptrdiff_t>(keep * kPage));
    std::map<std::uint32_t, std::string> dumps = DumpTables(truncated);
    if (!dumps.empty()) ++opened;
    for (const auto& [page, dump] : dumps) {
      // The catalogue may be whole while a table's pages are missing; what is read is right.
      if (dump != kError) {
        EXPECT_EQ(dump, full.at(page)) << "truncated to " << keep << " pages";
      }
    }
  }
  // Without the catalogue's pages nothing opens; the point of the test is the cases above.
  EXPECT_LT(opened, pages);
}

TEST_P(DamagedSample, TruncatedInsideAPageActsAsIfThePartialPageWereMissing) {
  std::vector<std::uint8_t> original = ReadSampleBytes(GetParam());
  std::size_t pages = original.size() / kPage;
  for (std::size_t keep : {std::size_t{1}, pages / 2, pages - 1}) {
    std::vector<std::uint8_t> whole(original.begin(),
                                    original.begin() + static_cast<std::ptrdiff_t>(keep * kPage));
    std::vector<std::uint8_t> partial(
        original.begin(), original.begin() + static_cast<std::ptrdiff_t>(keep * kPage + kPage / 2));
    EXPECT_EQ(DumpTables(partial), DumpTables(whole)) << "at page " << keep;
  }
}

// Flips every byte of the definitions of the user tables and of MSysObjects in turn (each
// time with another pattern). Only the damaged table may change or fail; every other user
// table must read as before. Bytes a reader must ignore (free space, row count, AutoNumber
// counter, leftovers past the definition's end) change nothing at all.
TEST_P(DamagedSample, FlippedBytesInTableDefinitionsDamageOnlyThatTable) {
  std::vector<std::uint8_t> original = ReadSampleBytes(GetParam());
  std::map<std::uint32_t, std::string> full = DumpTables(original, true);
  Jet::Database database = OpenImage(original);
  std::vector<Jet::CatalogTable> tables = database.UserTables();
  tables.push_back(database.AllTables().at(0));
  ASSERT_EQ(tables.back().definitionPage, Jet::Format::Catalog::kMSysObjectsPage);

  const std::uint8_t patterns[] = {0xFF, 0x01, 0x80, 0x10, 0x7F};
  std::size_t flips = 0, failures = 0;
  std::vector<std::uint8_t> damaged = original;  // damaged one byte at a time, then restored
  for (const Jet::CatalogTable& table : tables) {
    std::uint32_t definitionPage = table.definitionPage;
    // Damage to the catalogue may hide any table, so there only crashes are looked for.
    bool isCatalog = definitionPage == Jet::Format::Catalog::kMSysObjectsPage;
    Jet::ByteView first(original.data() + definitionPage * kPage, kPage, "test");
    std::uint32_t length = first.U32(Jet::Format::Tdef::kLength);
    std::vector<std::uint32_t> chain = {definitionPage};
    for (std::uint32_t next = first.U32(Jet::Format::Tdef::kNextPage);
         next != 0 && chain.size() < 4;) {
      chain.push_back(next);
      next = Jet::ByteView(original.data() + next * kPage, kPage, "test")
                 .U32(Jet::Format::Tdef::kNextPage);
    }
    // Each page is damaged up to a little past the last byte of the definition it holds.
    std::size_t remaining = length;
    for (std::uint32_t page : chain) {
      std::size_t header = page == definitionPage ? 0 : Jet::Format::Tdef::kContinuationHeaderSize;
      std::size_t used = std::min(remaining, kPage - header);
      remaining -= used;
      std::size_t end = std::min(kPage, header + used + 16);
      for (std::size_t offset = 0; offset < end; ++offset) {
        std::uint8_t& byte = damaged[page * kPage + offset];
        byte ^= patterns[flips % sizeof patterns];
        ++flips;
        std::map<std::uint32_t, std::string> dumps = DumpTables(damaged, true);
        byte = original[page * kPage + offset];
        bool ignoredByte =
            page == definitionPage &&
            ((offset >= 2 && offset < 4) || (offset >= 12 && offset < 40) || offset >= length);
        if (ignoredByte) {
          EXPECT_EQ(dumps, full) << "page " << page << " offset " << offset;
          continue;
        }
        if (isCatalog) continue;
        ASSERT_FALSE(dumps.empty()) << "the catalogue did not open after damage to another table";
        for (const auto& [tablePage, dump] : dumps) {
          if (tablePage == definitionPage) {
            if (dump == kError) ++failures;
            continue;
          }
          EXPECT_EQ(dump, full.at(tablePage))
              << "table " << tablePage << " changed by damage to page " << page << " offset "
              << offset;
        }
      }
    }
  }
  if (!database.UserTables().empty()) {
    EXPECT_GT(failures, 0u);
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, DamagedSample, ::testing::ValuesIn(SampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param.substr(0, info.param.find('.'));
                         });

}  // namespace
