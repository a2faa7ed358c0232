// libFuzzer target: open a database image and read everything the engine can read from
// it, validate it, then change it through the write path (in memory only: every group
// of writes is rolled back). Any outcome other than success or a Jet::JetError (a crash,
// a sanitizer report, a leak, another exception, a hang) is a fault.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "data/jet/Database.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"

namespace {

void ReadEverything(const std::uint8_t* data, std::size_t size) {
  Jet::Database database(std::make_unique<Jet::MemoryPageSource>(data, size));
  for (const Jet::CatalogTable& table : database.AllTables()) {
    try {
      Jet::TableDefinition definition = database.ReadTable(table);
      Jet::TableScan scan = database.Scan(definition);
      std::vector<Jet::Value> values;
      while (scan.Next(values)) {
      }
    } catch (const Jet::JetError&) {
      // A damaged table does not stop the others from being read.
    }
  }
  Jet::ValidateDatabase(database.Pages());
}

// Per user table: insert a row of NULLs, rewrite the first row with a longer text where
// it has one, delete the last row; then roll back.
void WriteEveryTable(const std::uint8_t* data, std::size_t size) {
  Jet::WritableDatabase database(Jet::PageStore::FromImage("fuzz.mdb", data, size));
  for (const Jet::CatalogTable& table : database.Reader().UserTables()) {
    try {
      Jet::TableDefinition definition = database.ReadTable(table.name);
      database.BeginWrites();
      std::vector<Jet::RowPointer> rows;
      std::vector<std::vector<Jet::Value>> contents;
      Jet::TableScan scan = database.Reader().Scan(definition);
      std::vector<Jet::Value> values;
      while (scan.Next(values) && rows.size() < 64) {
        rows.push_back(scan.CurrentRow());
        contents.push_back(values);
      }
      database.InsertRow(table.name, std::vector<Jet::Value>(definition.columns.size()));
      if (!rows.empty()) {
        std::vector<Jet::Value> grown = contents.front();
        for (std::size_t i = 0; i < grown.size(); ++i) {
          if (definition.columns[i].typeCode == Jet::Format::kTypeText) {
            grown[i] = Jet::Value(std::u16string(definition.columns[i].MaxCharacters(), u'w'));
          }
        }
        database.UpdateRow(table.name, rows.front(), grown);
        database.DeleteRow(table.name, rows.back());
      }
      database.RollbackWrites();
    } catch (const Jet::JetError&) {
      if (database.InWrites()) database.RollbackWrites();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    ReadEverything(data, size);
  } catch (const Jet::JetError&) {
  }
  try {
    WriteEveryTable(data, size);
  } catch (const Jet::JetError&) {
  }
  return 0;
}
