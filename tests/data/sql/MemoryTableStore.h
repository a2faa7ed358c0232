#pragma once
#include <map>
#include <string>
#include <vector>

#include "data/sql/TableStore.h"

// A table store held in memory: the reference the SQL layer is tested against, and the
// model that a real database's results are compared with.
class MemoryTableStore : public Sql::TableStore {
 public:
  void AddTable(Sql::TableInfo table);
  // Refuses a second row with the same value in this column (like a unique index).
  void AddUniqueColumn(const std::string& table, const std::string& column);

  std::optional<Sql::TableInfo> FindTable(const std::string& name) const override;
  void ScanRows(const Sql::TableInfo& table,
                const std::function<void(Sql::RowId, Sql::Row&&)>& visit) const override;
  // Over the rows in place (no copy of the table).
  std::unique_ptr<Sql::RowCursor> OpenCursor(const Sql::TableInfo& table) const override;
  void BeginWrites() override;
  void InsertRow(const Sql::TableInfo& table, Sql::Row row) override;
  void UpdateRow(const Sql::TableInfo& table, Sql::RowId id, Sql::Row row) override;
  void DeleteRow(const Sql::TableInfo& table, Sql::RowId id) override;
  void CreateTable(const Sql::TableInfo& table) override;
  void CommitWrites() override;
  void RollbackWrites() override;

  std::size_t RowCount(const std::string& table) const;
  // Adds a row directly, outside any statement (for setting up large tables quickly).
  void LoadRow(const std::string& table, Sql::Row row);

 private:
  struct Table {
    Sql::TableInfo info;
    std::map<Sql::RowId, Sql::Row> rows;
    Sql::RowId nextRowId = 1;
    std::int64_t nextAutoNumber = 1;
    std::vector<int> uniqueColumns;
  };
  Table& TableNamed(const std::string& name);
  void CheckUnique(const Table& table, const Sql::Row& row, Sql::RowId self) const;

  std::map<std::string, Table> tables_;
  std::map<std::string, Table> saved_;
  bool writing_ = false;
};

// The program's three tables, empty, as the template database holds them.
void AddProgramTables(MemoryTableStore& store);
