#include "data/JetTableStore.h"

#include <ctime>

#include "data/JetSqlConversions.h"
#include "data/jet/JetError.h"
#include "toolkit/base/DateTimeValue.h"
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

namespace {

class JetRowCursor : public Sql::RowCursor {
 public:
  explicit JetRowCursor(Jet::TableScan scan) : scan_(std::move(scan)) {}
  bool Next() override { return scan_.Advance(); }
  Sql::RowId Id() const override { return JetSql::RowIdOf(scan_.CurrentRow()); }
  Sql::Value Column(std::size_t index) override { return JetSql::ToSqlValue(scan_.Column(index)); }

 private:
  Jet::TableScan scan_;
};

}  // namespace

std::unique_ptr<Sql::RowCursor> JetTableStore::OpenCursor(const Sql::TableInfo& table) const {
  const Jet::Database& reader = database_.Reader();
  return std::make_unique<JetRowCursor>(
      reader.Scan(reader.ReadTable(LumoUtility::WidenToUtf16(table.name))));
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

namespace {

// Now, local time, as an OLE date (days since 1899-12-30), as Access stamps a new table.
double OleNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  LumoUtility::DateTimeValue value;
  value.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  value.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  value.day = static_cast<std::uint16_t>(local.tm_mday);
  value.hour = static_cast<std::uint16_t>(local.tm_hour);
  value.minute = static_cast<std::uint16_t>(local.tm_min);
  value.second = static_cast<std::uint16_t>(local.tm_sec);
  double ole = 0;
  return LumoUtility::ToOleDate(value, ole) ? ole : 0.0;
}

}  // namespace

void JetTableStore::CreateTable(const Sql::TableInfo& table) {
  Jet::NewTable created;
  created.name = LumoUtility::WidenToUtf16(table.name);
  for (const Sql::ColumnInfo& column : table.columns) {
    if (column.type != Sql::ColumnType::Long) {
      throw Jet::JetError(Jet::JetErrorKind::kInvalidValue, "only Long columns are created");
    }
    Jet::NewColumn added;
    added.name = LumoUtility::WidenToUtf16(column.name);
    added.type = Jet::NewColumnType::kLong;
    created.columns.push_back(std::move(added));
  }
  if (!table.primaryKey.empty()) {
    created.primaryKey = created.columns[static_cast<std::size_t>(table.primaryKey[0])].name;
  }
  database_.CreateTable(created, OleNow());
}
