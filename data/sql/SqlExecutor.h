#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/sql/SqlAst.h"
#include "data/sql/TableStore.h"

namespace Sql {

struct QueryResult {
  std::vector<std::string> columnNames;
  std::vector<Row> rows;
};

// Runs a SELECT against the store. Throws SqlError (unknown table or column, a type
// mismatch, ...).
QueryResult RunQuery(const SelectStatement& select, const TableReader& store);

// Runs an INSERT, UPDATE or DELETE and returns the number of rows it affected. All or
// nothing: when it throws, the store holds what it held before.
std::int64_t RunCommand(const Statement& statement, TableStore& store);

}  // namespace Sql
