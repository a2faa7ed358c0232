#include "data/JetTableStore.h"

#include "data/JetFileEngine.h"
#include "data/MaintenanceStore.h"
#include "data/TableStoreSession.h"
#include "data/jet/JetError.h"
#include "data/jet/Validator.h"
#include "tools/ValueText.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

#include "data/sql/SqlExecutor.h"
#include "data/sql/SqlParser.h"
#include "tests/data/SampleFiles.h"
#include "tests/support/TemporaryDirectory.h"
#include "toolkit/base/TextEncoding.h"

using testing::ElementsAre;

namespace {

// A fresh copy of a sample: the store opens its file for writing, and the samples are
// shared by every test.
std::filesystem::path SampleCopy(const std::string& sample) {
  static TemporaryDirectory folder("jet_table_store");
  std::filesystem::path copy = folder / sample;
  std::filesystem::copy_file(SamplesDirectory() / sample, copy,
                             std::filesystem::copy_options::overwrite_existing);
  return copy;
}

// The rows of a query over a sample file, each as "v1|v2|...".
std::vector<std::string> Rows(const std::string& sample, const std::string& sql) {
  JetTableStore reader(SampleCopy(sample));
  Sql::Statement statement = Sql::ParseStatement(sql);
  Sql::QueryResult result = Sql::RunQuery(std::get<Sql::SelectStatement>(statement), reader);
  std::vector<std::string> rows;
  for (const Sql::Row& row : result.rows) {
    std::string text;
    for (std::size_t i = 0; i < row.size(); ++i) {
      const Sql::Value& v = row[i];
      if (i > 0) text += "|";
      switch (v.type) {
        case Sql::Value::Type::Null: text += "NULL"; break;
        case Sql::Value::Type::Text: text += LumoUtility::NarrowUtf16(v.text); break;
        case Sql::Value::Type::Boolean: text += v.boolean ? "True" : "False"; break;
        case Sql::Value::Type::Integer: text += std::to_string(v.integer); break;
        default: {
          char buffer[64];
          std::snprintf(buffer, sizeof buffer, "%.10g", v.AsDouble());
          text += buffer;
        }
      }
    }
    rows.push_back(text);
  }
  return rows;
}

}  // namespace

TEST(JetTableStore, AutoNumberTable) {
  EXPECT_THAT(Rows("autonumber_pk_v2000.mdb", "SELECT Data FROM Table1 WHERE ID = 2"),
              ElementsAre("Two"));
  EXPECT_THAT(Rows("autonumber_pk_v2000.mdb", "SELECT MAX(ID), COUNT(*) FROM table1"),
              ElementsAre("3|3"));
  EXPECT_THAT(Rows("autonumber_pk_v2000.mdb", "SELECT ID, Data FROM Table1 ORDER BY Data DESC"),
              ElementsAre("2|Two", "3|Three", "1|One"));
}

TEST(JetTableStore, EveryStoredTypeThroughSql) {
  const std::string all = "SELECT A, B, C, D, E, F, G, H, I FROM Table1 ";
  EXPECT_THAT(Rows("types_v2000.mdb", all + "ORDER BY A"),
              ElementsAre("a|b|0|0|0|0|29932|0|False",
                          "abcdefg|hijklmnop|2|222|333333333|444.555|27293|3.5|True"));
  EXPECT_THAT(Rows("types_v2000.mdb", "SELECT A FROM Table1 WHERE G > '1975-01-01'"),
              ElementsAre("a"));
  EXPECT_THAT(Rows("types_v2000.mdb", "SELECT A FROM Table1 WHERE I = -1 AND H = 3.5"),
              ElementsAre("abcdefg"));
  EXPECT_THAT(Rows("types_v2000.mdb", "SELECT A FROM Table1 WHERE B = 'HIJKLMNOP'"),
              ElementsAre("abcdefg"));
  EXPECT_THAT(Rows("refmap_v2003.mdb", "SELECT COUNT(*) FROM Table2"), ElementsAre("0"));
}

TEST(JetTableStore, ColumnsAsTheSqlLayerSeesThem) {
  JetTableStore reader(SampleCopy("types_v2000.mdb"));
  std::optional<Sql::TableInfo> table = reader.FindTable("TABLE1");
  ASSERT_TRUE(table.has_value());
  ASSERT_EQ(table->columns.size(), 9u);
  using T = Sql::ColumnType;
  const T expected[] = {T::Text,   T::Text,     T::Byte,     T::Integer, T::Long,
                        T::Double, T::DateTime, T::Currency, T::Boolean};
  for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(table->columns[i].type, expected[i]) << i;
  EXPECT_EQ(table->columns[0].maxCharacters, 50u);
  EXPECT_EQ(table->columns[1].maxCharacters, 100u);
  EXPECT_FALSE(reader.FindTable("MSysObjects").has_value());  // user tables only
  EXPECT_FALSE(reader.FindTable("Nessuna").has_value());

  JetTableStore autonumber(SampleCopy("autonumber_pk_v2000.mdb"));
  EXPECT_TRUE(autonumber.FindTable("Table1")->columns[0].autoNumber);
  EXPECT_FALSE(autonumber.FindTable("Table1")->columns[1].autoNumber);
}

TEST(JetTableStore, MemoAndDatesBefore1900) {
  EXPECT_THAT(Rows("dates_memo.mdb",
                   "SELECT IDCol, DateCol, LongTextCol FROM DateTest WHERE "
                   "DateCol < '1900-01-01' ORDER BY DateCol"),
              ElementsAre("4|-462760|Pre-1000 years", "3|-363|Pre-1900 years"));
  EXPECT_THAT(Rows("dates_memo.mdb",
                   "SELECT IDCol FROM DateTest WHERE LongTextCol = "
                   "'hello' OR ShortTextCol = 'NO NEW LINE' ORDER BY IDCol"),
              ElementsAre("1", "6"));
  EXPECT_THAT(Rows("dates_memo.mdb", "SELECT MAX(DateTimeCol), MIN(TimeCol) FROM DateTest"),
              ElementsAre("2958101|-462395"));
}

namespace {

// Every user table's rows as text, for comparing a file's content before and after.
std::map<std::u16string, std::vector<std::string>> Content(const std::filesystem::path& file) {
  Jet::Database database = Jet::Database::OpenFile(file);
  std::map<std::u16string, std::vector<std::string>> content;
  for (const Jet::CatalogTable& table : database.UserTables()) {
    Jet::TableDefinition definition = database.ReadTable(table);
    Jet::TableScan scan = database.Scan(definition);
    std::vector<Jet::Value> values;
    content[table.name];
    while (scan.Next(values)) {
      std::string row;
      for (const Jet::Value& value : values) row += FormatValue(value) + "|";
      content[table.name].push_back(row);
    }
  }
  return content;
}

}  // namespace

// Files made before the months table: it is added, and nothing else changes.
TEST(JetTableStore, MonthsTableAddedToAnOlderFile) {
  for (const std::string sample : {"index_fk_v2000.mdb", "jet_adox_empty.mdb"}) {
    SCOPED_TRACE(sample);
    std::filesystem::path file = SampleCopy(sample);
    auto before = Content(file);
    MaintenanceStore store(MakeJetFileEngine(), file.wstring(), nullptr);
    ASSERT_TRUE(store.EnsureMonthsTable()) << store.ErrorText();
    auto after = Content(file);
    ASSERT_EQ(after.count(u"INTERVENTI_MESI"), 1u);
    EXPECT_TRUE(after[u"INTERVENTI_MESI"].empty());
    after.erase(u"INTERVENTI_MESI");
    EXPECT_EQ(after, before);

    std::uintmax_t size = std::filesystem::file_size(file);
    EXPECT_TRUE(store.EnsureMonthsTable());  // present: nothing written
    EXPECT_EQ(std::filesystem::file_size(file), size);

    {  // a row in, the file closed, and read again from a fresh open
      JetTableStore writer(file);
      TableStoreSession session(writer);
      EXPECT_EQ(session.Execute("INSERT INTO INTERVENTI_MESI (ID_INTERVENTO, MESI) VALUES (7, 24)"),
                1);
      EXPECT_THROW(session.Execute("INSERT INTO INTERVENTI_MESI VALUES (7, 12)"), Jet::JetError);
    }
    EXPECT_THAT(Content(file)[u"INTERVENTI_MESI"], ElementsAre("7|24|"));
    Jet::Database check = Jet::Database::OpenFile(file);
    Jet::ValidationReport report = Jet::ValidateDatabase(check.Pages());
    EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
  }
}
