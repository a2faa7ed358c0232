#include "tests/data/sql/SqlAstText.h"

#include "data/sql/SqlLexer.h"

using namespace Sql;

namespace {

std::string Text(const SelectStatement& select);

std::string Text(const ExprPtr& expr) {
  if (!expr) return "-";
  struct Visitor {
    std::string operator()(const Literal& l) const {
      switch (l.kind) {
        case Literal::Kind::Null: return "null";
        case Literal::Kind::Integer: return "(int " + std::to_string(l.integer) + ")";
        case Literal::Kind::Decimal: return "(dec " + std::to_string(l.decimal) + ")";
        case Literal::Kind::Text: return "(text '" + l.text + "')";
        case Literal::Kind::Date: return "(date " + l.text + ")";
      }
      return "?";
    }
    std::string operator()(const ColumnRef& c) const {
      return "(col " + (c.qualifier.empty() ? "" : UpperCase(c.qualifier) + ".") +
             UpperCase(c.name) + ")";
    }
    std::string operator()(const UnaryExpr& u) const {
      return std::string(u.op == UnaryOp::Not ? "(not " : "(neg ") + Text(u.operand) + ")";
    }
    std::string operator()(const BinaryExpr& b) const {
      static const char* names[] = {"or", "and", "=", "<>", "<", "<=", ">",
                                    ">=", "+",   "-", "*",  "/", "&"};
      return std::string("(") + names[static_cast<int>(b.op)] + " " + Text(b.left) + " " +
             Text(b.right) + ")";
    }
    std::string operator()(const IsNullExpr& n) const {
      return std::string(n.negated ? "(notnull " : "(isnull ") + Text(n.operand) + ")";
    }
    std::string operator()(const InExpr& in) const {
      std::string s = std::string(in.negated ? "(notin " : "(in ") + Text(in.operand);
      if (in.subquery) s += " " + Text(*in.subquery);
      for (const auto& v : in.values) s += " " + Text(v);
      return s + ")";
    }
    std::string operator()(const AggregateExpr& a) const {
      static const char* names[] = {"count*", "count", "max", "min", "sum", "avg"};
      std::string s = std::string("(") + names[static_cast<int>(a.function)];
      if (a.argument) s += " " + Text(a.argument);
      return s + ")";
    }
    std::string operator()(const SubqueryExpr& q) const { return Text(*q.query); }
  };
  return std::visit(Visitor{}, expr->node);
}

std::string Text(const TableRef& ref) {
  return UpperCase(ref.table) + (ref.alias.empty() ? "" : " " + UpperCase(ref.alias));
}

std::string Text(const SelectStatement& select) {
  std::string s = "(select";
  for (std::size_t i = 0; i < select.cores.size(); ++i) {
    const SelectCore& core = select.cores[i];
    if (i > 0) s += select.unionAll[i - 1] ? " unionall" : " union";
    s += core.distinct ? " [distinct" : " [";
    for (const auto& item : core.items) {
      s += " " + (item.expr ? Text(item.expr) : std::string("*"));
      if (!item.alias.empty()) s += ":" + UpperCase(item.alias);
    }
    s += " from " + Text(core.from);
    for (const auto& join : core.joins) {
      static const char* kinds[] = {"inner", "left", "right"};
      s += std::string(" ") + kinds[static_cast<int>(join.kind)] + " " + Text(join.table) + " on " +
           Text(join.on);
    }
    if (core.where) s += " where " + Text(core.where);
    s += "]";
  }
  if (!select.orderBy.empty()) {
    s += " order";
    for (const auto& item : select.orderBy) {
      s += " " + Text(item.expr) + (item.descending ? " desc" : "");
    }
  }
  return s + ")";
}

struct StatementText {
  std::string operator()(const SelectStatement& s) const { return Text(s); }
  std::string operator()(const InsertStatement& s) const {
    std::string text = "(insert " + UpperCase(s.table) + " (";
    for (const auto& c : s.columns) text += " " + UpperCase(c);
    text += " ) values (";
    for (const auto& v : s.values) text += " " + Text(v);
    return text + " ))";
  }
  std::string operator()(const UpdateStatement& s) const {
    std::string text = "(update " + UpperCase(s.table);
    for (const auto& a : s.assignments) text += " " + UpperCase(a.column) + "=" + Text(a.value);
    return text + " where " + Text(s.where) + ")";
  }
  std::string operator()(const DeleteStatement& s) const {
    return "(delete " + UpperCase(s.table) + " where " + Text(s.where) + ")";
  }
  std::string operator()(const CreateTableStatement& s) const {
    std::string text = "(create " + UpperCase(s.table);
    for (const auto& c : s.columns) text += " " + UpperCase(c.name) + (c.primaryKey ? ":pk" : "");
    return text + ")";
  }
};

}  // namespace

std::string AstText(const Statement& statement) { return std::visit(StatementText{}, statement); }
