// The write path on copies of the Access-made samples: inserts, updates and deletes read
// back after reopening, refused writes that leave the file untouched, and the
// structural validator over every sample and every file written.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

#include "data/jet/DataPage.h"
#include "data/jet/DatabaseCreator.h"
#include "data/jet/IndexKey.h"
#include "data/jet/JetError.h"
#include "data/jet/UsageMap.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"
#include "tests/data/SampleFiles.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

using Jet::Value;

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

std::filesystem::path CopySample(const TemporaryDirectory& directory, const std::string& name) {
  std::filesystem::path target = directory.Path() / name;
  std::filesystem::copy_file(SamplesDirectory() / name, target,
                             std::filesystem::copy_options::overwrite_existing);
  return target;
}

std::string ValidationText(const Jet::ValidationReport& report) {
  std::string text;
  for (const auto& problem : report.problems) text += problem + "\n";
  return text;
}

void ExpectValid(const std::filesystem::path& path) {
  std::vector<std::uint8_t> bytes = FileBytes(path);
  Jet::MemoryPageSource source(bytes.data(), bytes.size());
  Jet::ValidationReport report = Jet::ValidateDatabase(source);
  EXPECT_TRUE(report.Ok()) << path << "\n" << ValidationText(report);
}

// (ID, Data) of every row of autonumber_pk_v2000.mdb's Table1, sorted by ID.
std::vector<std::pair<std::int32_t, std::u16string>> Table1Rows(const std::filesystem::path& path) {
  Jet::Database database = Jet::Database::OpenFile(path);
  Jet::TableDefinition table = database.ReadTable(U16("Table1"));
  Jet::TableScan scan = database.Scan(table);
  std::vector<Value> values;
  std::vector<std::pair<std::int32_t, std::u16string>> rows;
  while (scan.Next(values)) {
    rows.emplace_back(values[0].As<std::int32_t>(),
                      values[1].IsNull() ? u"<null>" : values[1].As<std::u16string>());
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Keys of one column as Access writes them (examples decoded from Access-made indexes,
// and the rules for descending and accented text).
std::string KeyHex(std::uint8_t type, const Value& value, bool ascending = true) {
  Jet::TableDefinition table;
  Jet::ColumnDefinition column;
  column.typeCode = type;
  column.flags = type == Jet::Format::kTypeText ? 0x02 : 0x03;
  table.columns.push_back(column);
  Jet::RealIndexDefinition index;
  index.columns.push_back(Jet::IndexColumn{0, ascending});
  std::string hex;
  char byte[4];
  for (std::uint8_t b : Jet::EncodeIndexKey(table, index, {value})) {
    std::snprintf(byte, sizeof byte, "%02x ", b);
    hex += byte;
  }
  if (!hex.empty()) hex.pop_back();
  return hex;
}

TEST(IndexKey, EncodesKeysAsAccessDoes) {
  namespace F = Jet::Format;
  EXPECT_EQ(KeyHex(F::kTypeLong, Value(std::int32_t{1})), "7f 80 00 00 01");
  EXPECT_EQ(KeyHex(F::kTypeLong, Value(std::int32_t{-1})), "7f 7f ff ff ff");
  EXPECT_EQ(KeyHex(F::kTypeLong, Value(std::int32_t{1}), false), "80 7f ff ff fe");
  EXPECT_EQ(KeyHex(F::kTypeLong, Value()), "00");
  EXPECT_EQ(KeyHex(F::kTypeLong, Value(), false), "ff");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"Tables"))), "7f 6d 4a 4c 5e 51 6b 01 00");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"MSysDb"))), "7f 60 6b 76 6b 4f 4c 01 00");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"abc 12   "))),
            "7f 4a 4c 4d 07 38 3a 01 00");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"O'Brien"))),
            "7f 64 4c 69 59 51 62 01 01 01 01 80 0b 06 80 00");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"A-B"))),
            "7f 4a 4c 01 01 01 01 80 0b 06 82 00");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"-1"))), "7f 38 01 01 01 01 80 07 06 82 00");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"Tables")), false),
            "80 92 b5 b3 a1 ae 94 fe ff 00");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"\u00e9"))), "7f 51 01 0e 00");
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"caff\u00e8"))),
            "7f 4d 4a 53 53 51 01 02 02 02 02 0f 00");
  // Upper and lower case share codes: a unique index treats them as equal.
  EXPECT_EQ(KeyHex(F::kTypeText, Value(std::u16string(u"TARGA"))),
            KeyHex(F::kTypeText, Value(std::u16string(u"targa"))));
  try {
    KeyHex(F::kTypeText, Value(std::u16string(u"\u20ac")));
    ADD_FAILURE() << "a character without sort codes was encoded";
  } catch (const Jet::JetError& error) {
    EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kUnsupportedWrite);
  }
}

TEST(Validator, EverySampleIsConsistent) {
  for (const std::string& name : SampleNames()) {
    std::vector<std::uint8_t> bytes = ReadSampleBytes(name);
    Jet::MemoryPageSource source(bytes.data(), bytes.size());
    Jet::ValidationReport report = Jet::ValidateDatabase(source);
    EXPECT_TRUE(report.Ok()) << name << "\n" << ValidationText(report);
  }
}

// A consistent file, then one fault at a time: the validator must name each.
TEST(Validator, FindsEachKindOfInconsistency) {
  TemporaryDirectory directory("validator");
  std::filesystem::path path = directory / "faults.mdb";
  Jet::CreateEmptyDatabase(path);
  {
    Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
    database.CreateTable({u"T",
                          {{u"ID", Jet::NewColumnType::kAutoNumber},
                           {u"NOME", Jet::NewColumnType::kText, 50},
                           {u"TESTO", Jet::NewColumnType::kMemo}},
                          u"ID"},
                         46000.0);
    database.BeginWrites();
    for (int i = 0; i < 50; ++i) {
      database.InsertRow(u"T", {Value(), Value(std::u16string(u"riga")),
                                Value(Jet::MemoText{std::u16string(i == 7 ? 900 : 3, u'm')})});
    }
    database.CommitWrites();
  }
  const std::vector<std::uint8_t> good = FileBytes(path);
  Jet::MemoryPageSource goodSource(good.data(), good.size());
  ASSERT_TRUE(Jet::ValidateDatabase(goodSource).Ok());
  Jet::TableDefinition table =
      Jet::Database(std::make_unique<Jet::MemoryPageSource>(good.data(), good.size()))
          .ReadTable(u"T");
  std::uint32_t dataPage = Jet::ReadUsageMap(goodSource, table.ownedPages, "test").front();
  std::size_t tdef = table.definitionPage * Jet::Format::kPageSize;
  std::size_t data = dataPage * Jet::Format::kPageSize;
  std::size_t leaf = table.realIndexes[0].rootPage * Jet::Format::kPageSize;

  struct Fault {
    const char* expected;
    std::function<void(std::vector<std::uint8_t>&)> apply;
  };
  const Fault faults[] = {
      {"stored row count", [&](auto& b) { b[tdef + Jet::Format::Tdef::kRowCount] += 1; }},
      {"above the stored last value",
       [&](auto& b) { b[tdef + Jet::Format::Tdef::kLastAutoNumber] = 10; }},
      {"its rows leave", [&](auto& b) { b[data + Jet::Format::DataPage::kFreeSpace] += 2; }},
      {"definition page free space",
       [&](auto& b) { b[tdef + Jet::Format::DataPage::kFreeSpace] += 1; }},
      // The global map (page 1, row 0 at the page's end) says the data page is free.
      {"marked free",
       [&](auto& b) {
         b[2 * Jet::Format::kPageSize - 69 + 5 + dataPage / 8] |= 1u << (dataPage % 8);
       }},
      // A leaf entry's key changes: the index no longer holds the rows' keys.
      {"entries that differ", [&](auto& b) { b[leaf + 480 + 4] ^= 0x01; }},
      // The Memo column's owned-pages map (row 2 of the map page) forgets its page.
      {"does not list",
       [&](auto& b) {
         std::size_t row =
             table.ownedPages.page * Jet::Format::kPageSize + Jet::Format::kPageSize - 69 * 3;
         std::fill(b.begin() + static_cast<std::ptrdiff_t>(row + 5),
                   b.begin() + static_cast<std::ptrdiff_t>(row + 69), 0);
       }},
      // The free-space map lists page 2, which the table does not own.
      {"does not own",
       [&](auto& b) {
         std::size_t row =
             table.freeSpacePages.page * Jet::Format::kPageSize + Jet::Format::kPageSize - 69 * 2;
         b[row + 5] |= 0x04;
       }},
  };
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.expected);
    std::vector<std::uint8_t> bad = good;
    fault.apply(bad);
    Jet::MemoryPageSource source(bad.data(), bad.size());
    Jet::ValidationReport report = Jet::ValidateDatabase(source);
    EXPECT_NE(ValidationText(report).find(fault.expected), std::string::npos)
        << ValidationText(report);
  }
}

TEST(WriteEngine, InsertsGetNextAutoNumberAndGrowTheIndexOverSeveralPages) {
  TemporaryDirectory directory("write");
  std::filesystem::path path = CopySample(directory, "autonumber_pk_v2000.mdb");
  auto before = Table1Rows(path);
  ASSERT_EQ(before.size(), 3u);
  {
    Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
    database.BeginWrites();
    for (int i = 0; i < 1200; ++i) {
      std::u16string text = U16(("row " + std::to_string(i) + std::string(i % 50, 'x')).c_str());
      Jet::RowPointer at = database.InsertRow(U16("Table1"), {Value(), Value(text)});
      EXPECT_NE(at.page, 0u);
    }
    database.CommitWrites();
  }
  auto after = Table1Rows(path);
  ASSERT_EQ(after.size(), 1203u);
  for (int i = 0; i < 1200; ++i) {
    EXPECT_EQ(after[3 + i].first, 4 + i);
  }
  ExpectValid(path);
  Jet::Database reread = Jet::Database::OpenFile(path);
  Jet::TableDefinition table = reread.ReadTable(U16("Table1"));
  EXPECT_EQ(table.storedRowCount, 1203u);
  EXPECT_EQ(table.lastAutoNumber, 1203u);
}

TEST(WriteEngine, UpdatesInPlaceAndByMovingAndDeletesNeverReuseNumbers) {
  TemporaryDirectory directory("write");
  std::filesystem::path path = CopySample(directory, "autonumber_pk_v2000.mdb");
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  std::vector<Jet::RowPointer> ids;
  for (int i = 0; i < 40; ++i)
    ids.push_back(database.InsertRow(U16("Table1"), {Value(), Value(std::u16string(u"short"))}));
  // Grow every row well past its slot: each one moves behind an overflow pointer.
  for (int i = 0; i < 40; ++i) {
    database.UpdateRow(U16("Table1"), ids[i],
                       {Value(), Value(std::u16string(200, static_cast<char16_t>(u'a' + i % 26)))});
  }
  // Shrink some again (rewritten where the moved bytes are) and delete others.
  for (int i = 0; i < 40; i += 3)
    database.UpdateRow(U16("Table1"), ids[i], {Value(), Value(std::u16string(u"s"))});
  for (int i = 1; i < 40; i += 4) database.DeleteRow(U16("Table1"), ids[i]);
  database.DeleteRow(U16("Table1"), ids[39]);
  Jet::RowPointer last =
      database.InsertRow(U16("Table1"), {Value(), Value(std::u16string(u"after"))});
  EXPECT_EQ(database.ReadTable(U16("Table1")).lastAutoNumber, 44u);
  (void)last;

  // Some rows no longer fit their page and live elsewhere behind an overflow pointer;
  // deleted rows left zero-length slots.
  std::size_t moved = 0;
  std::size_t emptied = 0;
  Jet::TableDefinition table = database.ReadTable(U16("Table1"));
  for (std::uint32_t page : Jet::ReadUsageMap(database.Pages(), table.ownedPages, "test")) {
    Jet::PageBuffer buffer;
    database.Pages().ReadPage(page, buffer, "test");
    Jet::DataPage data(Jet::ViewOf(buffer, "test"));
    for (std::size_t i = 0; i < data.SlotCount(); ++i) {
      Jet::RowSlot slot = data.Slot(i);
      moved += slot.overflow && !slot.deleted;
      emptied += slot.deleted && slot.length == 0;
    }
  }
  EXPECT_GT(moved, 5u);
  EXPECT_GE(emptied, 11u);

  auto rows = Table1Rows(path);
  EXPECT_EQ(rows.back().first, 44);  // 43 was deleted, never handed out again
  std::size_t expectedCount = 3 + 40 - 10 - 1 + 1;
  EXPECT_EQ(rows.size(), expectedCount);
  for (const auto& row : rows) {
    if (row.first < 4 || row.first > 43) continue;
    int i = row.first - 4;
    EXPECT_NE(i % 4, 1);
    if (i % 3 == 0) {
      EXPECT_EQ(row.second, u"s");
    } else {
      EXPECT_EQ(row.second, std::u16string(200, static_cast<char16_t>(u'a' + i % 26)));
    }
  }
  ExpectValid(path);
}

TEST(WriteEngine, RefusedWritesLeaveTheFileUntouched) {
  TemporaryDirectory directory("write");
  std::filesystem::path path = CopySample(directory, "autonumber_pk_v2000.mdb");
  std::vector<std::uint8_t> original = FileBytes(path);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  // A duplicate primary key.
  try {
    database.InsertRow(U16("Table1"), {Value(std::int32_t{2}), Value(std::u16string(u"dup"))});
    FAIL() << "duplicate accepted";
  } catch (const Jet::JetError& error) {
    EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kDuplicateKey);
  }
  // Text longer than the column, a value of the wrong type, a row too large.
  EXPECT_THROW(database.InsertRow(U16("Table1"), {Value(), Value(std::u16string(256, u'x'))}),
               Jet::JetError);
  EXPECT_THROW(database.InsertRow(U16("Table1"), {Value(), Value(1.5)}), Jet::JetError);
  EXPECT_THROW(database.InsertRow(U16("Table1"), {Value()}), Jet::JetError);
  // A group of writes whose last one fails is rolled back whole by the caller.
  database.BeginWrites();
  database.InsertRow(U16("Table1"), {Value(), Value(std::u16string(u"first"))});
  EXPECT_THROW(
      database.InsertRow(U16("Table1"), {Value(std::int32_t{1}), Value(std::u16string(u"dup"))}),
      Jet::JetError);
  database.RollbackWrites();
  EXPECT_EQ(FileBytes(path), original);
  EXPECT_EQ(Table1Rows(path).size(), 3u);
  // Updating a row into another row's key is refused too.
  Jet::TableScan scan = database.Reader().Scan(database.ReadTable(U16("Table1")));
  std::vector<Value> values;
  ASSERT_TRUE(scan.Next(values));
  std::int32_t other = values[0].As<std::int32_t>() == 1 ? 2 : 1;
  EXPECT_THROW(database.UpdateRow(U16("Table1"), scan.CurrentRow(),
                                  {Value(other), Value(std::u16string(u"x"))}),
               Jet::JetError);
  EXPECT_EQ(FileBytes(path), original);
  // Rows that are not there: a slot past the page's end, a page of another kind, a row
  // already deleted.
  for (Jet::RowPointer missing :
       {Jet::RowPointer{scan.CurrentRow().page, 200}, Jet::RowPointer{2, 0}}) {
    try {
      database.DeleteRow(U16("Table1"), missing);
      ADD_FAILURE() << "deleted a row that does not exist";
    } catch (const Jet::JetError& error) {
      EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kNotFound);
    }
  }
  EXPECT_EQ(FileBytes(path), original);
  database.DeleteRow(U16("Table1"), scan.CurrentRow());
  try {
    database.DeleteRow(U16("Table1"), scan.CurrentRow());
    ADD_FAILURE() << "deleted a row twice";
  } catch (const Jet::JetError& error) {
    EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kNotFound);
  }
  EXPECT_EQ(Table1Rows(path).size(), 2u);
}

TEST(WriteEngine, TablesWithIndexesTheEngineCannotMaintainAreReadButNotWritten) {
  TemporaryDirectory directory("write");
  // Table4 of refmap_v2003.mdb is indexed on a Replication ID (GUID) column.
  std::filesystem::path path = CopySample(directory, "refmap_v2003.mdb");
  std::vector<std::uint8_t> original = FileBytes(path);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  Jet::TableDefinition table = database.ReadTable(U16("Table4"));
  std::size_t rows = Jet::CountRows(database.Pages(), table);
  try {
    database.InsertRow(U16("Table4"), std::vector<Value>(table.columns.size()));
    ADD_FAILURE() << "write accepted";
  } catch (const Jet::JetError& error) {
    EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kUnsupportedWrite);
    EXPECT_NE(std::string(error.what()).find("cannot maintain"), std::string::npos) << error.what();
  }
  EXPECT_EQ(FileBytes(path), original);
  EXPECT_EQ(Jet::CountRows(database.Pages(), database.ReadTable(U16("Table4"))), rows);
}

TEST(WriteEngine, WritesToEverySampleTableKeepTheFileValid) {
  TemporaryDirectory directory("write");
  for (const std::string& name : SampleNames()) {
    SCOPED_TRACE(name);
    std::filesystem::path path = CopySample(directory, name);
    Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
    for (const Jet::CatalogTable& entry : database.Reader().UserTables()) {
      Jet::TableDefinition table = database.ReadTable(entry.name);
      std::vector<std::vector<Value>> rows;
      std::vector<Jet::RowPointer> ids;
      {
        Jet::TableScan scan = database.Reader().Scan(table);
        std::vector<Value> values;
        while (scan.Next(values)) {
          rows.push_back(values);
          ids.push_back(scan.CurrentRow());
        }
      }
      if (rows.empty()) continue;
      try {
        // Rewrite the first row unchanged, delete the last one.
        database.UpdateRow(entry.name, ids.front(), rows.front());
        database.DeleteRow(entry.name, ids.back());
      } catch (const Jet::JetError& error) {
        EXPECT_TRUE(error.Kind() == Jet::JetErrorKind::kUnsupportedWrite ||
                    error.Kind() == Jet::JetErrorKind::kDuplicateKey)
            << error.what();
      }
    }
    ExpectValid(path);
  }
}

}  // namespace
