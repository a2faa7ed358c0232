#include "data/jet/WritableDatabase.h"

#include "data/jet/JetError.h"
#include "data/jet/TableCreator.h"

namespace Jet {
namespace {
// MSysACEs' TDEF page in every Jet 4 database.
constexpr std::uint32_t kMSysACEsPage = 3;
}  // namespace

WritableDatabase WritableDatabase::Open(const std::filesystem::path& path) {
  return WritableDatabase(PageStore::Load(path));
}

WritableDatabase::WritableDatabase(PageStore store)
    : store_(std::make_unique<PageStore>(std::move(store))),
      reader_(std::make_unique<Database>(std::make_unique<BorrowedPageSource>(*store_))) {}

void WritableDatabase::BeginWrites() {
  if (inWrites_) throw JetError(JetErrorKind::kUnsupportedWrite, "writes are already begun");
  inWrites_ = true;
}

void WritableDatabase::CommitWrites() {
  try {
    for (auto& writer : writers_) writer.second->Flush();
    store_->Commit();
    RefreshReader();
  } catch (const JetError& error) {
    RollbackWrites();
    // Another copy committed since this one loaded the file: the next statement must start
    // from the file as it is now, or it would be refused again (and again).
    if (error.Kind() == JetErrorKind::kChangedElsewhere) Reload();
    throw;
  } catch (...) {
    RollbackWrites();
    throw;
  }
  inWrites_ = false;
}

void WritableDatabase::RollbackWrites() {
  store_->Rollback();
  // The writers' pictures of rows and keys may hold the forgotten changes.
  writers_.clear();
  inWrites_ = false;
  RefreshReader();
}

void WritableDatabase::Reload() {
  std::filesystem::path path = store_->Path();
  *store_ = PageStore::Load(path);
  writers_.clear();
  RefreshReader();
}

void WritableDatabase::BeginStatement() {
  if (inWrites_) throw JetError(JetErrorKind::kUnsupportedWrite, "a statement began within writes");
  if (store_->Hold()) {
    writers_.clear();
    RefreshReader();
  }
}

void WritableDatabase::RefreshReader() {
  reader_ = std::make_unique<Database>(std::make_unique<BorrowedPageSource>(*store_));
}

TableWriter& WritableDatabase::WriterOf(std::uint32_t definitionPage) {
  auto found = writers_.find(definitionPage);
  if (found == writers_.end()) {
    found = writers_
                .emplace(definitionPage, std::make_unique<TableWriter>(
                                             *store_, ReadTableDefinition(*store_, definitionPage)))
                .first;
  }
  return *found->second;
}

TableWriter& WritableDatabase::Writer(const std::u16string& table) {
  TableDefinition definition = reader_->ReadTable(table);
  if (definition.tableType != Format::Tdef::kUserTable) {
    throw JetError(JetErrorKind::kUnsupportedWrite, "system tables are not written by the engine");
  }
  auto found = writers_.find(definition.definitionPage);
  if (found == writers_.end()) {
    found = writers_
                .emplace(definition.definitionPage,
                         std::make_unique<TableWriter>(*store_, std::move(definition)))
                .first;
  }
  return *found->second;
}

template <typename Write>
auto WritableDatabase::Run(Write write) {
  if (inWrites_) return write();
  inWrites_ = true;
  try {
    auto result = write();
    CommitWrites();
    return result;
  } catch (...) {
    RollbackWrites();
    throw;
  }
}

RowPointer WritableDatabase::InsertRow(const std::u16string& table, std::vector<Value> values) {
  return Run([&] { return Writer(table).Insert(std::move(values)); });
}

void WritableDatabase::UpdateRow(const std::u16string& table, const RowPointer& row,
                                 std::vector<Value> values) {
  Run([&] {
    Writer(table).Update(row, std::move(values));
    return 0;
  });
}

void WritableDatabase::DeleteRow(const std::u16string& table, const RowPointer& row) {
  Run([&] {
    Writer(table).Delete(row);
    return 0;
  });
}

void WritableDatabase::CreateTable(const NewTable& table, double creationDate) {
  Run([&] {
    for (const CatalogTable& existing : reader_->AllTables()) {
      if (NamesEqual(existing.name, table.name))
        throw JetError(JetErrorKind::kInvalidValue, "a table of that name exists");
    }
    Jet::CreateTable(*store_, WriterOf(Format::Catalog::kMSysObjectsPage), WriterOf(kMSysACEsPage),
                     table, creationDate);
    RefreshReader();
    return 0;
  });
}

}  // namespace Jet
