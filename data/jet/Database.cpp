#include "data/jet/Database.h"

namespace Jet {

Database Database::OpenFile(const std::filesystem::path& path) {
  return Database(std::make_unique<FilePageSource>(path));
}

Database::Database(std::unique_ptr<PageSource> source)
    : source_(std::move(source)), header_(ReadDatabaseHeader(*source_)), catalog_(ReadCatalog(*source_)) {}

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
