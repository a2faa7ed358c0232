#pragma once
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/sql/SqlAst.h"
#include "data/sql/SqlExecutor.h"
#include "data/sql/TableStore.h"

// Binding and evaluation shared by queries and commands: the tables of a FROM clause
// form a scope, scopes nest for subqueries, and every column reference is resolved once,
// before any row is read, to (scopes up, table, column).
namespace Sql {

struct StoredRow {
  RowId id;
  Row values;
};

// A table of a FROM clause; its rows are read only when a step of the query needs them
// (QueryEngine::RowsOf or OpenCursor).
struct Source {
  TableInfo info;
  std::string name;  // the alias, or the table's name when it has none
};

struct Scope {
  std::vector<Source> sources;
  const Scope* parent = nullptr;
};

// The rows being looked at: one per source of a scope (null: the NULL row of an outer
// join), and the frame of the enclosing query.
struct Frame {
  const std::vector<const Row*>* tuple = nullptr;
  const Frame* parent = nullptr;
};

struct SubqueryPlan;

// The tuples that a FROM clause and WHERE gave, with the rows of a streamed join that they
// point to.
struct FilteredTuples {
  std::vector<std::vector<const Row*>> tuples;
  std::deque<Row> streamedRows;
};

struct Bound {
  enum class Kind {
    Constant,
    Column,
    Unary,
    Binary,
    IsNull,
    InList,
    InSubquery,
    Aggregate,
    Scalar
  };
  Kind kind = Kind::Constant;
  Value constant;
  int up = 0;  // Column: scopes outward (0: the innermost)
  int source = 0;
  int column = 0;
  UnaryOp unary = UnaryOp::Not;
  BinaryOp binary = BinaryOp::And;
  Aggregate aggregate = Aggregate::CountStar;
  bool negated = false;
  std::vector<std::unique_ptr<Bound>> children;
  std::shared_ptr<SubqueryPlan> subquery;
  std::string text;  // how the expression was written (column name), for messages
};
using BoundPtr = std::unique_ptr<Bound>;

class QueryEngine {
 public:
  explicit QueryEngine(const TableReader& store) : store_(store) {}

  // A scope over the FROM tables.
  Scope MakeScope(const TableRef& from, const std::vector<Join>& joins, const Scope* parent);
  Source MakeSource(const TableRef& ref);
  TableInfo FindTable(const std::string& name) const;

  BoundPtr Bind(const Expr& expr, const Scope& scope, bool aggregatesAllowed);
  Value Evaluate(const Bound& bound, const Frame& frame);

  // `independent`: nothing of it reads the enclosing query's rows (a subquery that is
  // not correlated), so what its SELECTs filter may be shared with the same FROM and
  // WHERE met elsewhere in the statement.
  QueryResult Run(const SelectStatement& select, const Scope* parent, const Frame* outer,
                  bool independent = false);

  // Every row of the table in primary-key order, read once per statement and kept while
  // the engine lives.
  const std::vector<StoredRow>& RowsOf(const TableInfo& table);
  // One pass over the table's rows in no particular order, decoding columns on demand;
  // over the kept rows when RowsOf has read them already.
  std::unique_ptr<RowCursor> OpenCursor(const TableInfo& table);

 private:
  friend struct QueryRunner;
  void BuildKeyed(SubqueryPlan& plan);
  Value EvaluateAggregate(const Bound& bound, const Frame& frame);
  Value EvaluateSubquery(const Bound& bound, const Frame& frame);
  Value EvaluateIn(const Bound& bound, const Frame& frame);

  const TableReader& store_;
  std::map<std::string, std::unique_ptr<std::vector<StoredRow>>> rowsByTable_;
  // Keyed subquery results by what they compute: the same subquery written twice in a
  // statement reads its table once.
  std::map<std::string, std::shared_ptr<const std::unordered_map<std::string, Value>>> keyedTables_;
  // The filtered tuples of independent SELECTs, by the text of their FROM and WHERE.
  std::map<std::string, std::unique_ptr<FilteredTuples>> filteredByText_;
  // Tuples of the group being aggregated, when evaluating a grouped SELECT list.
  const std::vector<std::vector<const Row*>>* group_ = nullptr;
};

}  // namespace Sql
