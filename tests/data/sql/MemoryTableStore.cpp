#include "tests/data/sql/MemoryTableStore.h"

#include <stdexcept>

#include "data/sql/SqlError.h"
#include "data/sql/SqlLexer.h"
#include "data/sql/ValueOperations.h"

using namespace Sql;

void MemoryTableStore::AddTable(TableInfo table) {
  std::string key = UpperCase(table.name);
  tables_[key].info = std::move(table);
}

void MemoryTableStore::AddUniqueColumn(const std::string& table, const std::string& column) {
  Table& t = TableNamed(table);
  for (std::size_t i = 0; i < t.info.columns.size(); ++i) {
    if (SameName(t.info.columns[i].name, column)) t.uniqueColumns.push_back(static_cast<int>(i));
  }
}

MemoryTableStore::Table& MemoryTableStore::TableNamed(const std::string& name) {
  auto found = tables_.find(UpperCase(name));
  if (found == tables_.end()) throw std::logic_error("no table " + name);
  return found->second;
}

std::optional<TableInfo> MemoryTableStore::FindTable(const std::string& name) const {
  auto found = tables_.find(UpperCase(name));
  if (found == tables_.end()) return std::nullopt;
  return found->second.info;
}

namespace {

class MapCursor : public Sql::RowCursor {
 public:
  explicit MapCursor(const std::map<RowId, Row>& rows) : rows_(rows), next_(rows.begin()) {}
  bool Next() override {
    if (next_ == rows_.end()) return false;
    current_ = next_++;
    return true;
  }
  RowId Id() const override { return current_->first; }
  Value Column(std::size_t index) override {
    return index < current_->second.size() ? current_->second[index] : Value::Null();
  }

 private:
  const std::map<RowId, Row>& rows_;
  std::map<RowId, Row>::const_iterator next_;
  std::map<RowId, Row>::const_iterator current_;
};

}  // namespace

std::unique_ptr<Sql::RowCursor> MemoryTableStore::OpenCursor(const TableInfo& table) const {
  return std::make_unique<MapCursor>(tables_.at(UpperCase(table.name)).rows);
}

void MemoryTableStore::ScanRows(const TableInfo& table,
                                const std::function<void(RowId, Row&&)>& visit) const {
  const Table& t = tables_.at(UpperCase(table.name));
  for (const auto& [id, row] : t.rows) {
    Row copy = row;
    visit(id, std::move(copy));
  }
}

void MemoryTableStore::BeginWrites() {
  if (writing_) throw std::logic_error("writes already begun");
  saved_ = tables_;
  writing_ = true;
}

void MemoryTableStore::CheckUnique(const Table& table, const Row& row, RowId self) const {
  for (int column : table.uniqueColumns) {
    const Value& v = row[static_cast<std::size_t>(column)];
    if (v.IsNull()) continue;
    for (const auto& [id, other] : table.rows) {
      if (id != self && !other[static_cast<std::size_t>(column)].IsNull() &&
          CompareValues(other[static_cast<std::size_t>(column)], v) == 0) {
        throw SqlError("Valori duplicati nell'indice univoco.");
      }
    }
  }
}

void MemoryTableStore::LoadRow(const std::string& table, Row row) {
  bool writing = writing_;
  writing_ = true;
  InsertRow(*FindTable(table), std::move(row));
  writing_ = writing;
}

void MemoryTableStore::InsertRow(const TableInfo& table, Row row) {
  if (!writing_) throw std::logic_error("insert outside writes");
  Table& t = TableNamed(table.name);
  row.resize(t.info.columns.size());
  for (std::size_t i = 0; i < t.info.columns.size(); ++i) {
    if (t.info.columns[i].autoNumber && row[i].IsNull()) {
      row[i] = Value::Integer(t.nextAutoNumber++);
    }
  }
  CheckUnique(t, row, 0);
  t.rows.emplace(t.nextRowId++, std::move(row));
}

void MemoryTableStore::UpdateRow(const TableInfo& table, RowId id, Row row) {
  if (!writing_) throw std::logic_error("update outside writes");
  Table& t = TableNamed(table.name);
  CheckUnique(t, row, id);
  t.rows.at(id) = std::move(row);
}

void MemoryTableStore::DeleteRow(const TableInfo& table, RowId id) {
  if (!writing_) throw std::logic_error("delete outside writes");
  TableNamed(table.name).rows.erase(id);
}

void MemoryTableStore::CreateTable(const TableInfo& table) {
  if (!writing_) throw std::logic_error("create outside writes");
  AddTable(table);
}

void MemoryTableStore::CommitWrites() {
  saved_.clear();
  writing_ = false;
}

void MemoryTableStore::RollbackWrites() {
  tables_ = saved_;
  saved_.clear();
  writing_ = false;
}

std::size_t MemoryTableStore::RowCount(const std::string& table) const {
  return tables_.at(UpperCase(table)).rows.size();
}

void AddProgramTables(MemoryTableStore& store) {
  using T = Sql::ColumnType;
  // Each table's primary key is its ID, the first column.
  store.AddTable({"VEICOLO",
                  {{"ID", T::Long, true, 0},
                   {"TARGA", T::Text, false, 50},
                   {"DESCRIZIONE", T::Text, false, 255},
                   {"KM", T::Long, false, 0},
                   {"DATA_KM", T::DateTime, false, 0}},
                  {0}});
  store.AddTable({"INTERVENTI",
                  {{"ID", T::Long, true, 0},
                   {"INTERVENTO", T::Text, false, 255},
                   {"CADENZAKM", T::Long, false, 0},
                   {"NOTE", T::Memo, false, 0},
                   {"FINERODAGGIO", T::Boolean, false, 0}},
                  {0}});
  store.AddTable({"INTERVENTI_VEICOLO",
                  {{"ID", T::Long, true, 0},
                   {"ID_VEICOLO", T::Long, false, 0},
                   {"ID_INTERVENTO", T::Long, false, 0},
                   {"KM", T::Long, false, 0},
                   {"DATA", T::DateTime, false, 0},
                   {"COSTO", T::Double, false, 0},
                   {"NOTE", T::Memo, false, 0}},
                  {0}});
}
