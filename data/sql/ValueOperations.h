#pragma once
#include <optional>
#include <string>

#include "data/sql/SqlAst.h"
#include "data/sql/SqlValue.h"
#include "data/sql/TableStore.h"

// How values compare, combine and convert, the way Jet does it.
namespace Sql {

// The value of a literal as written in a statement.
Value LiteralValue(const Literal& literal);

// Order of two non-null values: texts by the Jet text order, numbers, dates and Yes/No
// numerically, a date against a text holding a date as dates. Throws SqlError for values
// that cannot be compared.
int CompareValues(const Value& a, const Value& b);

// Three-valued logic: Boolean, or Null for "unknown".
Value Truth(bool b);
// Whether a condition holds (Null and false do not).
bool Holds(const Value& condition);

Value ApplyBinary(BinaryOp op, const Value& a, const Value& b);
Value Negate(const Value& v);
Value Not(const Value& v);

// A key that is equal exactly for values that compare equal (Nulls share one key).
std::string HashKey(const Value& v);

// The value converted for storing in a column; throws SqlError with the column named
// when it does not fit.
Value CoerceForColumn(const Value& v, const ColumnInfo& column);

}  // namespace Sql
