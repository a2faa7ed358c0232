// Binding: every name of an expression is resolved once, before any row is read, to
// (scopes up, source, column), and every subquery gets its plan.
// - A scope holds the sources of one FROM clause; a subquery's scope has the enclosing
//   query's scope as parent. At run time frames nest exactly as scopes do, so `up`
//   counts frames as it counted scopes.
// - A name resolves in the innermost scope that holds it; two sources of that scope
//   holding it is an error, as is a qualifier that names a source lacking the column.
// - A subquery is correlated when any of its names resolves outside its own scope;
//   only then may it run more than once, or be keyed (see SubqueryPlan).
// - Aggregates are accepted only where the caller allows them, and never nest.
#include <algorithm>

#include "data/sql/QueryEngine.h"
#include "data/sql/QueryInternals.h"
#include "data/sql/SqlError.h"
#include "data/sql/SqlLexer.h"

namespace Sql {

namespace {

// The terms of a chain of ANDs.
void Conjuncts(const Expr& expr, std::vector<const Expr*>& terms) {
  if (const auto* b = std::get_if<BinaryExpr>(&expr.node)) {
    if (b->op == BinaryOp::And) {
      Conjuncts(*b->left, terms);
      Conjuncts(*b->right, terms);
      return;
    }
  }
  terms.push_back(&expr);
}

// Subqueries are opaque: their own columns are never measured, so every column seen
// here counts its scopes up from this expression's.
void Measure(const Bound& b, Reach& reach) {
  switch (b.kind) {
    case Bound::Kind::Column: {
      reach.nearest = std::min(reach.nearest, b.up);
      reach.farthest = std::max(reach.farthest, b.up);
      if (b.up == 0) reach.sources.push_back(b.source);
      return;
    }
    case Bound::Kind::InSubquery:
    case Bound::Kind::Scalar:
    case Bound::Kind::Aggregate: reach.opaque = true; break;
    default: break;
  }
  for (const auto& child : b.children) Measure(*child, reach);
}

}  // namespace

Reach ReachOf(const Bound& b) {
  Reach reach;
  Measure(b, reach);
  return reach;
}

bool MarkColumnsRead(const Bound& b, int depth, int source, std::vector<bool>& used) {
  if (b.kind == Bound::Kind::Column) {
    auto column = static_cast<std::size_t>(b.column);
    if (b.up == depth && b.source == source && column < used.size()) used[column] = true;
    return true;
  }
  if (b.kind == Bound::Kind::Scalar || b.kind == Bound::Kind::InSubquery) {
    const SubqueryPlan& plan = *b.subquery;
    if (plan.keyed) {
      // Its outer keys are read one frame out from its own scope.
      for (const auto& key : plan.outerKeys) {
        if (!MarkColumnsRead(*key, depth + 1, source, used)) return false;
      }
    } else if (plan.correlated) {
      return false;
    }
  }
  for (const auto& child : b.children) {
    if (!MarkColumnsRead(*child, depth, source, used)) return false;
  }
  return true;
}

namespace {

const ColumnInfo* ColumnOf(const Bound& b, const Scope& scope) {
  const Scope* s = &scope;
  for (int i = 0; i < b.up && s != nullptr; ++i) s = s->parent;
  if (s == nullptr || b.source < 0 || static_cast<std::size_t>(b.source) >= s->sources.size()) {
    return nullptr;
  }
  const auto& columns = s->sources[static_cast<std::size_t>(b.source)].info.columns;
  if (b.column < 0 || static_cast<std::size_t>(b.column) >= columns.size()) return nullptr;
  return &columns[static_cast<std::size_t>(b.column)];
}

// A keyed subquery fails only through its filters and argument, which it may evaluate
// over any row of its table.
bool KeyedNeverFails(const SubqueryPlan& plan, bool& text) {
  text = false;
  bool keyText = false;
  for (const auto& key : plan.outerKeys) {
    if (!NeverFails(*key, *plan.scope, keyText)) return false;
  }
  for (const auto& filter : plan.innerFilters) {
    if (!NeverFails(*filter, *plan.scope, keyText) || keyText) return false;
  }
  if (plan.function == Aggregate::CountStar) return true;
  bool argumentText = false;
  if (!plan.argument || !NeverFails(*plan.argument, *plan.scope, argumentText)) return false;
  if (plan.function == Aggregate::Max || plan.function == Aggregate::Min) {
    text = argumentText;
    return true;
  }
  return plan.function == Aggregate::Count || !argumentText;
}

}  // namespace

bool NeverFails(const Bound& b, const Scope& scope, bool& text) {
  text = false;
  bool left = false;
  bool right = false;
  switch (b.kind) {
    case Bound::Kind::Constant: text = b.constant.type == Value::Type::Text; return true;
    case Bound::Kind::Column: {
      const ColumnInfo* column = ColumnOf(b, scope);
      if (column == nullptr) return false;
      text = column->type == ColumnType::Text || column->type == ColumnType::Memo;
      return true;
    }
    case Bound::Kind::IsNull: return NeverFails(*b.children[0], scope, left);
    // NOT, minus, AND and OR refuse text.
    case Bound::Kind::Unary: return NeverFails(*b.children[0], scope, left) && !left;
    case Bound::Kind::Binary:
      if (!NeverFails(*b.children[0], scope, left) || !NeverFails(*b.children[1], scope, right)) {
        return false;
      }
      switch (b.binary) {
        case BinaryOp::And:
        case BinaryOp::Or:
        case BinaryOp::Add:
        case BinaryOp::Subtract:
        case BinaryOp::Multiply: return !left && !right;
        // Text compares only with text (or, failing, as a date).
        case BinaryOp::Equal:
        case BinaryOp::NotEqual:
        case BinaryOp::Less:
        case BinaryOp::LessEqual:
        case BinaryOp::Greater:
        case BinaryOp::GreaterEqual: return left == right;
        default: return false;  // division by zero, text made by concatenation
      }
    case Bound::Kind::InList: {
      if (!NeverFails(*b.children[0], scope, left)) return false;
      for (std::size_t i = 1; i < b.children.size(); ++i) {
        if (!NeverFails(*b.children[i], scope, right) || right != left) return false;
      }
      text = false;
      return true;
    }
    case Bound::Kind::Scalar: return b.subquery->keyed && KeyedNeverFails(*b.subquery, text);
    default: return false;
  }
}

namespace {

struct Binder {
  QueryEngine& engine;
  // Subqueries being bound, innermost last, each with its own scope.
  std::vector<std::pair<const Scope*, SubqueryPlan*>> open;

  BoundPtr Bind(const Expr& expr, const Scope& scope, bool aggregatesAllowed);

  BoundPtr BindColumn(const ColumnRef& ref, const Scope& scope) {
    int up = 0;
    for (const Scope* s = &scope; s != nullptr; s = s->parent, ++up) {
      int foundSource = -1;
      int foundColumn = -1;
      for (std::size_t i = 0; i < s->sources.size(); ++i) {
        const Source& source = s->sources[i];
        if (!ref.qualifier.empty() && !SameName(ref.qualifier, source.name)) continue;
        for (std::size_t c = 0; c < source.info.columns.size(); ++c) {
          if (!SameName(source.info.columns[c].name, ref.name)) continue;
          if (foundSource >= 0) {
            throw SqlError("Il campo specificato '" + ref.name +
                           "' potrebbe fare riferimento a più tabelle elencate nella clausola "
                           "FROM dell'istruzione SQL.");
          }
          foundSource = static_cast<int>(i);
          foundColumn = static_cast<int>(c);
        }
        if (!ref.qualifier.empty() && foundSource < 0) {
          throw SqlError("Il campo '" + ref.qualifier + "." + ref.name + "' non esiste.");
        }
      }
      if (foundSource >= 0) {
        MarkCorrelated(scope, up);
        auto bound = std::make_unique<Bound>();
        bound->kind = Bound::Kind::Column;
        bound->up = up;
        bound->source = foundSource;
        bound->column = foundColumn;
        bound->text = ref.qualifier.empty() ? ref.name : ref.qualifier + "." + ref.name;
        return bound;
      }
    }
    std::string name = ref.qualifier.empty() ? ref.name : ref.qualifier + "." + ref.name;
    throw SqlError("Il campo '" + name + "' non esiste.");
  }

  // A column found `up` scopes out of `scope` lies outside every open subquery whose
  // own scope is nearer than that.
  void MarkCorrelated(const Scope& scope, int up) {
    for (auto& [subScope, plan] : open) {
      int distance = 0;
      const Scope* s = &scope;
      while (s != nullptr && s != subScope) {
        s = s->parent;
        ++distance;
      }
      if (s != nullptr && up > distance) plan->correlated = true;
    }
  }

  std::shared_ptr<SubqueryPlan> PlanSubquery(const SelectStatement& select, const Scope& scope) {
    auto plan = std::make_shared<SubqueryPlan>();
    plan->select = &select;
    plan->parentScope = &scope;
    // Bind everything once to find out whether it reads the outer rows (and to report
    // unknown names before any row is read).
    for (const SelectCore& core : select.cores) {
      Scope inner = engine.MakeScope(core.from, core.joins, &scope);
      open.emplace_back(&inner, plan.get());
      for (const auto& item : core.items) {
        if (item.expr) Bind(*item.expr, inner, true);
      }
      for (const Join& join : core.joins) Bind(*join.on, inner, false);
      if (core.where) Bind(*core.where, inner, false);
      open.pop_back();
    }
    if (plan->correlated) TryKeyed(*plan, scope);
    return plan;
  }

  // A correlated single aggregate over one table, filtered by its own columns and by
  // equalities between its columns and outer values, becomes keyed; anything else keeps
  // running per outer row.
  void TryKeyed(SubqueryPlan& plan, const Scope& scope) {
    const SelectStatement& select = *plan.select;
    if (select.cores.size() != 1) return;
    const SelectCore& core = select.cores[0];
    if (!core.joins.empty() || core.distinct || !core.groupBy.empty() || core.items.size() != 1 ||
        !core.items[0].expr) {
      return;
    }
    const auto* aggregate = std::get_if<AggregateExpr>(&core.items[0].expr->node);
    if (aggregate == nullptr || aggregate->function == Aggregate::Avg) return;
    auto inner = std::make_unique<Scope>(engine.MakeScope(core.from, core.joins, &scope));
    std::vector<int> innerKeys;
    std::vector<BoundPtr> outerKeys;
    std::vector<BoundPtr> filters;
    BoundPtr argument;
    if (aggregate->argument) {
      argument = Bind(*aggregate->argument, *inner, false);
      Reach reach = ReachOf(*argument);
      if (reach.opaque || reach.farthest > 0) return;
    }
    std::vector<const Expr*> terms;
    if (core.where) Conjuncts(*core.where, terms);
    for (const Expr* term : terms) {
      BoundPtr bound = Bind(*term, *inner, false);
      Reach reach = ReachOf(*bound);
      if (reach.opaque) return;
      if (reach.farthest <= 0) {
        filters.push_back(std::move(bound));
        continue;
      }
      if (!TakeKeyEquality(*bound, innerKeys, outerKeys)) return;
    }
    plan.keyed = true;
    plan.function = aggregate->function;
    plan.scope = std::move(inner);
    plan.innerKeyColumns = std::move(innerKeys);
    plan.outerKeys = std::move(outerKeys);
    plan.innerFilters = std::move(filters);
    plan.argument = std::move(argument);
  }

  // An equality between an inner column and an expression of outer values only: the
  // column becomes an inner key and the expression the outer key looked up with it.
  static bool TakeKeyEquality(Bound& equality, std::vector<int>& innerKeys,
                              std::vector<BoundPtr>& outerKeys) {
    if (equality.kind != Bound::Kind::Binary || equality.binary != BinaryOp::Equal) {
      return false;
    }
    Bound& left = *equality.children[0];
    Bound& right = *equality.children[1];
    Reach leftReach = ReachOf(left);
    Reach rightReach = ReachOf(right);
    if (left.kind == Bound::Kind::Column && left.up == 0 && rightReach.nearest >= 1 &&
        !rightReach.opaque) {
      innerKeys.push_back(left.column);
      outerKeys.push_back(std::move(equality.children[1]));
    } else if (right.kind == Bound::Kind::Column && right.up == 0 && leftReach.nearest >= 1 &&
               !leftReach.opaque) {
      innerKeys.push_back(right.column);
      outerKeys.push_back(std::move(equality.children[0]));
    } else {
      return false;
    }
    return true;
  }
};

BoundPtr Binder::Bind(const Expr& expr, const Scope& scope, bool aggregatesAllowed) {
  auto bound = std::make_unique<Bound>();
  if (const auto* literal = std::get_if<Literal>(&expr.node)) {
    bound->kind = Bound::Kind::Constant;
    bound->constant = LiteralValue(*literal);
  } else if (const auto* column = std::get_if<ColumnRef>(&expr.node)) {
    return BindColumn(*column, scope);
  } else if (const auto* unary = std::get_if<UnaryExpr>(&expr.node)) {
    bound->kind = Bound::Kind::Unary;
    bound->unary = unary->op;
    bound->children.push_back(Bind(*unary->operand, scope, aggregatesAllowed));
  } else if (const auto* binary = std::get_if<BinaryExpr>(&expr.node)) {
    bound->kind = Bound::Kind::Binary;
    bound->binary = binary->op;
    bound->children.push_back(Bind(*binary->left, scope, aggregatesAllowed));
    bound->children.push_back(Bind(*binary->right, scope, aggregatesAllowed));
  } else if (const auto* isNull = std::get_if<IsNullExpr>(&expr.node)) {
    bound->kind = Bound::Kind::IsNull;
    bound->negated = isNull->negated;
    bound->children.push_back(Bind(*isNull->operand, scope, aggregatesAllowed));
  } else if (const auto* in = std::get_if<InExpr>(&expr.node)) {
    bound->negated = in->negated;
    bound->children.push_back(Bind(*in->operand, scope, aggregatesAllowed));
    if (in->subquery) {
      if (in->subquery->cores[0].items.size() != 1 || !in->subquery->cores[0].items[0].expr) {
        throw SqlError("La sottoquery di IN deve restituire un solo campo.");
      }
      bound->kind = Bound::Kind::InSubquery;
      bound->subquery = PlanSubquery(*in->subquery, scope);
    } else {
      bound->kind = Bound::Kind::InList;
      for (const auto& value : in->values) {
        bound->children.push_back(Bind(*value, scope, aggregatesAllowed));
      }
    }
  } else if (const auto* aggregate = std::get_if<AggregateExpr>(&expr.node)) {
    if (!aggregatesAllowed) {
      throw SqlError("Non è possibile usare una funzione di aggregazione in questa clausola.");
    }
    bound->kind = Bound::Kind::Aggregate;
    bound->aggregate = aggregate->function;
    if (aggregate->argument) bound->children.push_back(Bind(*aggregate->argument, scope, false));
  } else if (const auto* subquery = std::get_if<SubqueryExpr>(&expr.node)) {
    if (subquery->query->cores[0].items.size() != 1 || !subquery->query->cores[0].items[0].expr) {
      throw SqlError("Una sottoquery usata come valore deve restituire un solo campo.");
    }
    bound->kind = Bound::Kind::Scalar;
    bound->subquery = PlanSubquery(*subquery->query, scope);
  }
  return bound;
}

}  // namespace

BoundPtr QueryEngine::Bind(const Expr& expr, const Scope& scope, bool aggregatesAllowed) {
  Binder binder{*this, {}};
  return binder.Bind(expr, scope, aggregatesAllowed);
}

}  // namespace Sql
