#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

// The parsed form of the Jet SQL statements the program sends. Names and text literals
// are Windows-1252, as written in the statement.
namespace Sql {

struct SelectStatement;

struct Literal {
  enum class Kind { Null, Integer, Decimal, Text, Date };
  Kind kind = Kind::Null;
  std::int64_t integer = 0;
  double decimal = 0.0;
  std::string text;  // Text: the characters; Date: what stood between the # signs
};

enum class UnaryOp { Not, Negate };
enum class BinaryOp {
  Or,
  And,
  Equal,
  NotEqual,
  Less,
  LessEqual,
  Greater,
  GreaterEqual,
  Add,
  Subtract,
  Multiply,
  Divide,
  Concatenate
};
enum class Aggregate { CountStar, Count, Max, Min, Sum, Avg };

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct ColumnRef {
  std::string qualifier;  // table name or alias; empty when not written
  std::string name;
};
struct UnaryExpr {
  UnaryOp op;
  ExprPtr operand;
};
struct BinaryExpr {
  BinaryOp op;
  ExprPtr left;
  ExprPtr right;
};
struct IsNullExpr {
  ExprPtr operand;
  bool negated = false;  // IS NOT NULL
};
struct InExpr {
  ExprPtr operand;
  std::unique_ptr<SelectStatement> subquery;  // IN (SELECT ...)
  std::vector<ExprPtr> values;                // IN (1, 2, 3)
  bool negated = false;                       // NOT IN
};
struct AggregateExpr {
  Aggregate function;
  ExprPtr argument;  // none for COUNT(*)
};
struct SubqueryExpr {
  std::unique_ptr<SelectStatement> query;  // a scalar subquery: one column, at most one row
};

struct Expr {
  std::variant<Literal, ColumnRef, UnaryExpr, BinaryExpr, IsNullExpr, InExpr, AggregateExpr,
               SubqueryExpr>
      node;
  std::size_t offset = 0;  // where the expression starts, for messages
};

struct SelectItem {
  ExprPtr expr;       // none for "*"
  std::string alias;  // "as" name; empty when not given
};

struct TableRef {
  std::string table;
  std::string alias;  // empty when not given
};

enum class JoinKind { Inner, Left, Right };
struct Join {
  JoinKind kind = JoinKind::Inner;
  TableRef table;
  ExprPtr on;
};

// One SELECT ... FROM ... WHERE ... of a (possibly UNION-ed) query.
struct SelectCore {
  bool distinct = false;
  std::vector<SelectItem> items;
  TableRef from;
  std::vector<Join> joins;
  ExprPtr where;
  std::vector<ExprPtr> groupBy;
};

struct OrderItem {
  ExprPtr expr;
  bool descending = false;
};

struct SelectStatement {
  std::vector<SelectCore> cores;  // more than one: joined by UNION
  std::vector<bool> unionAll;     // between cores[i] and cores[i + 1]
  std::vector<OrderItem> orderBy;
};

struct InsertStatement {
  std::string table;
  std::vector<std::string> columns;  // empty: every column in table order
  std::vector<ExprPtr> values;
};

struct Assignment {
  std::string column;
  ExprPtr value;
};
struct UpdateStatement {
  std::string table;
  std::vector<Assignment> assignments;
  ExprPtr where;
};

struct DeleteStatement {
  std::string table;
  ExprPtr where;
};

// CREATE TABLE name (col LONG [PRIMARY KEY], ...): the one kind of table the program
// adds to an existing database.
struct NewColumnDefinition {
  std::string name;
  bool primaryKey = false;
};
struct CreateTableStatement {
  std::string table;
  std::vector<NewColumnDefinition> columns;
};

using Statement = std::variant<SelectStatement, InsertStatement, UpdateStatement, DeleteStatement,
                               CreateTableStatement>;

}  // namespace Sql
