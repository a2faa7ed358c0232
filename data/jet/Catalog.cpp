#include "data/jet/Catalog.h"

#include "data/jet/JetError.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/TableScan.h"

namespace Jet {
namespace {

namespace C = Format::Catalog;

struct CatalogRow {
  std::int32_t id = 0;
  std::int32_t parentId = 0;
  std::int16_t type = 0;
  std::uint32_t flags = 0;
  std::u16string name;
};

std::size_t ColumnPosition(const TableDefinition& objects, const char16_t* name,
                           std::uint8_t typeCode) {
  for (std::size_t i = 0; i < objects.columns.size(); ++i) {
    if (NamesEqual(objects.columns[i].name, name)) {
      if (objects.columns[i].typeCode != typeCode) break;
      return i;
    }
  }
  std::u16string wide(name);
  ThrowCorrupt("MSysObjects has no usable column " + std::string(wide.begin(), wide.end()));
}

}  // namespace

bool CatalogTable::IsSystem() const {
  return (flags & (C::kFlagJetSystem | C::kFlagAccessSystem)) != 0;
}

std::vector<CatalogTable> ReadCatalog(const PageSource& source) {
  TableDefinition objects = ReadTableDefinition(source, C::kMSysObjectsPage);
  std::size_t idColumn = ColumnPosition(objects, u"Id", Format::kTypeLong);
  std::size_t parentColumn = ColumnPosition(objects, u"ParentId", Format::kTypeLong);
  std::size_t nameColumn = ColumnPosition(objects, u"Name", Format::kTypeText);
  std::size_t typeColumn = ColumnPosition(objects, u"Type", Format::kTypeInteger);
  std::size_t flagsColumn = ColumnPosition(objects, u"Flags", Format::kTypeLong);

  std::vector<CatalogRow> rows;
  TableScan scan(source, objects);
  std::vector<Value> values;
  while (scan.Next(values)) {
    const Value& id = values[idColumn];
    const Value& parent = values[parentColumn];
    const Value& name = values[nameColumn];
    const Value& type = values[typeColumn];
    if (!id.Is<std::int32_t>() || !parent.Is<std::int32_t>() || !name.Is<std::u16string>() ||
        !type.Is<std::int16_t>()) {
      continue;  // not an object the catalogue can name
    }
    CatalogRow row;
    row.id = id.As<std::int32_t>();
    row.parentId = parent.As<std::int32_t>();
    row.type = type.As<std::int16_t>();
    row.name = name.As<std::u16string>();
    const Value& flags = values[flagsColumn];
    if (flags.Is<std::int32_t>()) row.flags = static_cast<std::uint32_t>(flags.As<std::int32_t>());
    rows.push_back(std::move(row));
  }

  const CatalogRow* tablesContainer = nullptr;
  for (const CatalogRow& row : rows) {
    if (row.parentId == C::kRootContainerId && row.type == C::kTypeContainer &&
        NamesEqual(row.name, u"Tables")) {
      tablesContainer = &row;
      break;
    }
  }
  if (tablesContainer == nullptr) ThrowCorrupt("MSysObjects has no \"Tables\" container");

  std::vector<CatalogTable> tables;
  for (const CatalogRow& row : rows) {
    if (row.parentId != tablesContainer->id || row.type != C::kTypeLocalTable) continue;
    // A table whose definition page is missing fails when it is read, not the catalogue.
    if (row.id <= 0) ThrowCorrupt("MSysObjects lists a table on page " + std::to_string(row.id));
    tables.push_back(CatalogTable{row.name, static_cast<std::uint32_t>(row.id), row.flags});
  }
  return tables;
}

}  // namespace Jet
