// Evaluation of bound expressions against a frame, one row per source of each scope.
// - A column is read `up` frames out; the null row (kNullRow) or a missing frame reads
//   as NULL, which is how the missing side of an outer join looks to expressions.
// - Logic is three-valued: NULL stands for "unknown"; AND and OR stop early only when
//   the left side already decides.
// - Aggregates read the group the select runner has set in group_ and nothing else;
//   COUNT(*) counts rows, the others skip NULLs.
// - A subquery's plan holds what may be kept across rows: an uncorrelated result is
//   computed once, a keyed one's table of aggregates is built on first use.
#include <cstdint>
#include <unordered_map>

#include "data/sql/QueryEngine.h"
#include "data/sql/QueryInternals.h"
#include "data/sql/SqlError.h"

namespace Sql {

Value QueryEngine::Evaluate(const Bound& b, const Frame& frame) {
  switch (b.kind) {
    case Bound::Kind::Constant: return b.constant;
    case Bound::Kind::Column: {
      const Frame* f = &frame;
      for (int i = 0; i < b.up && f != nullptr; ++i) f = f->parent;
      if (f == nullptr || f->tuple == nullptr) return Value::Null();
      const Row* row = (*f->tuple)[static_cast<std::size_t>(b.source)];
      return row == kNullRow ? Value::Null() : (*row)[static_cast<std::size_t>(b.column)];
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
    case Bound::Kind::IsNull: return Truth(Evaluate(*b.children[0], frame).IsNull() != b.negated);
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
    case Bound::Kind::InSubquery: return EvaluateIn(b, frame);
    case Bound::Kind::Aggregate: return EvaluateAggregate(b, frame);
    case Bound::Kind::Scalar: return EvaluateSubquery(b, frame);
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
      default: break;
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

// Whether the aggregate's result is the same whatever order the rows come in: counts
// always; MAX and MIN of a column that is not text (equal texts may differ in case, and
// the first one found wins).
bool OrderFree(const SubqueryPlan& plan) {
  if (plan.function == Aggregate::CountStar || plan.function == Aggregate::Count) return true;
  if (plan.function != Aggregate::Max && plan.function != Aggregate::Min) return false;
  if (!plan.argument || plan.argument->kind != Bound::Kind::Column) return false;
  const ColumnInfo& column =
      plan.scope->sources[0].info.columns[static_cast<std::size_t>(plan.argument->column)];
  return column.type != ColumnType::Text && column.type != ColumnType::Memo;
}

// One pass over the subquery's table: per inner key, the aggregate of the rows that pass
// the inner filters. Rows with a NULL key are left out, as NULL equals nothing. When the
// order of the rows cannot change the result they are streamed, decoding only the
// columns the plan reads.
std::unordered_map<std::string, Value> KeyedValues(QueryEngine& engine, const SubqueryPlan& plan) {
  std::unordered_map<std::string, Accumulator> accumulators;
  std::vector<const Row*> tuple(1);
  std::string key;
  // A plain column is read in place rather than copied out by Evaluate.
  const Bound* argumentColumn =
      plan.argument && plan.argument->kind == Bound::Kind::Column && plan.argument->up == 0
          ? plan.argument.get()
          : nullptr;
  auto add = [&](const Row& row) {
    tuple[0] = &row;
    Frame rowFrame{&tuple, nullptr};
    for (const auto& filter : plan.innerFilters) {
      if (!Holds(engine.Evaluate(*filter, rowFrame))) return;
    }
    key.clear();
    for (int column : plan.innerKeyColumns) {
      const Value& v = row[static_cast<std::size_t>(column)];
      if (v.IsNull()) return;
      AppendKeyPart(key, v);
    }
    Accumulator& accumulator = accumulators.try_emplace(key, plan.function).first->second;
    if (plan.function == Aggregate::CountStar) {
      accumulator.AddRow();
    } else if (argumentColumn != nullptr) {
      accumulator.Add(row[static_cast<std::size_t>(argumentColumn->column)]);
    } else {
      accumulator.Add(engine.Evaluate(*plan.argument, rowFrame));
    }
  };
  const TableInfo& table = plan.scope->sources[0].info;
  std::vector<bool> used(table.columns.size(), false);
  bool known = true;
  for (int column : plan.innerKeyColumns) used[static_cast<std::size_t>(column)] = true;
  for (const auto& filter : plan.innerFilters)
    known = known && MarkColumnsRead(*filter, 0, 0, used);
  if (plan.argument) known = known && MarkColumnsRead(*plan.argument, 0, 0, used);
  if (!known || !OrderFree(plan)) {
    for (const StoredRow& row : engine.RowsOf(table)) add(row.values);
  } else {
    std::unique_ptr<RowCursor> cursor = engine.OpenCursor(table);
    Row row(table.columns.size());
    while (cursor->Next()) {
      for (std::size_t c = 0; c < used.size(); ++c) {
        if (used[c]) row[c] = cursor->Column(c);
      }
      add(row);
    }
  }
  std::unordered_map<std::string, Value> values;
  for (auto& [key, accumulator] : accumulators) values.emplace(key, accumulator.Result());
  return values;
}

// The keyed aggregate for the outer row; a key not found (or NULL) gets the aggregate of
// no rows.
Value LookUpKeyed(QueryEngine& engine, const SubqueryPlan& plan, const Frame& frame) {
  // The outer keys were bound in the subquery's scope, so the outer row is one frame out.
  Frame keyFrame{nullptr, &frame};
  std::string key;
  bool nullKey = false;
  for (const auto& outer : plan.outerKeys) {
    Value v = engine.Evaluate(*outer, keyFrame);
    if (v.IsNull()) {
      nullKey = true;
      break;
    }
    AppendKeyPart(key, v);
  }
  const auto& values = *plan.keyedValues;
  auto found = nullKey ? values.end() : values.find(key);
  if (found != values.end()) return found->second;
  return Accumulator(plan.function).Result();
}

}  // namespace

void QueryEngine::BuildKeyed(SubqueryPlan& plan) {
  std::string signature = KeyedSignature(plan);
  if (!signature.empty()) {
    auto found = keyedTables_.find(signature);
    if (found != keyedTables_.end()) {
      plan.keyedValues = found->second;
      return;
    }
  }
  plan.keyedValues =
      std::make_shared<const std::unordered_map<std::string, Value>>(KeyedValues(*this, plan));
  if (!signature.empty()) keyedTables_.emplace(signature, plan.keyedValues);
}

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
    if (!plan.keyedValues) BuildKeyed(plan);
    return LookUpKeyed(*this, plan, frame);
  }
  if (plan.computed) return plan.scalar;
  QueryResult result = Run(*plan.select, plan.parentScope, &frame, !plan.correlated);
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
    QueryResult result = Run(*plan.select, plan.parentScope, &frame, !plan.correlated);
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

}  // namespace Sql
