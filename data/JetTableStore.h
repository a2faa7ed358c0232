#pragma once
#include <filesystem>

#include "data/jet/WritableDatabase.h"
#include "data/sql/TableStore.h"

// The user tables of an Access file as the SQL layer reads and writes them, through the
// built-in engine. A statement's writes reach the file together on CommitWrites, or not
// at all. Throws Jet::JetError.
class JetTableStore : public Sql::TableStore {
 public:
  explicit JetTableStore(const std::filesystem::path& file);

  std::optional<Sql::TableInfo> FindTable(const std::string& name) const override;
  // Rows are identified by their original slot (see JetSqlConversions.h).
  void ScanRows(const Sql::TableInfo& table,
                const std::function<void(Sql::RowId, Sql::Row&&)>& visit) const override;
  // Decodes only the columns asked for, straight from the row's stored bytes.
  std::unique_ptr<Sql::RowCursor> OpenCursor(const Sql::TableInfo& table) const override;
  void BeginWrites() override;
  void InsertRow(const Sql::TableInfo& table, Sql::Row row) override;
  void UpdateRow(const Sql::TableInfo& table, Sql::RowId id, Sql::Row row) override;
  void DeleteRow(const Sql::TableInfo& table, Sql::RowId id) override;
  // Long columns only (what CREATE TABLE offers), stamped with the current local time.
  void CreateTable(const Sql::TableInfo& table) override;
  void CommitWrites() override;
  void RollbackWrites() override;

  // Around each statement: holds the file and reads it again when another copy changed it
  // (see Jet::WritableDatabase::BeginStatement).
  void BeginStatement() { database_.BeginStatement(); }
  void EndStatement() { database_.EndStatement(); }

 private:
  // The row's values as the engine stores them for this table's columns.
  std::vector<Jet::Value> ToEngineValues(const std::u16string& table, const Sql::Row& row) const;

  Jet::WritableDatabase database_;
};
