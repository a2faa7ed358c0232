// Reads every sample database and checks what the samples' notes record about them:
// tables, columns, indexes, counts and values.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "data/jet/Database.h"
#include "data/jet/LongValue.h"
#include "data/jet/RowDecoder.h"
#include "data/jet/UsageMap.h"
#include "tests/data/SampleFiles.h"

namespace {

using Jet::Value;
namespace F = Jet::Format;

struct OpenSample {
  explicit OpenSample(const std::string& name)
      : bytes(ReadSampleBytes(name)), database(OpenImage(bytes)) {}
  std::vector<std::vector<Value>> Rows(const char* table) const {
    Jet::TableDefinition definition = database.ReadTable(U16(table));
    Jet::TableScan scan = database.Scan(definition);
    std::vector<std::vector<Value>> rows;
    std::vector<Value> values;
    while (scan.Next(values)) rows.push_back(values);
    return rows;
  }
  std::vector<std::uint8_t> bytes;
  Jet::Database database;
};

std::vector<std::string> UserTableNames(const Jet::Database& database) {
  std::vector<std::string> names;
  for (const Jet::CatalogTable& table : database.UserTables()) names.push_back(Narrow(table.name));
  return names;
}

std::vector<std::string> ColumnNames(const Jet::TableDefinition& table) {
  std::vector<std::string> names;
  for (const Jet::ColumnDefinition& column : table.columns) names.push_back(Narrow(column.name));
  return names;
}

const Jet::IndexDefinition& IndexNamed(const Jet::TableDefinition& table, const char* name) {
  for (const Jet::IndexDefinition& index : table.indexes) {
    if (Narrow(index.name) == name) return index;
  }
  throw std::runtime_error(std::string("no index ") + name);
}

Value Text(const char* ascii) { return Value(U16(ascii)); }
Value Memo(const char* ascii) { return Value(Jet::MemoText{U16(ascii)}); }
Value Long(std::int32_t number) { return Value(number); }
Value Date(double oleDate) { return Value(Jet::DateTime{oleDate}); }

// ---- Every sample ---------------------------------------------------------------------

class EverySample : public ::testing::TestWithParam<std::string> {};

TEST_P(EverySample, OpensFromDiskAndEveryTableScansToTheSameRowsAsFromMemory) {
  Jet::Database fromDisk = Jet::Database::OpenFile(SamplesDirectory() / GetParam());
  OpenSample fromMemory(GetParam());
  EXPECT_EQ(DumpDatabase(fromDisk), DumpDatabase(fromMemory.database));
  EXPECT_EQ(fromDisk.Header().codePage, 1252);
}

TEST_P(EverySample, HasTheFourJetSystemTablesWithMSysObjectsOnPage2) {
  OpenSample sample(GetParam());
  std::map<std::string, std::uint32_t> system;
  for (const Jet::CatalogTable& table : sample.database.AllTables()) {
    if (table.IsSystem()) system[Narrow(table.name)] = table.definitionPage;
  }
  EXPECT_EQ(system.at("MSysObjects"), 2u);
  EXPECT_EQ(system.count("MSysACEs"), 1u);
  EXPECT_EQ(system.count("MSysQueries"), 1u);
  EXPECT_EQ(system.count("MSysRelationships"), 1u);
}

TEST_P(EverySample, UserTablesScanToTheirStoredRowCountAndRowsHaveOneValuePerColumn) {
  OpenSample sample(GetParam());
  for (const Jet::CatalogTable& table : sample.database.UserTables()) {
    Jet::TableDefinition definition = sample.database.ReadTable(table);
    EXPECT_EQ(definition.tableType, F::Tdef::kUserTable);
    Jet::TableScan scan = sample.database.Scan(definition);
    std::vector<Value> values;
    std::size_t rows = 0;
    while (scan.Next(values)) {
      ++rows;
      ASSERT_EQ(values.size(), definition.columns.size());
    }
    EXPECT_EQ(rows, definition.storedRowCount) << Narrow(table.name);
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, EverySample, ::testing::ValuesIn(SampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param.substr(0, info.param.find('.'));
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

// ---- Empty databases ------------------------------------------------------------------

TEST(EmptyDatabases, HaveNoUserTablesAndTheSystemRowCountsAccessLeft) {
  struct Expectation {
    const char* file;
    std::map<std::string, std::size_t> counts;
  };
  const Expectation expectations[] = {
      {"empty_access2000.mdb",
       {{"MSysObjects", 18},
        {"MSysACEs", 52},
        {"MSysQueries", 0},
        {"MSysRelationships", 0},
        {"MSysAccessObjects", 3}}},
      {"jet_adox_empty.mdb",
       {{"MSysObjects", 8}, {"MSysACEs", 16}, {"MSysQueries", 0}, {"MSysRelationships", 0}}},
  };
  for (const Expectation& expectation : expectations) {
    OpenSample sample(expectation.file);
    EXPECT_TRUE(sample.database.UserTables().empty()) << expectation.file;
    std::map<std::string, std::size_t> counts;
    for (const Jet::CatalogTable& table : sample.database.AllTables()) {
      counts[Narrow(table.name)] =
          Jet::CountRows(sample.database.Pages(), sample.database.ReadTable(table));
    }
    EXPECT_EQ(counts, expectation.counts) << expectation.file;
  }
}

TEST(EmptyDatabases, CatalogueRowsOfAJetCreatedFileAreTheEightSystemObjects) {
  OpenSample sample("jet_adox_empty.mdb");
  Jet::TableDefinition objects = sample.database.ReadTable(U16("MSysObjects"));
  // Stored sorted by name, the columns come back in column-number order.
  EXPECT_EQ(ColumnNames(objects).at(0), "Id");
  EXPECT_EQ(ColumnNames(objects).at(2), "Name");
  std::vector<std::string> names;
  for (const auto& row : sample.Rows("MSysObjects"))
    names.push_back(Narrow(row[2].As<std::u16string>()));
  EXPECT_EQ(names, (std::vector<std::string>{"Tables", "Databases", "Relationships", "MSysDb",
                                             "MSysObjects", "MSysACEs", "MSysQueries",
                                             "MSysRelationships"}));
  EXPECT_NEAR(sample.database.Header().creationDate, 42329.94480300926, 1e-9);
  EXPECT_EQ(sample.database.Header().sortOrder, 1033);
}

// ---- AutoNumber primary key -------------------------------------------------------------

TEST(AutoNumberSample, ColumnsIndexCountersAndRows) {
  OpenSample sample("autonumber_pk_v2000.mdb");
  EXPECT_EQ(UserTableNames(sample.database), std::vector<std::string>{"Table1"});
  Jet::TableDefinition table = sample.database.ReadTable(U16("table1"));
  EXPECT_EQ(table.definitionPage, 29u);
  EXPECT_EQ(table.storedRowCount, 3u);
  EXPECT_EQ(table.lastAutoNumber, 3u);
  ASSERT_EQ(ColumnNames(table), (std::vector<std::string>{"ID", "Data"}));
  EXPECT_EQ(table.columns[0].typeCode, F::kTypeLong);
  EXPECT_TRUE(table.columns[0].IsAutoNumber());
  EXPECT_EQ(table.columns[0].flags, 0x07);
  EXPECT_EQ(table.columns[1].typeCode, F::kTypeText);
  EXPECT_FALSE(table.columns[1].IsAutoNumber());
  EXPECT_EQ(table.columns[1].MaxCharacters(), 255);
  EXPECT_TRUE(table.columns[1].AllowsTextCompression());
  ASSERT_EQ(table.indexes.size(), 1u);
  const Jet::IndexDefinition& key = table.indexes[0];
  EXPECT_EQ(Narrow(key.name), "PrimaryKey");
  EXPECT_TRUE(key.IsPrimaryKey());
  EXPECT_TRUE(key.IsUnique());
  EXPECT_EQ(key.flags, 0x89);
  ASSERT_EQ(key.columns.size(), 1u);
  EXPECT_EQ(key.columns[0].columnNumber, 0);
  EXPECT_TRUE(key.columns[0].ascending);
  EXPECT_EQ(table.realIndexes.at(0).rootPage, 32u);
  EXPECT_EQ(table.realIndexes.at(0).distinctKeys, 3u);
  EXPECT_EQ(sample.Rows("Table1"),
            (std::vector<std::vector<Value>>{
                {Long(1), Text("One")}, {Long(2), Text("Two")}, {Long(3), Text("Three")}}));
}

// ---- All scalar types -------------------------------------------------------------------

void CheckTypesTables(const char* file) {
  SCOPED_TRACE(file);
  OpenSample sample(file);
  EXPECT_EQ(UserTableNames(sample.database),
            (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));

  Jet::TableDefinition table1 = sample.database.ReadTable(U16("Table1"));
  ASSERT_EQ(ColumnNames(table1),
            (std::vector<std::string>{"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
  std::vector<std::uint8_t> types;
  for (const auto& column : table1.columns) types.push_back(column.typeCode);
  EXPECT_EQ(types, (std::vector<std::uint8_t>{
                       F::kTypeText, F::kTypeText, F::kTypeByte, F::kTypeInteger, F::kTypeLong,
                       F::kTypeDouble, F::kTypeDateTime, F::kTypeCurrency, F::kTypeBoolean}));
  EXPECT_EQ(table1.columns[0].MaxCharacters(), 50);
  EXPECT_TRUE(table1.columns[0].AllowsTextCompression());
  EXPECT_EQ(table1.columns[1].MaxCharacters(), 100);
  EXPECT_FALSE(table1.columns[1].AllowsTextCompression());
  EXPECT_TRUE(IndexNamed(table1, "PrimaryKey").IsPrimaryKey());
  EXPECT_EQ(IndexNamed(table1, "PrimaryKey").flags, 0x89);
  EXPECT_EQ(IndexNamed(table1, "B").flags, 0x80);
  EXPECT_FALSE(IndexNamed(table1, "B").IsUnique());
  EXPECT_EQ(IndexNamed(table1, "B").columns.at(0).columnNumber, table1.columns[1].number);

  auto rows = sample.Rows("Table1");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<Value>{Text("abcdefg"), Text("hijklmnop"), Value(std::uint8_t{2}),
                                         Value(std::int16_t{222}), Long(333333333), Value(444.555),
                                         Date(27293.0), Value(Jet::Currency{35000}), Value(true)}));
  EXPECT_EQ(rows[1], (std::vector<Value>{Text("a"), Text("b"), Value(std::uint8_t{0}),
                                         Value(std::int16_t{0}), Long(0), Value(0.0), Date(29932.0),
                                         Value(Jet::Currency{0}), Value(false)}));

  Jet::TableDefinition table2 = sample.database.ReadTable(U16("Table2"));
  EXPECT_EQ(table2.columns.size(), 89u);
  EXPECT_EQ(Narrow(table2.columns.back().name), "column89");
  std::vector<std::string> indexNames;
  for (const auto& index : table2.indexes) indexNames.push_back(Narrow(index.name));
  std::sort(indexNames.begin(), indexNames.end());
  EXPECT_EQ(indexNames,
            (std::vector<std::string>{"PrimaryKey", "column10", "column14", "column75", "id"}));
  EXPECT_EQ(IndexNamed(table2, "id").columns.at(0).columnNumber,
            table2.FindColumn(U16("column1"))->number);
  EXPECT_TRUE(sample.Rows("Table2").empty());

  Jet::TableDefinition table3 = sample.database.ReadTable(U16("Table3"));
  EXPECT_TRUE(table3.FindColumn(U16("a"))->IsAutoNumber());
  EXPECT_EQ(table3.realIndexes.size(), 2u);
  EXPECT_NE(IndexNamed(table3, "PrimaryKey").realIndex, IndexNamed(table3, "id").realIndex);

  Jet::TableDefinition table4 = sample.database.ReadTable(U16("Table4"));
  const Jet::ColumnDefinition* guid = table4.FindColumn(U16("data"));
  ASSERT_NE(guid, nullptr);
  EXPECT_EQ(guid->typeCode, F::kTypeGuid);
  EXPECT_EQ(guid->flags, 0x43);
  EXPECT_FALSE(guid->IsSupportedType());
  EXPECT_TRUE(IndexNamed(table4, "PrimaryKey").IsPrimaryKey());
}

TEST(TypesSample, Access2000FileReadsEveryScalarType) {
  CheckTypesTables("types_v2000.mdb");
  OpenSample sample("types_v2000.mdb");
  Jet::TableDefinition table2 = sample.database.ReadTable(U16("Table2"));
  EXPECT_EQ(table2.definitionPage, 30u);  // continued on page 708
  EXPECT_EQ(sample.database.ReadTable(U16("Table1")).definitionPage, 24u);
}

TEST(TypesSample, Access2003FileWithAReferenceUsageMapReadsTheSame) {
  CheckTypesTables("refmap_v2003.mdb");
  OpenSample sample("refmap_v2003.mdb");
  // MSysACEs' count was left stale by Access; the scan finds the real rows.
  Jet::TableDefinition aces = sample.database.ReadTable(U16("MSysACEs"));
  EXPECT_EQ(aces.storedRowCount, 78u);
  EXPECT_EQ(Jet::CountRows(sample.database.Pages(), aces), 81u);
}

TEST(TypesSample, ReferenceUsageMapListsThePagesOfItsBitmapPage) {
  OpenSample sample("refmap_v2003.mdb");
  Jet::TableDefinition aces = sample.database.ReadTable(U16("MSysACEs"));
  EXPECT_EQ(aces.freeSpacePages, (Jet::RowPointer{6, 19}));
  std::vector<std::uint32_t> pages =
      Jet::ReadUsageMap(sample.database.Pages(), aces.freeSpacePages, "test");
  EXPECT_NE(std::find(pages.begin(), pages.end(), 760u), pages.end());
}

// ---- Dates and memos --------------------------------------------------------------------

TEST(DatesMemoSample, RawDatesIncludingPre1900AndYear9999AndInlineMemos) {
  OpenSample sample("dates_memo.mdb");
  EXPECT_EQ(UserTableNames(sample.database), std::vector<std::string>{"DateTest"});
  Jet::TableDefinition table = sample.database.ReadTable(U16("DateTest"));
  EXPECT_EQ(ColumnNames(table),
            (std::vector<std::string>{"IDCol", "DateTimeCol", "DateCol", "TimeCol", "LongTextCol",
                                      "ShortTextCol"}));
  EXPECT_TRUE(table.indexes.empty());
  auto rows = sample.Rows("DateTest");
  std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return a[0].template As<std::int32_t>() < b[0].template As<std::int32_t>();
  });
  std::u16string newLine = U16("New line\r\nin field");
  const std::vector<std::vector<Value>> expected = {
      {Long(1), Date(44532), Date(44532), Date(44532), Memo("Hello"), Text("Hello")},
      {Long(2), Date(2958101), Date(2958101), Date(2958101), Memo("Year 9999"), Text("Year 1999")},
      {Long(3), Date(-728), Date(-363), Date(2), Memo("Pre-1900 years"), Text("Pre-1900 years")},
      {Long(4), Date(-463126), Date(-462760), Date(-462395), Memo("Pre-1000 years"),
       Text("Pre-1000 years")},
      {Long(5), Date(44532), Date(44532), Date(44532), Memo("Escaped new line \\r\\n in field"),
       Text("Escaped new line \\r\\n in field")},
      {Long(6), Date(44532), Date(44532), Date(44532), Value(Jet::MemoText{newLine}),
       Text("No new line")},
  };
  EXPECT_EQ(rows, expected);
}

// ---- One wide row: remote memo, OLE, Yes/No, Double, dates --------------------------------

TEST(MemoBoolDoubleSample, RemoteAndInlineMemosBooleansAndAnUnsupportedOleValue) {
  OpenSample sample("memo_bool_double_v2000.mdb");
  Jet::TableDefinition table = sample.database.ReadTable(U16("MSP_PROJECTS"));
  EXPECT_EQ(table.columns.size(), 74u);
  EXPECT_EQ(table.definitionPage, 15u);
  auto rows = sample.Rows("MSP_PROJECTS");
  ASSERT_EQ(rows.size(), 1u);
  std::map<std::string, Value> row;
  for (std::size_t i = 0; i < table.columns.size(); ++i)
    row[Narrow(table.columns[i].name)] = rows[0][i];

  EXPECT_EQ(row["PROJ_ID"], Long(1));
  EXPECT_EQ(row["PROJ_NAME"], Text("Project1"));
  const std::u16string& author = row["PROJ_PROP_AUTHOR"].As<Jet::MemoText>().text;
  EXPECT_EQ(author.size(), 348u);
  EXPECT_EQ(author.substr(0, 32), U16("Jon Iles this is a a vawesrasoih"));
  EXPECT_EQ(row["PROJ_PROP_COMPANY"], Memo("T"));
  EXPECT_EQ(row["PROJ_INFO_CAL_NAME"], Memo("Standard"));
  EXPECT_TRUE(row["PROJ_PROP_CATEGORY"].IsNull());
  EXPECT_EQ(row["PROJ_OPT_CURRENCY_SYMBOL"], Value(std::u16string(1, u'\u00A3')));
  EXPECT_EQ(row["PROJ_DATA_SOURCE"], Text("Z:\\temp\\Project1.mpd"));
  EXPECT_EQ(row["PROJ_OPT_MINUTES_PER_DAY"], Long(480));
  EXPECT_EQ(row["PROJ_OPT_MINUTES_PER_WEEK"], Long(2400));
  EXPECT_EQ(row["PROJ_OPT_DEF_OVT_RATE"], Value(0.0));
  EXPECT_EQ(row["PROJ_OPT_CALC_ACT_COSTS"], Value(true));
  EXPECT_EQ(row["PROJ_OPT_MULT_CRITICAL_PATHS"], Value(false));
  EXPECT_EQ(row["PROJ_OPT_NEW_TASK_EST"], Value(true));
  EXPECT_EQ(row["PROJ_EXT_EDITED"], Value(false));
  // 2006-02-03 08:00:00 and 22:11:05.
  EXPECT_NEAR(row["PROJ_INFO_CURRENT_DATE"].As<Jet::DateTime>().oleDate, 38751.0 + 8.0 / 24, 1e-8);
  EXPECT_NEAR(row["PROJ_CREATION_DATE_EX"].As<Jet::DateTime>().oleDate,
              38751.0 + (22 * 3600 + 11 * 60 + 5) / 86400.0, 1e-8);
  EXPECT_EQ(row["RESERVED_BINARY_DATA"], Value(Jet::Unsupported{F::kTypeOle}));

  // The Memo and OLE columns each have their own usage maps.
  EXPECT_EQ(table.longValueMaps.size(), 10u);
}

TEST(MemoBoolDoubleSample, OleValueChainedOverSixLongValuePagesReadsWhole) {
  OpenSample sample("memo_bool_double_v2000.mdb");
  Jet::TableDefinition table = sample.database.ReadTable(U16("MSP_PROJECTS"));
  Jet::TableScan scan = sample.database.Scan(table);
  std::vector<Value> values;
  ASSERT_TRUE(scan.Next(values));
  Jet::RowLayout layout(table, scan.CurrentRowBytes());
  Jet::ByteView reference;
  ASSERT_TRUE(layout.ColumnBytes(*table.FindColumn(U16("RESERVED_BINARY_DATA")), reference));
  EXPECT_EQ(reference.U8(3), F::LongValue::kChain);
  std::vector<std::uint8_t> ole = Jet::ReadLongValue(sample.database.Pages(), reference);
  ASSERT_EQ(ole.size(), 22970u);
  EXPECT_EQ(std::vector<std::uint8_t>(ole.begin(), ole.begin() + 8),
            (std::vector<std::uint8_t>{0x15, 0x1c, 0x2d, 0x00, 0x02, 0x00, 0x00, 0x00}));
  std::string text(ole.begin(), ole.end());
  EXPECT_NE(text.find("Word.Document.8"), std::string::npos);
  // Its usage map lists the pages the chain runs over.
  for (const Jet::LongValueMaps& maps : table.longValueMaps) {
    if (maps.columnNumber != table.FindColumn(U16("RESERVED_BINARY_DATA"))->number) continue;
    EXPECT_EQ(Jet::ReadUsageMap(sample.database.Pages(), maps.ownedPages, "test"),
              (std::vector<std::uint32_t>{53, 54, 55, 56, 57, 58}));
    EXPECT_TRUE(Jet::ReadUsageMap(sample.database.Pages(), maps.freeSpacePages, "test").empty());
  }
  EXPECT_FALSE(scan.Next(values));
}

// ---- Indexes and foreign keys -----------------------------------------------------------

TEST(IndexForeignKeySample, LogicalIndexesSharingRealIndexesAndForeignKeys) {
  OpenSample sample("index_fk_v2000.mdb");
  EXPECT_EQ(UserTableNames(sample.database),
            (std::vector<std::string>{"Table1", "Table2", "Table3"}));
  Jet::TableDefinition table1 = sample.database.ReadTable(U16("Table1"));
  Jet::TableDefinition table2 = sample.database.ReadTable(U16("Table2"));
  Jet::TableDefinition table3 = sample.database.ReadTable(U16("Table3"));
  EXPECT_TRUE(IndexNamed(table1, "PrimaryKey").IsPrimaryKey());
  EXPECT_FALSE(IndexNamed(table1, "id").IsPrimaryKey());
  EXPECT_NE(IndexNamed(table1, "id").realIndex, IndexNamed(table1, "PrimaryKey").realIndex);
  const Jet::IndexDefinition& toTable2 = IndexNamed(table1, "Table2Table1");
  EXPECT_TRUE(toTable2.IsForeignKey());
  EXPECT_EQ(toTable2.relatedTablePage, table2.definitionPage);
  EXPECT_EQ(toTable2.columns.at(0).columnNumber, table1.FindColumn(U16("otherfk1"))->number);
  EXPECT_EQ(IndexNamed(table1, "Table3Table1").relatedTablePage, table3.definitionPage);
  // The primary side's foreign-key index shares the primary key's real index.
  EXPECT_TRUE(IndexNamed(table2, ".rC").IsForeignKey());
  EXPECT_EQ(IndexNamed(table2, ".rC").realIndex, IndexNamed(table2, "PrimaryKey").realIndex);

  EXPECT_EQ(sample.Rows("Table2"),
            (std::vector<std::vector<Value>>{
                {Long(0), Text("foo0")}, {Long(1), Text("foo1")}, {Long(2), Text("foo2")}}));
  auto rows1 = sample.Rows("Table1");
  ASSERT_EQ(rows1.size(), 4u);
  EXPECT_EQ(rows1[2][table1.FindColumn(U16("data")) - table1.columns.data()], Text("baz11-2"));
  EXPECT_EQ(sample.Rows("Table3").size(), 4u);
}

TEST(DescendingIndexSample, DescendingIndexAndNullKeys) {
  OpenSample sample("desc_index_2level_v2000.mdb");
  Jet::TableDefinition table = sample.database.ReadTable(U16("Table1"));
  ASSERT_EQ(table.indexes.size(), 1u);
  EXPECT_EQ(Narrow(table.indexes[0].name), "CD_AGENTE");
  EXPECT_FALSE(table.indexes[0].columns.at(0).ascending);
  EXPECT_EQ(table.indexes[0].flags, 0x80);
  EXPECT_EQ(table.realIndexes[0].rootPage, 29u);
  EXPECT_EQ(table.realIndexes[0].distinctKeys, 511u);
  auto rows = sample.Rows("Table1");
  ASSERT_EQ(rows.size(), 512u);
  EXPECT_EQ(rows[0], (std::vector<Value>{Long(19), Text("abc"), Text("def")}));
  EXPECT_EQ(rows[3][0], Long(43));
  std::vector<std::vector<Value>> nullKeys;
  for (const auto& row : rows) {
    if (row[0].IsNull()) nullKeys.push_back(row);
  }
  EXPECT_EQ(nullKeys, (std::vector<std::vector<Value>>{{Value(), Text("abc"), Text("ddd")},
                                                       {Value(), Text("abc"), Text("efg")}}));
}

// ---- Overflow rows and a deleted column -------------------------------------------------

TEST(OverflowSample, MovedRowsAreReadOnceWhereTheyLiveAndTheDeletedColumnIsGone) {
  OpenSample sample("overflow_rows_v2000.mdb");
  Jet::TableDefinition table = sample.database.ReadTable(U16("Table1"));
  EXPECT_EQ(ColumnNames(table),
            (std::vector<std::string>{"data1", "data3", "data4", "data5", "data6", "data7", "data8",
                                      "data9", "data10"}));
  EXPECT_EQ(table.rowColumnCount, 10);
  EXPECT_EQ(table.variableSlots, 10);
  Jet::TableScan scan = sample.database.Scan(table);
  std::vector<std::map<std::string, std::string>> rows;
  std::vector<Jet::RowPointer> ids;
  std::vector<Value> values;
  while (scan.Next(values)) {
    std::map<std::string, std::string> row;
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (!values[i].IsNull())
        row[Narrow(table.columns[i].name)] = Narrow(values[i].As<std::u16string>());
    }
    rows.push_back(row);
    ids.push_back(scan.CurrentRow());
  }
  using Row = std::map<std::string, std::string>;
  EXPECT_EQ(rows, (std::vector<Row>{{{"data1", "row1col1"}},
                                    {{"data1", "row2col1"}, {"data3", "row2col3"}},
                                    {{"data3", "row3col3"}, {"data9", "row3col9"}},
                                    {{"data1", "row4col1"}, {"data3", "row4col2"}},
                                    {{"data3", "row5col2"}},
                                    {{"data3", "row6col2"}, {"data4", "row6col3"}},
                                    {{"data1", "row7col1"}, {"data7", "row7col7"}}}));
  // A moved row keeps the identity of its original slot.
  EXPECT_EQ(ids[2], (Jet::RowPointer{27, 2}));
  EXPECT_EQ(ids[4], (Jet::RowPointer{27, 4}));
}

}  // namespace
