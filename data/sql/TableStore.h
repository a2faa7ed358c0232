#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/sql/SqlValue.h"

namespace Sql {

enum class ColumnType {
  Boolean,
  Byte,
  Integer,
  Long,
  Single,
  Double,
  Currency,
  DateTime,
  Text,
  Memo,
  Unsupported
};

struct ColumnInfo {
  std::string name;  // Windows-1252, as the program writes it in SQL
  ColumnType type = ColumnType::Unsupported;
  bool autoNumber = false;
  std::uint32_t maxCharacters = 0;  // Text columns; 0 when unlimited
};

struct TableInfo {
  std::string name;
  std::vector<ColumnInfo> columns;
  // Positions of the primary key's columns, in key order; empty when there is none. Rows
  // come out of a table in this key's order, as Jet gives them.
  std::vector<int> primaryKey;
};

using Row = std::vector<Value>;  // one value per column, in column order
using RowId = std::uint64_t;     // identifies a row within its table during one statement

// One pass over a table's rows in the store's order, decoding a column only when it is
// asked for: a query that keeps few rows reads little of the others.
class RowCursor {
 public:
  virtual ~RowCursor() = default;
  // Moves to the next row; false at the end.
  virtual bool Next() = 0;
  virtual RowId Id() const = 0;
  // The current row's value of the column at this position (NULL for an unsupported type).
  virtual Value Column(std::size_t index) = 0;
};

// What a query needs of a database: finding tables and reading their rows.
class TableReader {
 public:
  virtual ~TableReader() = default;

  // The table with this name, compared without regard to case; nothing if none.
  virtual std::optional<TableInfo> FindTable(const std::string& name) const = 0;
  // Every row of the table, in the store's order. Columns of an unsupported type come
  // as Null.
  virtual void ScanRows(const TableInfo& table,
                        const std::function<void(RowId, Row&&)>& visit) const = 0;
  // The same rows as ScanRows, in the same order, read column by column.
  virtual std::unique_ptr<RowCursor> OpenCursor(const TableInfo& table) const = 0;
};

// A database that can also be written. The writes of one statement are bracketed by
// BeginWrites and CommitWrites (or RollbackWrites, after which nothing of them remains).
class TableStore : public TableReader {
 public:
  virtual void BeginWrites() = 0;
  // A Null in an AutoNumber column receives the table's next number.
  virtual void InsertRow(const TableInfo& table, Row row) = 0;
  // Values of unsupported columns in `row` are ignored: the stored ones stay.
  virtual void UpdateRow(const TableInfo& table, RowId id, Row row) = 0;
  virtual void DeleteRow(const TableInfo& table, RowId id) = 0;
  // An empty table of this name and these columns; the caller checks the name is free.
  virtual void CreateTable(const TableInfo& table) = 0;
  virtual void CommitWrites() = 0;
  virtual void RollbackWrites() = 0;
};

}  // namespace Sql
