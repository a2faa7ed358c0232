// The select runner: joins, WHERE, grouping, UNION and ORDER BY of one SELECT statement.
// - A tuple holds one row per source of the scope, in FROM order. Joins extend the tuples
//   left to right, each ON condition seeing the sources joined before it.
// - The null row (kNullRow) is the missing side of an outer join: a LEFT join keeps an
//   unmatched tuple with kNullRow for the joined source, a RIGHT join adds each unmatched
//   row of its source after the matches, with kNullRow for every earlier source. Columns
//   read through it are NULL, in expressions and in SELECT *.
// - Groups come out in the order their first tuple was found; an aggregate query without
//   GROUP BY is one group, projected over an all-null tuple when it holds no rows.
// - Every SELECT of a UNION yields as many columns as the first, whose names the result
//   takes. DISTINCT, and UNION without ALL, drop later duplicates of everything gathered
//   so far.
// - ORDER BY sorts stably, NULLs first. An item naming an output column sorts by that
//   column. In a single SELECT any other item is evaluated per row and its value carried
//   beside the row (the carried keys, kept parallel to the rows through duplicate
//   removal); a UNION may order by output columns only.
#include <algorithm>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "data/sql/QueryEngine.h"
#include "data/sql/QueryInternals.h"
#include "data/sql/SqlError.h"
#include "data/sql/SqlLexer.h"

namespace Sql {

int SortCompare(const Value& a, const Value& b) {
  if (a.IsNull() || b.IsNull()) return a.IsNull() == b.IsNull() ? 0 : (a.IsNull() ? -1 : 1);
  bool textA = a.type == Value::Type::Text;
  bool textB = b.type == Value::Type::Text;
  if (textA != textB) return textA ? 1 : -1;
  return CompareValues(a, b);
}

namespace {

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

using Tuple = std::vector<const Row*>;

// Where the value of one ORDER BY item is found for each row.
struct OrderKey {
  enum class Place { OutputColumn, CarriedKey };
  Place place = Place::OutputColumn;
  std::size_t index = 0;  // into the output row, or into the row's carried keys
};

const Value& OrderValue(const OrderKey& key, const Row& row, const Row& carriedKeys) {
  return key.place == OrderKey::Place::OutputColumn ? row[key.index] : carriedKeys[key.index];
}

// The expressions of one SELECT, bound in its scope.
struct BoundCore {
  std::vector<BoundPtr> items;  // null: *
  BoundPtr where;
  std::vector<BoundPtr> groupBy;
  std::vector<BoundPtr> carriedOrder;  // ORDER BY items that are not output columns
  bool aggregated = false;
};

// The rows of one SELECT, each with its carried keys.
struct CoreRows {
  std::vector<std::string> names;
  std::vector<Row> rows;
  std::vector<Row> carriedKeys;
};

// An equality of the ON condition between a column of the joined source and the sources
// before it (column < 0: none).
struct HashEquality {
  int column = -1;
  const Bound* probe = nullptr;  // the side read from the earlier sources
};

}  // namespace

struct QueryRunner {
  QueryEngine& engine;
  const Scope* parent;
  const Frame* outer;
  bool independent;  // reads nothing of the enclosing query's rows

  QueryResult Run(const SelectStatement& select) {
    std::vector<const OrderItem*> carriedOrder;
    std::vector<OrderKey> orderKeys = ResolveOrderBy(select, carriedOrder);
    QueryResult result;
    std::vector<Row> carriedKeys;
    UniteCores(select, carriedOrder, result, carriedKeys);
    if (!orderKeys.empty()) SortRows(select.orderBy, orderKeys, result.rows, carriedKeys);
    return result;
  }

  // ---- the statement: ORDER BY and UNION ----

  // ORDER BY items name output columns; a single SELECT may also order by anything its
  // tables hold, which it then carries beside each row.
  std::vector<OrderKey> ResolveOrderBy(const SelectStatement& select,
                                       std::vector<const OrderItem*>& carriedOrder) {
    std::vector<std::string> firstNames;
    {
      Scope probeScope = engine.MakeScope(select.cores[0].from, select.cores[0].joins, parent);
      firstNames = ColumnNames(select.cores[0], probeScope);
    }
    const bool isUnion = select.cores.size() > 1;
    std::vector<OrderKey> keys;
    for (const OrderItem& item : select.orderBy) {
      OrderKey key;
      if (FindOutputColumn(item, firstNames, isUnion, key.index)) {
        key.place = OrderKey::Place::OutputColumn;
      } else if (isUnion) {
        throw SqlError("In una query di unione ORDER BY può usare solo i campi del risultato.");
      } else {
        key.place = OrderKey::Place::CarriedKey;
        key.index = carriedOrder.size();
        carriedOrder.push_back(&item);
      }
      keys.push_back(key);
    }
    return keys;
  }

  // A qualified name means a table's column in a single SELECT, but only the output
  // column in a UNION, whose output has no tables.
  static bool FindOutputColumn(const OrderItem& item, const std::vector<std::string>& names,
                               bool isUnion, std::size_t& index) {
    const auto* column = std::get_if<ColumnRef>(&item.expr->node);
    if (column == nullptr || (!column->qualifier.empty() && !isUnion)) return false;
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (SameName(names[i], column->name)) {
        index = i;
        return true;
      }
    }
    return false;
  }

  // The rows of every SELECT, one after the other; only the first carries ORDER BY keys.
  void UniteCores(const SelectStatement& select, const std::vector<const OrderItem*>& carriedOrder,
                  QueryResult& result, std::vector<Row>& carriedKeys) {
    for (std::size_t i = 0; i < select.cores.size(); ++i) {
      CoreRows core =
          RunCore(select.cores[i], i == 0 ? carriedOrder : std::vector<const OrderItem*>{});
      if (i == 0) {
        result.columnNames = core.names;
      } else if (core.names.size() != result.columnNames.size()) {
        throw SqlError(
            "Il numero di colonne nelle due tabelle o query selezionate di una query di unione "
            "non corrisponde.");
      }
      for (std::size_t r = 0; r < core.rows.size(); ++r) {
        result.rows.push_back(std::move(core.rows[r]));
        carriedKeys.push_back(std::move(core.carriedKeys[r]));
      }
      bool distinct = i == 0 ? select.cores[0].distinct : !select.unionAll[i - 1];
      if (distinct) RemoveDuplicates(result.rows, carriedKeys);
    }
  }

  // The first of equal rows stays, with its carried keys.
  static void RemoveDuplicates(std::vector<Row>& rows, std::vector<Row>& carriedKeys) {
    std::unordered_set<std::string> seen;
    std::vector<Row> keptRows;
    std::vector<Row> keptKeys;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      std::string key;
      for (const Value& v : rows[i]) AppendKeyPart(key, v);
      if (!seen.insert(key).second) continue;
      keptRows.push_back(std::move(rows[i]));
      keptKeys.push_back(std::move(carriedKeys[i]));
    }
    rows = std::move(keptRows);
    carriedKeys = std::move(keptKeys);
  }

  static void SortRows(const std::vector<OrderItem>& orderBy, const std::vector<OrderKey>& keys,
                       std::vector<Row>& rows, const std::vector<Row>& carriedKeys) {
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      for (std::size_t k = 0; k < keys.size(); ++k) {
        int c = SortCompare(OrderValue(keys[k], rows[a], carriedKeys[a]),
                            OrderValue(keys[k], rows[b], carriedKeys[b]));
        if (c != 0) return orderBy[k].descending ? c > 0 : c < 0;
      }
      return false;
    });
    std::vector<Row> sorted;
    sorted.reserve(order.size());
    for (std::size_t i : order) sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
  }

  // ---- one SELECT ----

  CoreRows RunCore(const SelectCore& core, const std::vector<const OrderItem*>& carriedOrder) {
    Scope scope = engine.MakeScope(core.from, core.joins, parent);
    CoreRows out;
    out.names = ColumnNames(core, scope);
    BoundCore bound = BindCore(core, scope, carriedOrder);
    std::vector<BoundPtr> ons;
    for (const Join& join : core.joins) ons.push_back(engine.Bind(*join.on, scope, false));
    std::unique_ptr<FilteredTuples> own;
    const FilteredTuples* filtered = SharedTuples(core, scope, ons, bound.where.get(), own);
    const std::vector<Tuple>& tuples = filtered->tuples;
    if (!bound.aggregated) {
      for (const Tuple& tuple : tuples) Project(bound, scope, Frame{&tuple, outer}, out);
      return out;
    }
    std::vector<std::vector<Tuple>> groups = Groups(tuples, bound.groupBy);
    Tuple empty(scope.sources.size(), kNullRow);
    for (const auto& group : groups) {
      // Aggregates in the projection read the group through the engine.
      const auto* previous = engine.group_;
      engine.group_ = &group;
      Project(bound, scope, Frame{group.empty() ? &empty : &group.front(), outer}, out);
      engine.group_ = previous;
    }
    return out;
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

  BoundCore BindCore(const SelectCore& core, const Scope& scope,
                     const std::vector<const OrderItem*>& carriedOrder) {
    BoundCore bound;
    bound.aggregated = IsAggregateQuery(core);
    for (const auto& item : core.items) {
      bound.items.push_back(item.expr ? engine.Bind(*item.expr, scope, true) : nullptr);
    }
    bound.where = core.where ? engine.Bind(*core.where, scope, false) : nullptr;
    for (const auto& g : core.groupBy) bound.groupBy.push_back(engine.Bind(*g, scope, false));
    for (const OrderItem* item : carriedOrder) {
      bound.carriedOrder.push_back(engine.Bind(*item->expr, scope, bound.aggregated));
    }
    if (bound.aggregated) {
      for (const auto& item : bound.items) {
        if (!item) throw SqlError("Non è possibile usare * in una query con aggregazioni.");
        CheckGrouping(*item, bound.groupBy, false);
      }
    }
    return bound;
  }

  // Outside aggregates and subqueries, an aggregate query may read only the columns it
  // groups by.
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

  std::vector<Tuple> KeepWhere(std::vector<Tuple> tuples, const Bound* where) {
    if (where == nullptr) return tuples;
    std::vector<Tuple> kept;
    for (Tuple& tuple : tuples) {
      Frame frame{&tuple, outer};
      if (Holds(engine.Evaluate(*where, frame))) kept.push_back(std::move(tuple));
    }
    return kept;
  }

  // Without GROUP BY every tuple, or none, makes the one group.
  std::vector<std::vector<Tuple>> Groups(std::vector<Tuple> tuples,
                                         const std::vector<BoundPtr>& groupBy) {
    std::vector<std::vector<Tuple>> groups;
    if (groupBy.empty()) {
      groups.push_back(std::move(tuples));
      return groups;
    }
    std::unordered_map<std::string, std::size_t> groupIndex;
    for (Tuple& tuple : tuples) {
      Frame frame{&tuple, outer};
      std::string key;
      for (const auto& g : groupBy) AppendKeyPart(key, engine.Evaluate(*g, frame));
      auto [it, fresh] = groupIndex.emplace(key, groups.size());
      if (fresh) groups.emplace_back();
      groups[it->second].push_back(std::move(tuple));
    }
    return groups;
  }

  // One output row, and its carried keys, from the frame; * expands to every column of
  // every source.
  void Project(const BoundCore& bound, const Scope& scope, const Frame& frame, CoreRows& out) {
    Row row;
    for (const BoundPtr& item : bound.items) {
      if (item) {
        row.push_back(engine.Evaluate(*item, frame));
        continue;
      }
      for (std::size_t s = 0; s < scope.sources.size(); ++s) {
        const Row* values = (*frame.tuple)[s];
        for (std::size_t c = 0; c < scope.sources[s].info.columns.size(); ++c) {
          row.push_back(values == kNullRow ? Value::Null() : (*values)[c]);
        }
      }
    }
    out.rows.push_back(std::move(row));
    Row keys;
    for (const auto& o : bound.carriedOrder) keys.push_back(engine.Evaluate(*o, frame));
    out.carriedKeys.push_back(std::move(keys));
  }

  // ---- joins ----

  // The tuples of the FROM clause that pass WHERE: made here (into `own`), or those the
  // same FROM and WHERE made before in the statement when neither reads outer rows.
  const FilteredTuples* SharedTuples(const SelectCore& core, const Scope& scope,
                                     const std::vector<BoundPtr>& ons, const Bound* where,
                                     std::unique_ptr<FilteredTuples>& own) {
    std::string text;
    bool shared = independent;
    for (const Source& source : scope.sources) text += UpperCase(source.info.name) + '|';
    for (std::size_t j = 0; j < ons.size() && shared; ++j) {
      text += std::to_string(static_cast<int>(core.joins[j].kind));
      shared = Describe(*ons[j], text);
    }
    text += "|W";
    shared = shared && (where == nullptr || Describe(*where, text));
    if (shared) {
      auto found = engine.filteredByText_.find(text);
      if (found != engine.filteredByText_.end()) return found->second.get();
    }
    own = std::make_unique<FilteredTuples>();
    own->tuples = WhereTuples(core, scope, ons, where, own->streamedRows);
    if (!shared) return own.get();
    return engine.filteredByText_.emplace(text, std::move(own)).first->second.get();
  }

  // The joined tuples that pass WHERE. The last join, when it is an inner or left join on
  // an equality, streams its table and applies WHERE as it goes (StreamJoin).
  std::vector<Tuple> WhereTuples(const SelectCore& core, const Scope& scope,
                                 const std::vector<BoundPtr>& ons, const Bound* where,
                                 std::deque<Row>& streamedRows) {
    std::vector<Tuple> tuples;
    const std::size_t width = scope.sources.size();
    for (const StoredRow& row : engine.RowsOf(scope.sources[0].info)) {
      Tuple tuple(width, kNullRow);
      tuple[0] = &row.values;
      tuples.push_back(std::move(tuple));
    }
    for (std::size_t j = 0; j < core.joins.size(); ++j) {
      const bool last = j + 1 == core.joins.size();
      bool filtered = false;
      tuples = JoinSource(tuples, core.joins[j], *ons[j], static_cast<int>(j + 1), scope,
                          last ? where : nullptr, streamedRows, filtered);
      if (filtered && last) return tuples;
    }
    return KeepWhere(std::move(tuples), where);
  }

  // The tuples extended by source `added`, which the join brings in. A join that can be
  // streamed is, and then also applies `where` (`filtered` tells).
  std::vector<Tuple> JoinSource(std::vector<Tuple>& tuples, const Join& join, const Bound& on,
                                int added, const Scope& scope, const Bound* where,
                                std::deque<Row>& streamedRows, bool& filtered) {
    const Source& source = scope.sources[static_cast<std::size_t>(added)];
    HashEquality hash = FindHashEquality(on, added);
    if (hash.column >= 0 && join.kind != JoinKind::Right) {
      filtered = true;
      return StreamJoin(tuples, on, hash, join.kind == JoinKind::Left, added, scope, where,
                        streamedRows);
    }
    const std::vector<StoredRow>& rows = engine.RowsOf(source.info);
    std::unordered_map<std::string, std::vector<const Row*>> byKey;
    if (hash.column >= 0) {
      for (const StoredRow& row : rows) {
        const Value& v = row.values[static_cast<std::size_t>(hash.column)];
        if (!v.IsNull()) byKey[HashKey(v)].push_back(&row.values);
      }
    }
    std::vector<const Row*> everyRow;
    if (hash.column < 0) {
      for (const StoredRow& row : rows) everyRow.push_back(&row.values);
    }
    std::unordered_set<const Row*> matchedRight;
    std::vector<Tuple> next;
    static const std::vector<const Row*> kNone;
    for (Tuple& tuple : tuples) {
      const std::vector<const Row*>* candidates = &everyRow;
      if (hash.column >= 0) {
        Frame frame{&tuple, outer};
        Value key = engine.Evaluate(*hash.probe, frame);
        auto found = key.IsNull() ? byKey.end() : byKey.find(HashKey(key));
        candidates = found == byKey.end() ? &kNone : &found->second;
      }
      bool matched = false;
      for (const Row* candidate : *candidates) {
        tuple[static_cast<std::size_t>(added)] = candidate;
        Frame frame{&tuple, outer};
        if (Holds(engine.Evaluate(on, frame))) {
          next.push_back(tuple);
          matched = true;
          if (join.kind == JoinKind::Right) matchedRight.insert(candidate);
        }
      }
      tuple[static_cast<std::size_t>(added)] = kNullRow;
      if (!matched && join.kind == JoinKind::Left) next.push_back(tuple);
    }
    if (join.kind == JoinKind::Right) {
      for (const StoredRow& row : rows) {
        if (matchedRight.count(&row.values) > 0) continue;
        Tuple tuple(scope.sources.size(), kNullRow);
        tuple[static_cast<std::size_t>(added)] = &row.values;
        next.push_back(std::move(tuple));
      }
    }
    return next;
  }

  // The join of a table that is read one row at a time and never held whole: the tuples
  // so far are keyed by the equality's value, each row of the table is decoded as far as
  // ON and WHERE read it and tried against the tuples of its key, and only the rows that
  // pass both are kept, whole. The result is what joining and then filtering gives: per
  // tuple, its rows in the table's key order, or the tuple with the null row when a left
  // join matched nothing.
  std::vector<Tuple> StreamJoin(std::vector<Tuple>& tuples, const Bound& on,
                                const HashEquality& hash, bool left, int added, const Scope& scope,
                                const Bound* where, std::deque<Row>& streamedRows) {
    const TableInfo& table = scope.sources[static_cast<std::size_t>(added)].info;
    const auto slot = static_cast<std::size_t>(added);
    std::unordered_map<std::string, std::vector<std::size_t>> byKey;
    std::string keyText;
    for (std::size_t t = 0; t < tuples.size(); ++t) {
      Frame frame{&tuples[t], outer};
      Value key = engine.Evaluate(*hash.probe, frame);
      if (key.IsNull()) continue;
      keyText.clear();
      AppendKeyPart(keyText, key);
      byKey[keyText].push_back(t);
    }
    std::vector<const Bound*> rowTerms = RowTerms(where, added, scope);
    bool onText = false;
    const bool onNeverFails = NeverFails(on, scope, onText);
    // Decoded for every row of a key found, for WHERE only when the row's own terms hold,
    // and the rest only for a row kept.
    const std::size_t width = table.columns.size();
    std::vector<bool> first(width, false);
    bool known = MarkColumnsRead(on, 0, added, first);
    for (const Bound* term : rowTerms) known = known && MarkColumnsRead(*term, 0, added, first);
    if (!known) first.assign(width, true);
    std::vector<bool> second(width, false);
    if (where != nullptr && !MarkColumnsRead(*where, 0, added, second)) second.assign(width, true);
    for (std::size_t c = 0; c < width; ++c) second[c] = second[c] && !first[c];

    std::vector<bool> matched(tuples.size(), false);
    // (tuple, row) in the table's order: one list, not one per tuple, since a join of a
    // small table to many tuples would otherwise make as many small allocations.
    std::vector<std::pair<std::size_t, const Row*>> kept;
    const auto keyColumn = static_cast<std::size_t>(hash.column);
    Row row(width);
    Tuple alone(scope.sources.size(), kNullRow);
    alone[slot] = &row;
    std::unique_ptr<RowCursor> cursor = engine.OpenCursor(table);
    while (cursor->Next()) {
      Value key = cursor->Column(keyColumn);
      if (key.IsNull()) continue;
      keyText.clear();
      AppendKeyPart(keyText, key);
      auto found = byKey.find(keyText);
      if (found == byKey.end()) continue;
      for (std::size_t c = 0; c < width; ++c) {
        if (first[c]) row[c] = c == keyColumn ? key : cursor->Column(c);
      }
      bool rowPasses = true;
      for (const Bound* term : rowTerms) {
        rowPasses = rowPasses && Holds(engine.Evaluate(*term, Frame{&alone, outer}));
      }
      bool whereRead = false;
      const Row* whole = nullptr;
      for (std::size_t t : found->second) {
        // Nothing left to learn from a row WHERE turns away for a tuple already matched.
        if (!rowPasses && matched[t] && onNeverFails) continue;
        Tuple& tuple = tuples[t];
        tuple[slot] = &row;
        Frame frame{&tuple, outer};
        bool passes = Holds(engine.Evaluate(on, frame));
        if (passes) matched[t] = true;
        if (passes && where != nullptr) {
          if (rowPasses && !whereRead) {
            for (std::size_t c = 0; c < width; ++c) {
              if (second[c]) row[c] = cursor->Column(c);
            }
            whereRead = true;
          }
          passes = rowPasses && Holds(engine.Evaluate(*where, frame));
        }
        tuple[slot] = kNullRow;
        if (!passes) continue;
        if (whole == nullptr) {
          streamedRows.push_back(row);
          for (std::size_t c = 0; c < width; ++c) {
            if (!first[c] && !second[c]) streamedRows.back()[c] = cursor->Column(c);
          }
          whole = &streamedRows.back();
        }
        kept.emplace_back(t, whole);
      }
    }
    std::stable_sort(kept.begin(), kept.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Tuple> next;
    std::vector<const Row*> rows;
    std::size_t k = 0;
    for (std::size_t t = 0; t < tuples.size(); ++t) {
      Tuple& tuple = tuples[t];
      rows.clear();
      for (; k < kept.size() && kept[k].first == t; ++k) rows.push_back(kept[k].second);
      if (!rows.empty()) {
        InKeyOrder(table, rows);
        for (const Row* r : rows) {
          tuple[slot] = r;
          next.push_back(tuple);
        }
        continue;
      }
      if (matched[t] || !left) continue;
      tuple[slot] = kNullRow;
      Frame frame{&tuple, outer};
      if (where == nullptr || Holds(engine.Evaluate(*where, frame))) next.push_back(tuple);
    }
    return next;
  }

  // The terms of WHERE that read the joined table's row alone, and so can turn a row away
  // before it meets any tuple; only when no term of WHERE can fail, since they are then
  // tried before the terms written ahead of them.
  static std::vector<const Bound*> RowTerms(const Bound* where, int added, const Scope& scope) {
    std::vector<const Bound*> terms;
    bool text = false;
    if (where == nullptr || !NeverFails(*where, scope, text)) return terms;
    for (const Bound* term : AndTerms(*where)) {
      Reach reach = ReachOf(*term);
      if (reach.opaque || reach.farthest != 0) continue;
      bool alone = true;
      for (int s : reach.sources) alone = alone && s == added;
      if (alone) terms.push_back(term);
    }
    return terms;
  }

  // Rows streamed in the store's order, put in the order RowsOf gives.
  static void InKeyOrder(const TableInfo& table, std::vector<const Row*>& rows) {
    if (table.primaryKey.empty() || rows.size() < 2) return;
    std::stable_sort(rows.begin(), rows.end(), [&](const Row* a, const Row* b) {
      for (int column : table.primaryKey) {
        int c = SortCompare((*a)[static_cast<std::size_t>(column)],
                            (*b)[static_cast<std::size_t>(column)]);
        if (c != 0) return c < 0;
      }
      return false;
    });
  }

  // An equality between a column of the joined source and the sources before it lets
  // the join go through a hash table instead of comparing every pair.
  static HashEquality FindHashEquality(const Bound& on, int added) {
    HashEquality hash;
    for (const Bound* term : AndTerms(on)) {
      if (term->kind != Bound::Kind::Binary || term->binary != BinaryOp::Equal) continue;
      for (int side = 0; side < 2 && hash.column < 0; ++side) {
        const Bound& mine = *term->children[static_cast<std::size_t>(side)];
        const Bound& other = *term->children[static_cast<std::size_t>(1 - side)];
        if (mine.kind != Bound::Kind::Column || mine.up != 0 || mine.source != added) continue;
        Reach reach = ReachOf(other);
        bool earlier = !reach.opaque && reach.farthest <= 0;
        for (int s : reach.sources) earlier = earlier && s < added;
        if (earlier) {
          hash.column = mine.column;
          hash.probe = &other;
        }
      }
    }
    return hash;
  }

  // The terms of a chain of ANDs, last first.
  static std::vector<const Bound*> AndTerms(const Bound& condition) {
    std::vector<const Bound*> terms;
    std::vector<const Bound*> stack = {&condition};
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
    return terms;
  }
};

QueryResult QueryEngine::Run(const SelectStatement& select, const Scope* parent, const Frame* outer,
                             bool independent) {
  QueryRunner runner{*this, parent, outer, independent || parent == nullptr};
  return runner.Run(select);
}

}  // namespace Sql
