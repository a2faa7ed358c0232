#include "data/jet/Database.h"

#include "data/jet/Journal.h"

namespace Jet {
namespace {

// The bytes of a whole file, read in one go under the writer lock.
class ImagePageSource : public PageSource {
 public:
  explicit ImagePageSource(std::vector<std::uint8_t> bytes)
      : bytes_(std::move(bytes)), view_(bytes_.data(), bytes_.size()) {}
  std::uint64_t ByteSize() const override { return view_.ByteSize(); }
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* out, std::size_t length) const override {
    return view_.ReadAt(offset, out, length);
  }

 private:
  std::vector<std::uint8_t> bytes_;
  MemoryPageSource view_;
};

}  // namespace

Database Database::OpenFile(const std::filesystem::path& path) {
  // Read whole under the lock, after rolling back a cut-short commit: a reader never sees
  // another copy's commit half-way. A file that can only be read is read under the shared
  // lock, unless a journal says a commit was cut short there (ReadCommitted refuses it).
  std::vector<std::uint8_t> bytes;
  {
    WriterLock lock(path, LockAccess::kWriteOrRead);
    bytes = ReadCommitted(path, lock);
  }
  return Database(std::make_unique<ImagePageSource>(std::move(bytes)));
}

Database::Database(std::unique_ptr<PageSource> source)
    : source_(std::move(source)),
      header_(ReadDatabaseHeader(*source_)),
      catalog_(ReadCatalog(*source_)) {}

std::vector<CatalogTable> Database::UserTables() const {
  std::vector<CatalogTable> tables;
  for (const CatalogTable& table : catalog_) {
    if (!table.IsSystem()) tables.push_back(table);
  }
  return tables;
}

TableDefinition Database::ReadTable(const CatalogTable& table) const {
  TableDefinition definition = ReadTableDefinition(*source_, table.definitionPage);
  definition.name = table.name;
  return definition;
}

TableDefinition Database::ReadTable(const std::u16string& name) const {
  for (const CatalogTable& table : catalog_) {
    if (NamesEqual(table.name, name)) return ReadTable(table);
  }
  std::string printable;
  for (char16_t c : name) printable += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
  throw JetError(JetErrorKind::kNotFound, "no table named \"" + printable + "\"");
}

}  // namespace Jet
