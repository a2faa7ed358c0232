#include "data/sql/TableStore.h"

namespace Sql {

namespace {

class MemoryCursor : public RowCursor {
 public:
  explicit MemoryCursor(std::vector<std::pair<RowId, Row>> rows) : rows_(std::move(rows)) {}
  bool Next() override {
    if (next_ >= rows_.size()) return false;
    current_ = next_++;
    return true;
  }
  RowId Id() const override { return rows_[current_].first; }
  Value Column(std::size_t index) override {
    const Row& row = rows_[current_].second;
    return index < row.size() ? row[index] : Value::Null();
  }

 private:
  std::vector<std::pair<RowId, Row>> rows_;
  std::size_t next_ = 0;
  std::size_t current_ = 0;
};

}  // namespace

std::unique_ptr<RowCursor> CursorOverRows(std::vector<std::pair<RowId, Row>> rows) {
  return std::make_unique<MemoryCursor>(std::move(rows));
}

std::unique_ptr<RowCursor> TableReader::OpenCursor(const TableInfo& table) const {
  std::vector<std::pair<RowId, Row>> rows;
  ScanRows(table, [&](RowId id, Row&& values) { rows.emplace_back(id, std::move(values)); });
  return CursorOverRows(std::move(rows));
}

}  // namespace Sql
