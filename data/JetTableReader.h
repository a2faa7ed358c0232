#pragma once
#include <filesystem>

#include "data/jet/Database.h"
#include "data/sql/TableStore.h"

// The user tables of an Access file as the SQL layer reads them, through the built-in
// engine. Throws Jet::JetError when the file cannot be opened or read.
class JetTableReader : public Sql::TableReader {
 public:
  explicit JetTableReader(const std::filesystem::path& file);

  std::optional<Sql::TableInfo> FindTable(const std::string& name) const override;
  void ScanRows(const Sql::TableInfo& table,
                const std::function<void(Sql::RowId, Sql::Row&&)>& visit) const override;

  // The engine's value as the SQL layer holds it.
  static Sql::Value ToSqlValue(const Jet::Value& value);
  static Sql::ColumnInfo ToColumnInfo(const Jet::ColumnDefinition& column);
  // A table's columns and primary key as the SQL layer sees them.
  static Sql::TableInfo ToTableInfo(const std::u16string& name, const Jet::TableDefinition& table);
  // Every row of the table in `database`, converted; rows are identified by their
  // original slot (page and row), which stays put when a row moves.
  static void ScanRows(const Jet::Database& database, const Sql::TableInfo& table,
                       const std::function<void(Sql::RowId, Sql::Row&&)>& visit);
  static Jet::RowPointer PointerOf(Sql::RowId id);

 private:
  Jet::Database database_;
};
