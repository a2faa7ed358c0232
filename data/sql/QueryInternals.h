#pragma once
#include <charconv>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "data/sql/QueryEngine.h"
#include "data/sql/ValueOperations.h"

// What the parts of the query engine share and callers never see: the plan of a subquery,
// the reach of a bound expression, the null row and the orders used to sort and to key.
// Only the QueryEngine sources include this.
namespace Sql {

// How a subquery is evaluated. An uncorrelated one runs once. A correlated aggregate
// of the form "SELECT MAX(x) FROM t WHERE t.a = outer.b AND ..." is turned into one
// pass over t that keeps the aggregate per key, then looked up by the outer values, so
// that a query using it stays linear in the table's size. Any other correlated subquery
// runs again for each outer row. Keyed results are shared, within the statement, by
// every plan that computes the same thing.
struct SubqueryPlan {
  const SelectStatement* select = nullptr;
  const Scope* parentScope = nullptr;
  bool correlated = false;

  bool computed = false;
  Value scalar;
  std::unordered_set<std::string> keys;  // IN: the values found
  bool hasNull = false;                  // IN: a NULL among them

  bool keyed = false;
  Aggregate function = Aggregate::Max;
  std::unique_ptr<Scope> scope;
  std::vector<int> innerKeyColumns;
  std::vector<BoundPtr> outerKeys;
  std::vector<BoundPtr> innerFilters;
  BoundPtr argument;
  std::shared_ptr<const std::unordered_map<std::string, Value>> keyedValues;  // once built
};

// The nearest and farthest scopes a bound expression reads (-1: none); subqueries and
// aggregates make it unsuitable for key matching.
struct Reach {
  int nearest = 1 << 20;
  int farthest = -1;
  bool opaque = false;
  std::vector<int> sources;  // sources of the innermost scope it reads
};

Reach ReachOf(const Bound& b);

// Marks in `used` the columns of source `source` of the scope `depth` scopes out from
// `b`'s that evaluating `b` reads. False when that cannot be told: a subquery that runs
// again per row may read anything.
bool MarkColumnsRead(const Bound& b, int depth, int source, std::vector<bool>& used);

// Appends `b` as text to `out`; false when it holds what the text cannot tell apart (a
// subquery that is not keyed).
bool Describe(const Bound& b, std::string& out);
// What a keyed plan computes, as text: plans with the same text give the same table.
// Empty when that cannot be told.
std::string KeyedSignature(const SubqueryPlan& plan);

// Whether evaluating `b`, bound in `scope`, can never throw whatever the rows hold, going
// by the columns' types; `text` tells whether it may give text. The terms of an AND that
// cannot fail may be tried in any order without changing its result.
bool NeverFails(const Bound& b, const Scope& scope, bool& text);

// The missing side of an outer join, and every source of an aggregate over no rows: the
// tuple holds no row there, and each column read through it is NULL.
const Row* const kNullRow = nullptr;

// Sort order for ORDER BY and primary keys: NULLs first, then by value; values of kinds
// that cannot be compared order by kind rather than failing half-way through a sort.
int SortCompare(const Value& a, const Value& b);

// Adds one value to a key made of several (grouping, DISTINCT, keyed subqueries); the
// separator keeps the parts of neighbouring values from running together.
inline void AppendKeyPart(std::string& key, const Value& v) {
  if (v.type == Value::Type::Integer) {
    // HashKey's text for an integer, without its temporary strings (keys are made per row).
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, v.integer).ptr;
    key.push_back('n');
    key.append(digits, end);
  } else {
    key += HashKey(v);
  }
  key.push_back('\x1F');
}

}  // namespace Sql
