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

// One pass over the subquery's table: per inner key, the aggregate of the rows that pass
// the inner filters. Rows with a NULL key are left out, as NULL equals nothing.
void BuildKeyedValues(QueryEngine& engine, SubqueryPlan& plan) {
  const Source& source = plan.scope->sources[0];
  std::unordered_map<std::string, Accumulator> accumulators;
  std::vector<const Row*> tuple(1);
  for (const StoredRow& row : *source.rows) {
    tuple[0] = &row.values;
    Frame rowFrame{&tuple, nullptr};
    bool keep = true;
    for (const auto& filter : plan.innerFilters) {
      if (!Holds(engine.Evaluate(*filter, rowFrame))) {
        keep = false;
        break;
      }
    }
    if (!keep) continue;
    std::string key;
    for (int column : plan.innerKeyColumns) {
      const Value& v = row.values[static_cast<std::size_t>(column)];
      if (v.IsNull()) {
        keep = false;
        break;
      }
      AppendKeyPart(key, v);
    }
    if (!keep) continue;
    Accumulator& accumulator = accumulators.try_emplace(key, plan.function).first->second;
    if (plan.function == Aggregate::CountStar) {
      accumulator.AddRow();
    } else {
      accumulator.Add(engine.Evaluate(*plan.argument, rowFrame));
    }
  }
  for (auto& [key, accumulator] : accumulators) {
    plan.keyedValues.emplace(key, accumulator.Result());
  }
  plan.keyedBuilt = true;
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
  auto found = nullKey ? plan.keyedValues.end() : plan.keyedValues.find(key);
  if (found != plan.keyedValues.end()) return found->second;
  return Accumulator(plan.function).Result();
}

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
    if (!plan.keyedBuilt) BuildKeyedValues(*this, plan);
    return LookUpKeyed(*this, plan, frame);
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

}  // namespace Sql
