#include "data/sql/QueryEngine.h"

#include <algorithm>
#include <unordered_set>

#include "data/sql/SqlError.h"
#include "data/sql/SqlLexer.h"
#include "data/sql/ValueOperations.h"

namespace Sql {

// How a subquery is evaluated. An uncorrelated one runs once. A correlated aggregate
// of the form "SELECT MAX(x) FROM t WHERE t.a = outer.b AND ..." is turned into one
// pass over t that keeps the aggregate per key, then looked up by the outer values, so
// that a query using it stays linear in the table's size. Any other correlated subquery
// runs again for each outer row.
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
  bool keyedBuilt = false;
  std::unordered_map<std::string, Value> keyedValues;
};

namespace {

const char kUnknownTable[] =
    "Impossibile trovare la tabella o la query di input '%s'. Verificare che esista e che il "
    "nome sia digitato correttamente.";

std::string Format(const char* pattern, const std::string& name) {
  std::string text = pattern;
  return text.replace(text.find("%s"), 2, name);
}

bool IsAggregateQuery(const SelectCore& core);

bool ContainsAggregate(const Expr& expr) {
  struct Visitor {
    bool operator()(const Literal&) const { return false; }
    bool operator()(const ColumnRef&) const { return false; }
    bool operator()(const UnaryExpr& u) const { return ContainsAggregate(*u.operand); }
    bool operator()(const BinaryExpr& b) const {
      return ContainsAggregate(*b.left) || ContainsAggregate(*b.right);
    }
    bool operator()(const IsNullExpr& n) const { return ContainsAggregate(*n.operand); }
    bool operator()(const InExpr& in) const {
      if (ContainsAggregate(*in.operand)) return true;
      for (const auto& v : in.values) {
        if (ContainsAggregate(*v)) return true;
      }
      return false;
    }
    bool operator()(const AggregateExpr&) const { return true; }
    bool operator()(const SubqueryExpr&) const { return false; }
  };
  return std::visit(Visitor{}, expr.node);
}

bool IsAggregateQuery(const SelectCore& core) {
  if (!core.groupBy.empty()) return true;
  for (const auto& item : core.items) {
    if (item.expr && ContainsAggregate(*item.expr)) return true;
  }
  return false;
}

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

// The nearest and farthest scopes a bound expression reads (-1: none); subqueries and
// aggregates make it unsuitable for key matching.
struct Reach {
  int nearest = 1 << 20;
  int farthest = -1;
  bool opaque = false;
  std::vector<int> sources;  // sources of the innermost scope it reads
};

void Measure(const Bound& b, int depth, Reach& reach) {
  switch (b.kind) {
    case Bound::Kind::Column: {
      int up = b.up - depth;
      if (up < 0) return;
      reach.nearest = std::min(reach.nearest, up);
      reach.farthest = std::max(reach.farthest, up);
      if (up == 0) reach.sources.push_back(b.source);
      return;
    }
    case Bound::Kind::InSubquery:
    case Bound::Kind::Scalar:
    case Bound::Kind::Aggregate:
      reach.opaque = true;
      break;
    default:
      break;
  }
  for (const auto& child : b.children) Measure(*child, depth, reach);
}

Reach ReachOf(const Bound& b) {
  Reach reach;
  Measure(b, 0, reach);
  return reach;
}

const Row* const kNullRow = nullptr;

// Sort order for ORDER BY: NULLs first, then by value; values of kinds that cannot be
// compared order by kind rather than failing half-way through a sort.
int SortCompare(const Value& a, const Value& b) {
  if (a.IsNull() || b.IsNull()) return a.IsNull() == b.IsNull() ? 0 : (a.IsNull() ? -1 : 1);
  bool textA = a.type == Value::Type::Text;
  bool textB = b.type == Value::Type::Text;
  if (textA != textB) return textA ? 1 : -1;
  return CompareValues(a, b);
}

}  // namespace

TableInfo QueryEngine::FindTable(const std::string& name) const {
  std::optional<TableInfo> info = store_.FindTable(name);
  if (!info) throw SqlError(Format(kUnknownTable, name));
  return *info;
}

const std::vector<StoredRow>& QueryEngine::RowsOf(const TableInfo& table) {
  std::string key = UpperCase(table.name);
  auto found = rowsByTable_.find(key);
  if (found != rowsByTable_.end()) return *found->second;
  auto rows = std::make_unique<std::vector<StoredRow>>();
  store_.ScanRows(table, [&](RowId id, Row&& values) {
    values.resize(table.columns.size());
    rows->push_back(StoredRow{id, std::move(values)});
  });
  // Jet hands a table's rows out in primary-key order; the stored order may differ once
  // rows have been deleted and their room reused.
  if (!table.primaryKey.empty()) {
    auto keyOrder = [&](const StoredRow& a, const StoredRow& b) {
      for (int column : table.primaryKey) {
        int c = SortCompare(a.values[static_cast<std::size_t>(column)],
                            b.values[static_cast<std::size_t>(column)]);
        if (c != 0) return c < 0;
      }
      return false;
    };
    if (!std::is_sorted(rows->begin(), rows->end(), keyOrder)) {
      std::stable_sort(rows->begin(), rows->end(), keyOrder);
    }
  }
  return *rowsByTable_.emplace(key, std::move(rows)).first->second;
}

Source QueryEngine::MakeSource(const TableRef& ref) {
  Source source;
  source.info = FindTable(ref.table);
  source.name = ref.alias.empty() ? ref.table : ref.alias;
  source.rows = &RowsOf(source.info);
  return source;
}

Scope QueryEngine::MakeScope(const TableRef& from, const std::vector<Join>& joins,
                             const Scope* parent) {
  Scope scope;
  scope.parent = parent;
  scope.sources.push_back(MakeSource(from));
  for (const Join& join : joins) scope.sources.push_back(MakeSource(join.table));
  for (std::size_t i = 0; i < scope.sources.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (SameName(scope.sources[i].name, scope.sources[j].name)) {
        throw SqlError("Alias '" + scope.sources[i].name +
                       "' ripetuto nella clausola FROM: usare alias diversi.");
      }
    }
  }
  return scope;
}

// ---- binding ----

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
      if (bound->kind != Bound::Kind::Binary || bound->binary != BinaryOp::Equal) return;
      Bound& left = *bound->children[0];
      Bound& right = *bound->children[1];
      Reach leftReach = ReachOf(left);
      Reach rightReach = ReachOf(right);
      if (left.kind == Bound::Kind::Column && left.up == 0 && rightReach.nearest >= 1 &&
          !rightReach.opaque) {
        innerKeys.push_back(left.column);
        outerKeys.push_back(std::move(bound->children[1]));
      } else if (right.kind == Bound::Kind::Column && right.up == 0 && leftReach.nearest >= 1 &&
                 !leftReach.opaque) {
        innerKeys.push_back(right.column);
        outerKeys.push_back(std::move(bound->children[0]));
      } else {
        return;
      }
    }
    plan.keyed = true;
    plan.function = aggregate->function;
    plan.scope = std::move(inner);
    plan.innerKeyColumns = std::move(innerKeys);
    plan.outerKeys = std::move(outerKeys);
    plan.innerFilters = std::move(filters);
    plan.argument = std::move(argument);
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

// ---- evaluation ----

Value QueryEngine::Evaluate(const Bound& b, const Frame& frame) {
  switch (b.kind) {
    case Bound::Kind::Constant:
      return b.constant;
    case Bound::Kind::Column: {
      const Frame* f = &frame;
      for (int i = 0; i < b.up && f != nullptr; ++i) f = f->parent;
      if (f == nullptr || f->tuple == nullptr) return Value::Null();
      const Row* row = (*f->tuple)[static_cast<std::size_t>(b.source)];
      return row == nullptr ? Value::Null() : (*row)[static_cast<std::size_t>(b.column)];
    }
    case Bound::Kind::Unary: {
      Value operand = Evaluate(*b.children[0], frame);
      return b.unary == UnaryOp::Not ? Not(operand) : Negate(operand);
    }
    case Bound::Kind::Binary: {
      Value left = Evaluate(*b.children[0], frame);
      // Short-circuit where the answer is already known.
      if (b.binary == BinaryOp::And && !left.IsNull() && !Holds(left)) return Truth(false);
      if (b.binary == BinaryOp::Or && !left.IsNull() && Holds(left)) return Truth(true);
      return ApplyBinary(b.binary, left, Evaluate(*b.children[1], frame));
    }
    case Bound::Kind::IsNull:
      return Truth(Evaluate(*b.children[0], frame).IsNull() != b.negated);
    case Bound::Kind::InList: {
      Value operand = Evaluate(*b.children[0], frame);
      if (operand.IsNull()) return Value::Null();
      bool sawNull = false;
      for (std::size_t i = 1; i < b.children.size(); ++i) {
        Value candidate = Evaluate(*b.children[i], frame);
        if (candidate.IsNull()) {
          sawNull = true;
        } else if (CompareValues(operand, candidate) == 0) {
          return Truth(!b.negated);
        }
      }
      return sawNull ? Value::Null() : Truth(b.negated);
    }
    case Bound::Kind::InSubquery:
      return EvaluateIn(b, frame);
    case Bound::Kind::Aggregate:
      return EvaluateAggregate(b, frame);
    case Bound::Kind::Scalar:
      return EvaluateSubquery(b, frame);
  }
  return Value::Null();
}

namespace {

// Folds values into an aggregate; Nulls are skipped (COUNT(*) counts rows).
struct Accumulator {
  explicit Accumulator(Aggregate f) : function(f) {}
  Aggregate function;
  std::int64_t count = 0;
  Value best;
  double sum = 0.0;
  bool integerSum = true;
  std::int64_t integerTotal = 0;

  void AddRow() { ++count; }
  void Add(const Value& v) {
    if (v.IsNull()) return;
    ++count;
    switch (function) {
      case Aggregate::Max:
        if (best.IsNull() || CompareValues(v, best) > 0) best = v;
        break;
      case Aggregate::Min:
        if (best.IsNull() || CompareValues(v, best) < 0) best = v;
        break;
      case Aggregate::Sum:
      case Aggregate::Avg:
        if (!v.IsNumeric()) throw SqlError("Tipo di dati non corrispondente nell'espressione.");
        sum += v.AsDouble();
        if (v.type != Value::Type::Integer ||
            __builtin_add_overflow(integerTotal, v.integer, &integerTotal)) {
          integerSum = false;
        }
        break;
      default:
        break;
    }
  }
  Value Result() const {
    switch (function) {
      case Aggregate::CountStar:
      case Aggregate::Count: return Value::Integer(count);
      case Aggregate::Max:
      case Aggregate::Min: return best;
      case Aggregate::Sum:
        if (count == 0) return Value::Null();
        return integerSum ? Value::Integer(integerTotal) : Value::Double(sum);
      case Aggregate::Avg:
        return count == 0 ? Value::Null() : Value::Double(sum / static_cast<double>(count));
    }
    return Value::Null();
  }
};

}  // namespace

Value QueryEngine::EvaluateAggregate(const Bound& b, const Frame& frame) {
  if (group_ == nullptr) throw SqlError("Funzione di aggregazione fuori posto.");
  Accumulator accumulator(b.aggregate);
  for (const auto& tuple : *group_) {
    if (b.aggregate == Aggregate::CountStar) {
      accumulator.AddRow();
      continue;
    }
    Frame rowFrame{&tuple, frame.parent};
    accumulator.Add(Evaluate(*b.children[0], rowFrame));
  }
  return accumulator.Result();
}

Value QueryEngine::EvaluateSubquery(const Bound& b, const Frame& frame) {
  SubqueryPlan& plan = *b.subquery;
  if (plan.keyed) {
    if (!plan.keyedBuilt) {
      const Source& source = plan.scope->sources[0];
      std::unordered_map<std::string, Accumulator> accumulators;
      std::vector<const Row*> tuple(1);
      for (const StoredRow& row : *source.rows) {
        tuple[0] = &row.values;
        Frame rowFrame{&tuple, nullptr};
        bool keep = true;
        for (const auto& filter : plan.innerFilters) {
          if (!Holds(Evaluate(*filter, rowFrame))) {
            keep = false;
            break;
          }
        }
        if (!keep) continue;
        std::string key;
        for (int column : plan.innerKeyColumns) {
          const Value& v = row.values[static_cast<std::size_t>(column)];
          if (v.IsNull()) {
            keep = false;  // NULL equals nothing
            break;
          }
          key += HashKey(v);
          key.push_back('\x1F');
        }
        if (!keep) continue;
        Accumulator& accumulator =
            accumulators.try_emplace(key, plan.function).first->second;
        if (plan.function == Aggregate::CountStar) {
          accumulator.AddRow();
        } else {
          accumulator.Add(Evaluate(*plan.argument, rowFrame));
        }
      }
      for (auto& [key, accumulator] : accumulators) {
        plan.keyedValues.emplace(key, accumulator.Result());
      }
      plan.keyedBuilt = true;
    }
    Frame keyFrame{nullptr, &frame};
    std::string key;
    bool nullKey = false;
    for (const auto& outer : plan.outerKeys) {
      Value v = Evaluate(*outer, keyFrame);
      if (v.IsNull()) {
        nullKey = true;
        break;
      }
      key += HashKey(v);
      key.push_back('\x1F');
    }
    auto found = nullKey ? plan.keyedValues.end() : plan.keyedValues.find(key);
    if (found != plan.keyedValues.end()) return found->second;
    return Accumulator(plan.function).Result();
  }
  if (plan.computed) return plan.scalar;
  QueryResult result = Run(*plan.select, plan.parentScope, &frame);
  if (result.rows.size() > 1) {
    throw SqlError("Questa sottoquery può restituire al massimo un record.");
  }
  Value value = result.rows.empty() ? Value::Null() : result.rows[0][0];
  if (!plan.correlated) {
    plan.scalar = value;
    plan.computed = true;
  }
  return value;
}

Value QueryEngine::EvaluateIn(const Bound& b, const Frame& frame) {
  SubqueryPlan& plan = *b.subquery;
  Value operand = Evaluate(*b.children[0], frame);
  if (!plan.computed || plan.correlated) {
    QueryResult result = Run(*plan.select, plan.parentScope, &frame);
    plan.keys.clear();
    plan.hasNull = false;
    for (const Row& row : result.rows) {
      if (row[0].IsNull()) {
        plan.hasNull = true;
      } else {
        plan.keys.insert(HashKey(row[0]));
      }
    }
    plan.computed = true;
  }
  if (operand.IsNull()) return Value::Null();
  if (plan.keys.count(HashKey(operand)) > 0) return Truth(!b.negated);
  return plan.hasNull ? Value::Null() : Truth(b.negated);
}

// ---- queries ----

struct QueryRunner {
  QueryEngine& engine;
  const Scope* parent;
  const Frame* outer;

  using Tuple = std::vector<const Row*>;

  std::vector<Tuple> JoinedTuples(const SelectCore& core, const Scope& scope) {
    std::vector<Tuple> tuples;
    const std::size_t width = scope.sources.size();
    for (const StoredRow& row : *scope.sources[0].rows) {
      Tuple tuple(width, kNullRow);
      tuple[0] = &row.values;
      tuples.push_back(std::move(tuple));
    }
    for (std::size_t j = 0; j < core.joins.size(); ++j) {
      const Join& join = core.joins[j];
      const int added = static_cast<int>(j + 1);
      const Source& source = scope.sources[static_cast<std::size_t>(added)];
      BoundPtr on = engine.Bind(*join.on, scope, false);

      // An equality between a column of the joined table and the tables before it
      // lets the join go through a hash table instead of comparing every pair.
      int hashColumn = -1;
      const Bound* probe = nullptr;
      std::vector<const Bound*> terms;
      std::vector<const Bound*> stack = {on.get()};
      while (!stack.empty()) {
        const Bound* b = stack.back();
        stack.pop_back();
        if (b->kind == Bound::Kind::Binary && b->binary == BinaryOp::And) {
          stack.push_back(b->children[0].get());
          stack.push_back(b->children[1].get());
        } else {
          terms.push_back(b);
        }
      }
      for (const Bound* term : terms) {
        if (term->kind != Bound::Kind::Binary || term->binary != BinaryOp::Equal) continue;
        for (int side = 0; side < 2 && hashColumn < 0; ++side) {
          const Bound& mine = *term->children[static_cast<std::size_t>(side)];
          const Bound& other = *term->children[static_cast<std::size_t>(1 - side)];
          if (mine.kind != Bound::Kind::Column || mine.up != 0 || mine.source != added) continue;
          Reach reach = ReachOf(other);
          bool earlier = !reach.opaque && reach.farthest <= 0;
          for (int s : reach.sources) earlier = earlier && s < added;
          if (earlier) {
            hashColumn = mine.column;
            probe = &other;
          }
        }
      }
      std::unordered_map<std::string, std::vector<const Row*>> byKey;
      if (hashColumn >= 0) {
        for (const StoredRow& row : *source.rows) {
          const Value& v = row.values[static_cast<std::size_t>(hashColumn)];
          if (!v.IsNull()) byKey[HashKey(v)].push_back(&row.values);
        }
      }
      std::vector<const Row*> everyRow;
      if (hashColumn < 0) {
        for (const StoredRow& row : *source.rows) everyRow.push_back(&row.values);
      }
      std::unordered_set<const Row*> matchedRight;
      std::vector<Tuple> next;
      static const std::vector<const Row*> kNone;
      for (Tuple& tuple : tuples) {
        const std::vector<const Row*>* candidates = &everyRow;
        if (hashColumn >= 0) {
          Frame frame{&tuple, outer};
          Value key = engine.Evaluate(*probe, frame);
          auto found = key.IsNull() ? byKey.end() : byKey.find(HashKey(key));
          candidates = found == byKey.end() ? &kNone : &found->second;
        }
        bool matched = false;
        for (const Row* candidate : *candidates) {
          tuple[static_cast<std::size_t>(added)] = candidate;
          Frame frame{&tuple, outer};
          if (Holds(engine.Evaluate(*on, frame))) {
            next.push_back(tuple);
            matched = true;
            if (join.kind == JoinKind::Right) matchedRight.insert(candidate);
          }
        }
        tuple[static_cast<std::size_t>(added)] = kNullRow;
        if (!matched && join.kind == JoinKind::Left) next.push_back(tuple);
      }
      if (join.kind == JoinKind::Right) {
        for (const StoredRow& row : *source.rows) {
          if (matchedRight.count(&row.values) > 0) continue;
          Tuple tuple(width, kNullRow);
          tuple[static_cast<std::size_t>(added)] = &row.values;
          next.push_back(std::move(tuple));
        }
      }
      tuples = std::move(next);
    }
    return tuples;
  }

  // Output names: the alias, the column's name, or Expr1000, Expr1001, ... as Jet does.
  static std::vector<std::string> ColumnNames(const SelectCore& core, const Scope& scope) {
    std::vector<std::string> names;
    int unnamed = 1000;
    for (const auto& item : core.items) {
      if (!item.expr) {
        for (const Source& source : scope.sources) {
          for (const ColumnInfo& column : source.info.columns) names.push_back(column.name);
        }
      } else if (!item.alias.empty()) {
        names.push_back(item.alias);
      } else if (const auto* column = std::get_if<ColumnRef>(&item.expr->node)) {
        names.push_back(column->name);
      } else {
        names.push_back("Expr" + std::to_string(unnamed++));
      }
    }
    return names;
  }

  static void CheckGrouping(const Bound& b, const std::vector<BoundPtr>& groupBy, bool inside) {
    if (b.kind == Bound::Kind::Aggregate || b.kind == Bound::Kind::Scalar ||
        b.kind == Bound::Kind::InSubquery) {
      if (b.kind == Bound::Kind::InSubquery) CheckGrouping(*b.children[0], groupBy, inside);
      return;
    }
    if (b.kind == Bound::Kind::Column && b.up == 0 && !inside) {
      for (const auto& g : groupBy) {
        if (g->kind == Bound::Kind::Column && g->up == 0 && g->source == b.source &&
            g->column == b.column) {
          return;
        }
      }
      throw SqlError("La query non include l'espressione specificata '" + b.text +
                     "' come parte di una funzione di aggregazione.");
    }
    for (const auto& child : b.children) CheckGrouping(*child, groupBy, inside);
  }

  // One SELECT of the query: its rows, and per row the values its ORDER BY needs when
  // they are not among the output columns.
  void RunCore(const SelectCore& core, const std::vector<const OrderItem*>& extraOrder,
               std::vector<Row>& rows, std::vector<Row>& extraKeys,
               std::vector<std::string>& names) {
    Scope scope = engine.MakeScope(core.from, core.joins, parent);
    names = ColumnNames(core, scope);
    bool aggregated = IsAggregateQuery(core);

    std::vector<BoundPtr> items;
    for (const auto& item : core.items) {
      items.push_back(item.expr ? engine.Bind(*item.expr, scope, true) : nullptr);
    }
    BoundPtr where = core.where ? engine.Bind(*core.where, scope, false) : nullptr;
    std::vector<BoundPtr> groupBy;
    for (const auto& g : core.groupBy) groupBy.push_back(engine.Bind(*g, scope, false));
    std::vector<BoundPtr> order;
    for (const OrderItem* item : extraOrder) {
      order.push_back(engine.Bind(*item->expr, scope, aggregated));
    }
    if (aggregated) {
      for (const auto& item : items) {
        if (!item) throw SqlError("Non è possibile usare * in una query con aggregazioni.");
        CheckGrouping(*item, groupBy, false);
      }
    }

    std::vector<Tuple> tuples = JoinedTuples(core, scope);
    if (where) {
      std::vector<Tuple> kept;
      for (Tuple& tuple : tuples) {
        Frame frame{&tuple, outer};
        if (Holds(engine.Evaluate(*where, frame))) kept.push_back(std::move(tuple));
      }
      tuples = std::move(kept);
    }

    auto project = [&](const Frame& frame) {
      Row row;
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i]) {
          row.push_back(engine.Evaluate(*items[i], frame));
          continue;
        }
        for (std::size_t s = 0; s < scope.sources.size(); ++s) {
          const Row* values = (*frame.tuple)[s];
          for (std::size_t c = 0; c < scope.sources[s].info.columns.size(); ++c) {
            row.push_back(values == nullptr ? Value::Null() : (*values)[c]);
          }
        }
      }
      rows.push_back(std::move(row));
      Row keys;
      for (const auto& o : order) keys.push_back(engine.Evaluate(*o, frame));
      extraKeys.push_back(std::move(keys));
    };

    if (!aggregated) {
      for (const Tuple& tuple : tuples) project(Frame{&tuple, outer});
      return;
    }
    std::vector<std::vector<Tuple>> groups;
    if (groupBy.empty()) {
      groups.push_back(std::move(tuples));
    } else {
      std::unordered_map<std::string, std::size_t> groupIndex;
      for (Tuple& tuple : tuples) {
        Frame frame{&tuple, outer};
        std::string key;
        for (const auto& g : groupBy) {
          key += HashKey(engine.Evaluate(*g, frame));
          key.push_back('\x1F');
        }
        auto [it, fresh] = groupIndex.emplace(key, groups.size());
        if (fresh) groups.emplace_back();
        groups[it->second].push_back(std::move(tuple));
      }
    }
    Tuple empty(scope.sources.size(), kNullRow);
    for (const auto& group : groups) {
      const auto* previous = engine.group_;
      engine.group_ = &group;
      project(Frame{group.empty() ? &empty : &group.front(), outer});
      engine.group_ = previous;
    }
  }

  QueryResult Run(const SelectStatement& select) {
    QueryResult result;
    // ORDER BY items name output columns; a single SELECT may also order by anything
    // its tables hold.
    std::vector<int> orderColumns;
    std::vector<const OrderItem*> extraOrder;
    std::vector<std::string> firstNames;
    {
      Scope probeScope = engine.MakeScope(select.cores[0].from, select.cores[0].joins, parent);
      firstNames = ColumnNames(select.cores[0], probeScope);
    }
    for (const OrderItem& item : select.orderBy) {
      int index = -1;
      if (const auto* column = std::get_if<ColumnRef>(&item.expr->node)) {
        for (std::size_t i = 0; i < firstNames.size(); ++i) {
          if (SameName(firstNames[i], column->name) &&
              (column->qualifier.empty() || select.cores.size() > 1)) {
            index = static_cast<int>(i);
            break;
          }
        }
      }
      if (index < 0 && select.cores.size() > 1) {
        throw SqlError("In una query di unione ORDER BY può usare solo i campi del risultato.");
      }
      if (index < 0) {
        index = -1 - static_cast<int>(extraOrder.size());
        extraOrder.push_back(&item);
      }
      orderColumns.push_back(index);
    }

    std::vector<Row> extraKeys;
    for (std::size_t i = 0; i < select.cores.size(); ++i) {
      std::vector<Row> rows;
      std::vector<Row> keys;
      std::vector<std::string> names;
      RunCore(select.cores[i], i == 0 ? extraOrder : std::vector<const OrderItem*>{}, rows, keys,
              names);
      if (i == 0) {
        result.columnNames = names;
      } else if (names.size() != result.columnNames.size()) {
        throw SqlError(
            "Il numero di colonne nelle due tabelle o query selezionate di una query di unione "
            "non corrisponde.");
      }
      for (std::size_t r = 0; r < rows.size(); ++r) {
        result.rows.push_back(std::move(rows[r]));
        extraKeys.push_back(std::move(keys[r]));
      }
      bool distinct = i == 0 ? select.cores[0].distinct : !select.unionAll[i - 1];
      if (distinct) RemoveDuplicates(result.rows, extraKeys);
    }

    if (!orderColumns.empty()) {
      std::vector<std::size_t> order(result.rows.size());
      for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        for (std::size_t k = 0; k < orderColumns.size(); ++k) {
          int column = orderColumns[k];
          const Value& x = column >= 0 ? result.rows[a][static_cast<std::size_t>(column)]
                                       : extraKeys[a][static_cast<std::size_t>(-1 - column)];
          const Value& y = column >= 0 ? result.rows[b][static_cast<std::size_t>(column)]
                                       : extraKeys[b][static_cast<std::size_t>(-1 - column)];
          int c = SortCompare(x, y);
          if (c != 0) return select.orderBy[k].descending ? c > 0 : c < 0;
        }
        return false;
      });
      std::vector<Row> sorted;
      sorted.reserve(order.size());
      for (std::size_t i : order) sorted.push_back(std::move(result.rows[i]));
      result.rows = std::move(sorted);
    }
    return result;
  }

  static void RemoveDuplicates(std::vector<Row>& rows, std::vector<Row>& keys) {
    std::unordered_set<std::string> seen;
    std::vector<Row> keptRows;
    std::vector<Row> keptKeys;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      std::string key;
      for (const Value& v : rows[i]) {
        key += HashKey(v);
        key.push_back('\x1F');
      }
      if (!seen.insert(key).second) continue;
      keptRows.push_back(std::move(rows[i]));
      keptKeys.push_back(std::move(keys[i]));
    }
    rows = std::move(keptRows);
    keys = std::move(keptKeys);
  }
};

QueryResult QueryEngine::Run(const SelectStatement& select, const Scope* parent,
                             const Frame* outer) {
  QueryRunner runner{*this, parent, outer};
  return runner.Run(select);
}

}  // namespace Sql
