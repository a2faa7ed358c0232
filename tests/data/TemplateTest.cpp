// The shipped template database: regenerating it gives the committed bytes, it holds the
// three tables with their columns and keys, the 25 catalogue entries and the months of
// some of them, and it passes the structural validator.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "app/FileChecksum.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"
#include "tests/data/SampleFiles.h"
#include "tests/support/TemporaryDirectory.h"
#include "tools/TemplateDatabase.h"

namespace {

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>());
}

const std::filesystem::path kCommitted = TEMPLATE_FILE;

TEST(Template, RegeneratingGivesTheCommittedBytes) {
  TemporaryDirectory directory("template");
  WriteTemplateDatabase(directory / "filedat");
  std::vector<std::uint8_t> fresh = FileBytes(directory / "filedat");
  ASSERT_FALSE(fresh.empty());
  EXPECT_TRUE(fresh == FileBytes(kCommitted))
      << "data/template/filedat is stale: run build/native/bin/make-template data/template/filedat";
  EXPECT_NE(ComputeFileChecksum(kCommitted), std::string(32, '0'));
}

TEST(Template, HoldsTheTablesAndTheDefaultCatalogue) {
  Jet::Database database = Jet::Database::OpenFile(kCommitted);
  std::vector<std::string> tables;
  for (const auto& table : database.UserTables()) tables.push_back(Narrow(table.name));
  EXPECT_EQ(tables, (std::vector<std::string>{"VEICOLO", "INTERVENTI", "INTERVENTI_VEICOLO",
                                              "INTERVENTI_MESI"}));

  struct Expected {
    const char* table;
    std::vector<std::pair<std::string, std::uint8_t>> columns;
  };
  namespace F = Jet::Format;
  const Expected expected[] = {
      {"VEICOLO",
       {{"ID", F::kTypeLong},
        {"TARGA", F::kTypeText},
        {"DESCRIZIONE", F::kTypeText},
        {"KM", F::kTypeLong},
        {"DATA_KM", F::kTypeDateTime}}},
      {"INTERVENTI",
       {{"ID", F::kTypeLong},
        {"INTERVENTO", F::kTypeText},
        {"CADENZAKM", F::kTypeLong},
        {"NOTE", F::kTypeText},
        {"FINERODAGGIO", F::kTypeBoolean}}},
      {"INTERVENTI_VEICOLO",
       {{"ID", F::kTypeLong},
        {"ID_VEICOLO", F::kTypeLong},
        {"ID_INTERVENTO", F::kTypeLong},
        {"KM", F::kTypeLong},
        {"DATA", F::kTypeDateTime},
        {"COSTO", F::kTypeDouble},
        {"NOTE", F::kTypeText}}},
  };
  for (const Expected& table : expected) {
    SCOPED_TRACE(table.table);
    Jet::TableDefinition definition = database.ReadTable(U16(table.table));
    ASSERT_EQ(definition.columns.size(), table.columns.size());
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
      EXPECT_EQ(Narrow(definition.columns[i].name), table.columns[i].first);
      EXPECT_EQ(definition.columns[i].typeCode, table.columns[i].second);
      if (definition.columns[i].typeCode == F::kTypeText && table.columns[i].first != "TARGA") {
        EXPECT_EQ(definition.columns[i].MaxCharacters(), 255);
      }
    }
    EXPECT_TRUE(definition.columns[0].IsAutoNumber());
    ASSERT_EQ(definition.indexes.size(), 1u);
    EXPECT_EQ(Narrow(definition.indexes[0].name), "PrimaryKey");
    ASSERT_EQ(definition.realIndexes.size(), 1u);
    EXPECT_TRUE(definition.realIndexes[0].IsUnique());
    EXPECT_EQ(definition.realIndexes[0].columns[0].columnNumber, definition.columns[0].number);
  }
  EXPECT_GE(database.ReadTable(U16("VEICOLO")).FindColumn(U16("TARGA"))->MaxCharacters(), 10);

  Jet::TableDefinition catalogue = database.ReadTable(U16("INTERVENTI"));
  Jet::TableScan scan = database.Scan(catalogue);
  std::vector<Jet::Value> values;
  std::set<std::int32_t> ids;
  std::size_t endOfRunningIn = 0;
  while (scan.Next(values)) {
    ids.insert(values[0].As<std::int32_t>());
    std::string name = Narrow(values[1].As<std::u16string>());
    EXPECT_EQ(name.find("Candel"), std::string::npos) << name;
    EXPECT_GT(values[2].As<std::int32_t>(), 0) << name;
    endOfRunningIn += values[4].As<bool>();
  }
  EXPECT_EQ(ids.size(), 25u);
  EXPECT_EQ(*ids.begin(), 1);
  EXPECT_EQ(*ids.rbegin(), 25);
  EXPECT_GT(endOfRunningIn, 0u);
  EXPECT_LT(endOfRunningIn, 25u);
  EXPECT_EQ(catalogue.lastAutoNumber, 25u);
  EXPECT_EQ(Jet::CountRows(database.Pages(), database.ReadTable(U16("VEICOLO"))), 0u);

  // Months: a primary key on the entry, entries of the catalogue only, 1 to 240 months.
  Jet::TableDefinition months = database.ReadTable(U16("INTERVENTI_MESI"));
  ASSERT_EQ(months.columns.size(), 2u);
  EXPECT_EQ(months.columns[1].typeCode, F::kTypeLong);
  ASSERT_EQ(months.realIndexes.size(), 1u);
  EXPECT_TRUE(months.realIndexes[0].IsUnique());
  Jet::TableScan monthsScan = database.Scan(months);
  std::size_t withMonths = 0;
  while (monthsScan.Next(values)) {
    ++withMonths;
    EXPECT_EQ(ids.count(values[0].As<std::int32_t>()), 1u);
    EXPECT_GE(values[1].As<std::int32_t>(), 1);
    EXPECT_LE(values[1].As<std::int32_t>(), 240);
  }
  EXPECT_EQ(withMonths, 13u);

  Jet::ValidationReport report = Jet::ValidateDatabase(database.Pages());
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
}

}  // namespace
