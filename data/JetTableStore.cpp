#include "data/JetTableStore.h"

#include "data/JetTableReader.h"
#include "toolkit/base/TextEncoding.h"

namespace {

// The SQL layer has already converted the value for the column; only the engine's kind
// is chosen here.
Jet::Value EngineValue(const Sql::Value& v, const Jet::ColumnDefinition& column) {
  namespace F = Jet::Format;
  if (!column.IsSupportedType()) return Jet::Value(Jet::Unsupported{column.typeCode});
  if (v.IsNull()) return Jet::Value();
  switch (column.typeCode) {
    case F::kTypeBoolean: return Jet::Value(v.AsDouble() != 0.0);
    case F::kTypeByte: return Jet::Value(static_cast<std::uint8_t>(v.integer));
    case F::kTypeInteger: return Jet::Value(static_cast<std::int16_t>(v.integer));
    case F::kTypeLong: return Jet::Value(static_cast<std::int32_t>(v.integer));
    case F::kTypeSingle: return Jet::Value(static_cast<float>(v.AsDouble()));
    case F::kTypeDouble: return Jet::Value(v.AsDouble());
    case F::kTypeCurrency: return Jet::Value(Jet::Currency{v.integer});
    case F::kTypeDateTime: return Jet::Value(Jet::DateTime{v.AsDouble()});
    case F::kTypeText: return Jet::Value(v.text);
    case F::kTypeMemo: return Jet::Value(Jet::MemoText{v.text});
    default: return Jet::Value(Jet::Unsupported{column.typeCode});
  }
}

}  // namespace

JetTableStore::JetTableStore(const std::filesystem::path& file)
    : database_(Jet::WritableDatabase::Open(file)) {}

std::optional<Sql::TableInfo> JetTableStore::FindTable(const std::string& name) const {
  std::u16string wanted = LumoUtility::WidenToUtf16(name);
  const Jet::Database& reader = database_.Reader();
  for (const Jet::CatalogTable& table : reader.UserTables()) {
    if (Jet::NamesEqual(table.name, wanted)) {
      return JetTableReader::ToTableInfo(table.name, reader.ReadTable(table));
    }
  }
  return std::nullopt;
}

void JetTableStore::ScanRows(const Sql::TableInfo& table,
                             const std::function<void(Sql::RowId, Sql::Row&&)>& visit) const {
  JetTableReader::ScanRows(database_.Reader(), table, visit);
}

std::vector<Jet::Value> JetTableStore::ToEngineValues(const std::u16string& table,
                                                      const Sql::Row& row) const {
  Jet::TableDefinition definition = database_.ReadTable(table);
  std::vector<Jet::Value> values;
  values.reserve(definition.columns.size());
  for (std::size_t i = 0; i < definition.columns.size(); ++i) {
    Sql::Value value = i < row.size() ? row[i] : Sql::Value::Null();
    values.push_back(EngineValue(value, definition.columns[i]));
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
  database_.UpdateRow(name, JetTableReader::PointerOf(id), ToEngineValues(name, row));
}

void JetTableStore::DeleteRow(const Sql::TableInfo& table, Sql::RowId id) {
  database_.DeleteRow(LumoUtility::WidenToUtf16(table.name), JetTableReader::PointerOf(id));
}
