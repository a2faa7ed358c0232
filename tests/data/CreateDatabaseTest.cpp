// Creating databases: an empty database equals the one Jet itself created, byte for
// byte; user tables are written the way Access writes them and take rows at once.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "data/jet/DatabaseCreator.h"
#include "data/jet/JetError.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"
#include "tests/data/SampleFiles.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

std::string ProblemsOf(const std::vector<std::uint8_t>& bytes) {
  Jet::MemoryPageSource source(bytes.data(), bytes.size());
  Jet::ValidationReport report = Jet::ValidateDatabase(source);
  std::string text;
  for (const auto& problem : report.problems) text += problem + "\n";
  return text;
}

TEST(CreateDatabase, EmptyDatabaseEqualsTheOneJetCreatedByteForByte) {
  TemporaryDirectory directory("create");
  std::filesystem::path path = directory / "empty.mdb";
  Jet::CreateEmptyDatabase(path);
  std::vector<std::uint8_t> ours = FileBytes(path);
  std::vector<std::uint8_t> jets = ReadSampleBytes("jet_adox_empty.mdb");
  ASSERT_EQ(ours.size(), jets.size());
  std::string differences;
  for (std::size_t i = 0; i < ours.size(); ++i) {
    if (ours[i] != jets[i] && differences.size() < 2000) {
      char line[64];
      std::snprintf(line, sizeof line, "page %zu offset 0x%03zx: %02x, Jet %02x\n", i / 4096,
                    i % 4096, ours[i], jets[i]);
      differences += line;
    }
  }
  EXPECT_EQ(differences, "");
  EXPECT_EQ(ProblemsOf(ours), "");
}

// A database created at another time differs from Jet's only where the time is
// recorded: the creation date and the password mask derived from it (page 0, inside the
// obfuscated header region), and the catalogue rows' DateCreate/DateUpdate (page 14).
TEST(CreateDatabase, AnotherCreationTimeChangesOnlyTheFieldsThatRecordIt) {
  TemporaryDirectory directory("create");
  Jet::NewDatabaseFacts facts = Jet::NewDatabaseFacts::FromJetSample();
  facts.headerCreationDate = facts.objectsCreationDate = 46023.375;
  Jet::CreateEmptyDatabase(directory / "other.mdb", facts);
  std::vector<std::uint8_t> ours = FileBytes(directory / "other.mdb");
  std::vector<std::uint8_t> jets = ReadSampleBytes("jet_adox_empty.mdb");
  ASSERT_EQ(ours.size(), jets.size());
  std::size_t headerDifferences = 0;
  std::size_t rowDifferences = 0;
  for (std::size_t i = 0; i < ours.size(); ++i) {
    if (ours[i] == jets[i]) continue;
    std::size_t page = i / 4096;
    std::size_t offset = i % 4096;
    bool passwordMask = page == 0 && offset >= 0x42 && offset < 0x6A;
    bool creationDate = page == 0 && offset >= 0x72 && offset < 0x7A;
    if (passwordMask || creationDate) {
      ++headerDifferences;
    } else if (page == 14) {
      ++rowDifferences;
    } else {
      ADD_FAILURE() << "page " << page << " offset " << offset << " differs";
    }
  }
  EXPECT_GT(headerDifferences, 0u);
  EXPECT_GT(rowDifferences, 0u);
  // The rows' dates are 8-byte doubles at offsets 10 and 18 of each row's fixed area.
  Jet::Database database = OpenImage(ours);
  Jet::TableDefinition objects = database.ReadTable(U16("MSysObjects"));
  Jet::TableScan scan = database.Scan(objects);
  std::vector<Jet::Value> values;
  std::size_t rows = 0;
  while (scan.Next(values)) {
    ++rows;
    EXPECT_EQ(values[objects.FindColumn(U16("DateCreate")) - objects.columns.data()]
                  .As<Jet::DateTime>()
                  .oleDate,
              46023.375);
  }
  EXPECT_EQ(rows, 8u);
  EXPECT_EQ(database.Header().creationDate, 46023.375);
  EXPECT_EQ(ProblemsOf(ours), "");
}

TEST(CreateDatabase, TablesAreRefusedWithNothingWrittenWhenTheirDefinitionIsWrong) {
  TemporaryDirectory directory("create");
  std::filesystem::path path = directory / "tables.mdb";
  Jet::CreateEmptyDatabase(path);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  using T = Jet::NewColumnType;
  database.CreateTable({u"VEICOLO", {{u"ID", T::kAutoNumber}, {u"TARGA", T::kText, 20}}, u"ID"},
                       46000.0);
  std::vector<std::uint8_t> before = FileBytes(path);
  const Jet::NewTable wrong[] = {
      // the name exists (case aside)
      {u"veicolo", {{u"ID", T::kLong}}, u""},
      {u"ALTRA", {{u"A", T::kLong}, {u"a", T::kText, 10}}, u""},  // two columns of one name
      {u"ALTRA", {{u"A", T::kText, 300}}, u""},                   // Text longer than 255
      {u"ALTRA", {{u"A", T::kLong}}, u"B"},                       // key on no column
      {u"ALTRA", {{u"A", T::kMemo}}, u"A"},                       // key on a Memo
  };
  for (const Jet::NewTable& table : wrong) {
    EXPECT_THROW(database.CreateTable(table, 46000.0), Jet::JetError);
  }
  EXPECT_EQ(FileBytes(path), before);
  // A table created inside a group of writes takes rows at once, and the whole group
  // can still be rolled back.
  database.BeginWrites();
  database.CreateTable({u"ALTRA", {{u"ID", T::kAutoNumber}, {u"NOTE", T::kMemo}}, u"ID"}, 46000.0);
  database.InsertRow(u"ALTRA",
                     {Jet::Value(), Jet::Value(Jet::MemoText{std::u16string(3000, u'n')})});
  EXPECT_EQ(Jet::CountRows(database.Pages(), database.ReadTable(u"ALTRA")), 1u);
  database.RollbackWrites();
  EXPECT_EQ(FileBytes(path), before);
  EXPECT_THROW(database.ReadTable(u"ALTRA"), Jet::JetError);
  EXPECT_EQ(ProblemsOf(before), "");
}

// The same table Access made in autonumber_pk_v2000.mdb (ID AutoNumber primary key, Data
// Text(255), three rows): its definition comes out byte for byte as Access wrote it, but
// for the page numbers of its usage maps and index root.
TEST(CreateDatabase, UserTableDefinitionEqualsTheOneAccessWrote) {
  TemporaryDirectory directory("create");
  std::filesystem::path path = directory / "table.mdb";
  Jet::CreateEmptyDatabase(path);
  {
    Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
    database.CreateTable(
        {u"Table1",
         {{u"ID", Jet::NewColumnType::kAutoNumber}, {u"Data", Jet::NewColumnType::kText, 255}},
         u"ID"},
        46000.0);
    database.BeginWrites();
    for (const char16_t* text : {u"a", u"b", u"c"})
      database.InsertRow(u"Table1", {Jet::Value(), Jet::Value(std::u16string(text))});
    database.CommitWrites();
  }
  std::vector<std::uint8_t> ours = FileBytes(path);
  std::vector<std::uint8_t> access = ReadSampleBytes("autonumber_pk_v2000.mdb");
  std::uint32_t ourPage = OpenImage(ours).ReadTable(U16("Table1")).definitionPage;
  std::uint32_t accessPage = OpenImage(access).ReadTable(U16("Table1")).definitionPage;
  const std::size_t length = 245;
  // Page numbers (3 bytes after the row byte) of the owned and free-space maps, the
  // index's map and its root.
  const std::size_t pageFields[] = {56, 60, 176, 179};
  std::string differences;
  for (std::size_t i = 0; i < length; ++i) {
    bool pageNumber = false;
    for (std::size_t field : pageFields) pageNumber = pageNumber || (i >= field && i < field + 3);
    std::uint8_t a = ours[ourPage * 4096 + i];
    std::uint8_t b = access[accessPage * 4096 + i];
    if (a != b && !pageNumber) differences += "offset " + std::to_string(i) + "; ";
  }
  EXPECT_EQ(differences, "");
}

}  // namespace
