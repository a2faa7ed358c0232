#include "data/JetTableStore.h"

#include "data/JetSqlConversions.h"
#include "toolkit/base/TextEncoding.h"

JetTableStore::JetTableStore(const std::filesystem::path& file)
    : database_(Jet::WritableDatabase::Open(file)) {}

std::optional<Sql::TableInfo> JetTableStore::FindTable(const std::string& name) const {
  std::u16string wanted = LumoUtility::WidenToUtf16(name);
  const Jet::Database& reader = database_.Reader();
  for (const Jet::CatalogTable& table : reader.UserTables()) {
    if (Jet::NamesEqual(table.name, wanted)) {
      return JetSql::ToTableInfo(table.name, reader.ReadTable(table));
    }
  }
  return std::nullopt;
}

void JetTableStore::ScanRows(const Sql::TableInfo& table,
                             const std::function<void(Sql::RowId, Sql::Row&&)>& visit) const {
  const Jet::Database& reader = database_.Reader();
  Jet::TableDefinition definition = reader.ReadTable(LumoUtility::WidenToUtf16(table.name));
  Jet::TableScan scan = reader.Scan(definition);
  std::vector<Jet::Value> values;
  while (scan.Next(values)) {
    Sql::Row row;
    row.reserve(values.size());
    for (const Jet::Value& value : values) row.push_back(JetSql::ToSqlValue(value));
    visit(JetSql::RowIdOf(scan.CurrentRow()), std::move(row));
  }
}

std::vector<Jet::Value> JetTableStore::ToEngineValues(const std::u16string& table,
                                                      const Sql::Row& row) const {
  Jet::TableDefinition definition = database_.ReadTable(table);
  std::vector<Jet::Value> values;
  values.reserve(definition.columns.size());
  for (std::size_t i = 0; i < definition.columns.size(); ++i) {
    Sql::Value value = i < row.size() ? row[i] : Sql::Value::Null();
    values.push_back(JetSql::ToEngineValue(value, definition.columns[i]));
  }
  return values;
}

void JetTableStore::BeginWrites() { database_.BeginWrites(); }
void JetTableStore::CommitWrites() { database_.CommitWrites(); }
void JetTableStore::RollbackWrites() { database_.RollbackWrites(); }

void JetTableStore::InsertRow(const Sql::TableInfo& table, Sql::Row row) {
  std::u16string name = LumoUtility::WidenToUtf16(table.name);
  database_.InsertRow(name, ToEngineValues(name, row));
}

void JetTableStore::UpdateRow(const Sql::TableInfo& table, Sql::RowId id, Sql::Row row) {
  std::u16string name = LumoUtility::WidenToUtf16(table.name);
  database_.UpdateRow(name, JetSql::PointerOf(id), ToEngineValues(name, row));
}

void JetTableStore::DeleteRow(const Sql::TableInfo& table, Sql::RowId id) {
  database_.DeleteRow(LumoUtility::WidenToUtf16(table.name), JetSql::PointerOf(id));
}
