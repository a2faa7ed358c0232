#include "data/sql/SqlExecutor.h"

#include "data/sql/QueryEngine.h"
#include "data/sql/SqlError.h"
#include "data/sql/SqlLexer.h"
#include "data/sql/ValueOperations.h"

namespace Sql {
namespace {

int ColumnIndex(const TableInfo& table, const std::string& name) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (SameName(table.columns[i].name, name)) return static_cast<int>(i);
  }
  throw SqlError("Il campo '" + name + "' non esiste nella tabella '" + table.name + "'.");
}

// Rows of the table that satisfy the condition (all when there is none), read before
// anything is written.
std::vector<const StoredRow*> MatchingRows(QueryEngine& engine, const Scope& scope,
                                           const Expr* where) {
  BoundPtr condition = where ? engine.Bind(*where, scope, false) : nullptr;
  std::vector<const StoredRow*> matches;
  std::vector<const Row*> tuple(1);
  for (const StoredRow& row : engine.RowsOf(scope.sources[0].info)) {
    tuple[0] = &row.values;
    Frame frame{&tuple, nullptr};
    if (!condition || Holds(engine.Evaluate(*condition, frame))) matches.push_back(&row);
  }
  return matches;
}

Scope SingleTableScope(QueryEngine& engine, const std::string& table) {
  Scope scope;
  TableRef ref;
  ref.table = table;
  scope.sources.push_back(engine.MakeSource(ref));
  return scope;
}

// Applies the writes, all or none.
template <typename Writes>
std::int64_t WriteAll(TableStore& store, Writes writes) {
  store.BeginWrites();
  try {
    std::int64_t count = writes();
    store.CommitWrites();
    return count;
  } catch (...) {
    store.RollbackWrites();
    throw;
  }
}

std::int64_t Insert(const InsertStatement& insert, TableStore& store) {
  QueryEngine engine(store);
  TableInfo table = engine.FindTable(insert.table);
  std::vector<int> targets;
  if (insert.columns.empty()) {
    if (insert.values.size() != table.columns.size()) {
      throw SqlError(
          "Il numero dei valori della query e quello dei campi di destinazione non coincidono.");
    }
    for (std::size_t i = 0; i < table.columns.size(); ++i) targets.push_back(static_cast<int>(i));
  } else {
    for (const std::string& name : insert.columns) {
      int index = ColumnIndex(table, name);
      for (int earlier : targets) {
        if (earlier == index) {
          throw SqlError("Il campo '" + name + "' compare più volte nell'istruzione INSERT.");
        }
      }
      targets.push_back(index);
    }
  }
  Row row(table.columns.size());
  Scope noTables;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const ColumnInfo& column = table.columns[static_cast<std::size_t>(targets[i])];
    BoundPtr value = engine.Bind(*insert.values[i], noTables, false);
    row[static_cast<std::size_t>(targets[i])] =
        CoerceForColumn(engine.Evaluate(*value, Frame{}), column);
  }
  return WriteAll(store, [&] {
    store.InsertRow(table, std::move(row));
    return std::int64_t{1};
  });
}

std::int64_t Update(const UpdateStatement& update, TableStore& store) {
  QueryEngine engine(store);
  Scope scope = SingleTableScope(engine, update.table);
  const TableInfo& table = scope.sources[0].info;
  std::vector<std::pair<int, BoundPtr>> assignments;
  for (const Assignment& assignment : update.assignments) {
    int index = ColumnIndex(table, assignment.column);
    assignments.emplace_back(index, engine.Bind(*assignment.value, scope, false));
  }
  std::vector<const StoredRow*> matches = MatchingRows(engine, scope, update.where.get());
  // Every new row is computed (and checked) from the old rows before the first write.
  std::vector<std::pair<RowId, Row>> changed;
  std::vector<const Row*> tuple(1);
  for (const StoredRow* row : matches) {
    tuple[0] = &row->values;
    Frame frame{&tuple, nullptr};
    Row values = row->values;
    for (const auto& [index, value] : assignments) {
      values[static_cast<std::size_t>(index)] = CoerceForColumn(
          engine.Evaluate(*value, frame), table.columns[static_cast<std::size_t>(index)]);
    }
    changed.emplace_back(row->id, std::move(values));
  }
  return WriteAll(store, [&] {
    for (auto& [id, values] : changed) store.UpdateRow(table, id, std::move(values));
    return static_cast<std::int64_t>(changed.size());
  });
}

std::int64_t Delete(const DeleteStatement& del, TableStore& store) {
  QueryEngine engine(store);
  Scope scope = SingleTableScope(engine, del.table);
  std::vector<const StoredRow*> matches = MatchingRows(engine, scope, del.where.get());
  return WriteAll(store, [&] {
    for (const StoredRow* row : matches) store.DeleteRow(scope.sources[0].info, row->id);
    return static_cast<std::int64_t>(matches.size());
  });
}

std::int64_t CreateTable(const CreateTableStatement& create, TableStore& store) {
  if (store.FindTable(create.table)) {
    throw SqlError("La tabella '" + create.table + "' esiste già.");
  }
  TableInfo table;
  table.name = create.table;
  for (const NewColumnDefinition& definition : create.columns) {
    for (const ColumnInfo& earlier : table.columns) {
      if (SameName(earlier.name, definition.name)) {
        throw SqlError("Il campo '" + definition.name + "' è definito più volte.");
      }
    }
    if (definition.primaryKey) {
      if (!table.primaryKey.empty()) throw SqlError("La tabella ha già una chiave primaria.");
      table.primaryKey.push_back(static_cast<int>(table.columns.size()));
    }
    ColumnInfo column;
    column.name = definition.name;
    column.type = ColumnType::Long;
    table.columns.push_back(std::move(column));
  }
  return WriteAll(store, [&] {
    store.CreateTable(table);
    return std::int64_t{0};
  });
}

}  // namespace

QueryResult RunQuery(const SelectStatement& select, const TableReader& store) {
  QueryEngine engine(store);
  return engine.Run(select, nullptr, nullptr);
}

std::int64_t RunCommand(const Statement& statement, TableStore& store) {
  if (const auto* insert = std::get_if<InsertStatement>(&statement)) return Insert(*insert, store);
  if (const auto* update = std::get_if<UpdateStatement>(&statement)) return Update(*update, store);
  if (const auto* del = std::get_if<DeleteStatement>(&statement)) return Delete(*del, store);
  if (const auto* create = std::get_if<CreateTableStatement>(&statement)) {
    return CreateTable(*create, store);
  }
  throw SqlError("Una query SELECT non modifica dati: va aperta come recordset.");
}

}  // namespace Sql
