#pragma once
#include <string>

#include "data/jet/ColumnDefinition.h"
#include "data/jet/RowPointer.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/Value.h"
#include "data/sql/TableStore.h"

// Between the engine's values, columns and row identities and the SQL layer's. A row's
// SQL identity is its original slot (page and row), which stays put when the row moves.
namespace JetSql {

Sql::Value ToSqlValue(const Jet::Value& value);
// `value` as the engine stores it in `column`. The SQL layer has already converted it to
// the column's type; only the engine's kind is chosen here.
Jet::Value ToEngineValue(const Sql::Value& value, const Jet::ColumnDefinition& column);

Sql::ColumnInfo ToColumnInfo(const Jet::ColumnDefinition& column);
// A table's columns and primary key as the SQL layer sees them.
Sql::TableInfo ToTableInfo(const std::u16string& name, const Jet::TableDefinition& table);

Sql::RowId RowIdOf(const Jet::RowPointer& row);
Jet::RowPointer PointerOf(Sql::RowId id);

}  // namespace JetSql
