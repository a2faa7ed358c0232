#include "tests/e2e/StoredRows.h"

#include "data/jet/Database.h"

namespace e2e {

std::vector<StoredRow> TableRows(const std::filesystem::path& file, const std::u16string& table) {
  Jet::Database database = Jet::Database::OpenFile(file);
  Jet::TableDefinition definition = database.ReadTable(table);
  Jet::TableScan scan = database.Scan(definition);
  std::vector<StoredRow> rows;
  for (std::vector<Jet::Value> values; scan.Next(values);) {
    StoredRow& row = rows.emplace_back();
    for (std::size_t i = 0; i < values.size(); ++i) row[definition.columns[i].name] = values[i];
  }
  return rows;
}

}  // namespace e2e
