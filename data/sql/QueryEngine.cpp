// The tables a statement reads. Each table is looked up by name. A step that needs all of
// its rows at once has them read once per statement (one QueryEngine), cached under the
// upper-cased name and kept in primary-key order, so they stay put while the engine
// lives; a step that can look at one row at a time streams them instead, so a large
// table is never held whole. Within one FROM clause no two sources share a name.
#include "data/sql/QueryEngine.h"

#include <algorithm>

#include "data/sql/QueryInternals.h"
#include "data/sql/SqlError.h"
#include "data/sql/SqlLexer.h"

namespace Sql {

namespace {

const char kUnknownTable[] =
    "Impossibile trovare la tabella o la query di input '%s'. Verificare che esista e che il "
    "nome sia digitato correttamente.";

std::string Format(const char* pattern, const std::string& name) {
  std::string text = pattern;
  return text.replace(text.find("%s"), 2, name);
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

namespace {

class KeptRowsCursor : public RowCursor {
 public:
  explicit KeptRowsCursor(const std::vector<StoredRow>& rows) : rows_(rows) {}
  bool Next() override {
    if (next_ >= rows_.size()) return false;
    current_ = next_++;
    return true;
  }
  RowId Id() const override { return rows_[current_].id; }
  Value Column(std::size_t index) override { return rows_[current_].values[index]; }

 private:
  const std::vector<StoredRow>& rows_;
  std::size_t next_ = 0;
  std::size_t current_ = 0;
};

}  // namespace

std::unique_ptr<RowCursor> QueryEngine::OpenCursor(const TableInfo& table) {
  auto found = rowsByTable_.find(UpperCase(table.name));
  if (found != rowsByTable_.end()) return std::make_unique<KeptRowsCursor>(*found->second);
  return store_.OpenCursor(table);
}

Source QueryEngine::MakeSource(const TableRef& ref) {
  Source source;
  source.info = FindTable(ref.table);
  source.name = ref.alias.empty() ? ref.table : ref.alias;
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

}  // namespace Sql
