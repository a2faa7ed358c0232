#include "data/jet/TableCreator.h"

#include <set>

#include "data/jet/DataPageWriter.h"
#include "data/jet/IndexPageWriter.h"
#include "data/jet/JetError.h"
#include "data/jet/RowDecoder.h"
#include "data/jet/TableDefinitionWriter.h"
#include "data/jet/TableScan.h"
#include "data/jet/UsageMapWriter.h"

namespace Jet {
namespace {

namespace F = Format;
namespace C = Format::Catalog;

constexpr std::int32_t kFullRights = 0xFFFFF;
constexpr std::uint8_t kFlagUpdatable = 0x02;
constexpr std::uint8_t kPrimaryKeyFlags =
    F::Tdef::kIndexFlagUnique | F::Tdef::kIndexFlagRequired | 0x80;
constexpr std::size_t kMaxColumns = 255;

struct TypeInfo {
  std::uint8_t code;
  std::uint16_t length;
  bool fixed;
};

TypeInfo InfoOf(const NewColumn& column) {
  switch (column.type) {
    case NewColumnType::kLong:
    case NewColumnType::kAutoNumber: return {F::kTypeLong, 4, true};
    case NewColumnType::kInteger: return {F::kTypeInteger, 2, true};
    case NewColumnType::kByte: return {F::kTypeByte, 1, true};
    case NewColumnType::kCurrency: return {F::kTypeCurrency, 8, true};
    case NewColumnType::kDouble: return {F::kTypeDouble, 8, true};
    case NewColumnType::kDateTime: return {F::kTypeDateTime, 8, true};
    case NewColumnType::kBoolean: return {F::kTypeBoolean, 1, true};
    case NewColumnType::kText:
      return {F::kTypeText, static_cast<std::uint16_t>(2 * column.maxCharacters), false};
    case NewColumnType::kMemo: return {F::kTypeMemo, 0, false};
  }
  return {0, 0, false};
}

[[noreturn]] void Refuse(const std::string& why) {
  throw JetError(JetErrorKind::kInvalidValue, "cannot create the table: " + why);
}

std::size_t Position(const TableDefinition& table, const char16_t* name) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (NamesEqual(table.columns[i].name, name)) return i;
  }
  ThrowCorrupt("a system table lacks an expected column");
}

// Raw bytes of `column` in every row of `table` for which `match` says yes.
template <typename Match>
std::vector<std::vector<std::uint8_t>> RawColumnOfRows(const PageStore& store,
                                                       const TableDefinition& table,
                                                       const char16_t* column, Match match) {
  std::vector<std::vector<std::uint8_t>> found;
  TableScan scan(store, table);
  std::vector<Value> values;
  std::size_t position = Position(table, column);
  while (scan.Next(values)) {
    if (!match(values)) continue;
    RowLayout layout(table, scan.CurrentRowBytes());
    ByteView bytes;
    if (layout.ColumnBytes(table.columns[position], bytes))
      found.emplace_back(bytes.Data(), bytes.Data() + bytes.Size());
  }
  return found;
}

}  // namespace

std::uint32_t CreateTable(PageStore& store, TableWriter& objects, TableWriter& aces,
                          const NewTable& request, double creationDate) {
  if (request.name.empty() || request.name.size() > 64)
    Refuse("a table name has 1 to 64 characters");
  if (request.columns.empty() || request.columns.size() > kMaxColumns)
    Refuse("a table has 1 to 255 columns");
  std::set<std::u16string> names;
  int primaryKey = -1;
  for (std::size_t i = 0; i < request.columns.size(); ++i) {
    const NewColumn& column = request.columns[i];
    std::u16string folded;
    for (char16_t c : column.name)
      folded += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    if (column.name.empty() || column.name.size() > 64 || !names.insert(folded).second)
      Refuse("column names must be unique, 1 to 64 characters");
    if (column.type == NewColumnType::kText &&
        (column.maxCharacters < 1 || column.maxCharacters > 255))
      Refuse("Text holds 1 to 255 characters");
    if (!request.primaryKey.empty() && NamesEqual(column.name, request.primaryKey))
      primaryKey = static_cast<int>(i);
  }
  if (!request.primaryKey.empty()) {
    if (primaryKey < 0) Refuse("the primary key names no column");
    NewColumnType type = request.columns[static_cast<std::size_t>(primaryKey)].type;
    if (type == NewColumnType::kMemo || type == NewColumnType::kDouble ||
        type == NewColumnType::kDateTime || type == NewColumnType::kBoolean ||
        type == NewColumnType::kCurrency) {
      Refuse("the engine keeps primary keys on Long, Integer, Byte and Text columns only");
    }
  }

  std::uint32_t tdefPage = AllocatePage(store);
  std::uint32_t mapPage = AllocatePage(store);
  TableLayout layout;
  layout.tableType = F::Tdef::kUserTable;
  layout.maxColumns = static_cast<std::uint16_t>(request.columns.size());
  std::uint16_t fixedOffset = 0;
  std::uint16_t variableSlot = 0;
  for (std::size_t i = 0; i < request.columns.size(); ++i) {
    const NewColumn& column = request.columns[i];
    TypeInfo info = InfoOf(column);
    ColumnLayout out;
    out.name = column.name;
    out.typeCode = info.code;
    out.number = static_cast<std::uint16_t>(i);
    out.ordinal = static_cast<std::uint16_t>(i);
    out.length = info.length;
    out.flags = kFlagUpdatable | (info.fixed ? F::Tdef::kFlagFixedLength : 0) |
                (column.type == NewColumnType::kAutoNumber ? F::Tdef::kFlagAutoNumber : 0);
    out.extraFlags = column.type == NewColumnType::kText ? F::Tdef::kExtraFlagCompressedText : 0;
    if (info.fixed && info.code != F::kTypeBoolean) {
      out.fixedOffset = fixedOffset;
      fixedOffset = static_cast<std::uint16_t>(fixedOffset + info.length);
    } else if (!info.fixed) {
      out.variableSlot = variableSlot++;
    }
    layout.columns.push_back(out);
  }
  layout.variableColumns = variableSlot;

  // The usage-map page: owned, free space, each Memo column's pair, each index's map.
  PageBuffer& maps = store.MutablePage(mapPage);
  InitDataPage(maps, 0);
  std::vector<std::uint8_t> emptyMap(F::UsageMap::kInlineRowSize, 0);
  auto addMap = [&]() {
    return RowPointer{mapPage,
                      AddRow(store.MutablePage(mapPage), emptyMap.data(), emptyMap.size(), 0)};
  };
  layout.ownedPages = addMap();
  layout.freeSpacePages = addMap();
  for (const ColumnLayout& column : layout.columns) {
    if (column.typeCode != F::kTypeMemo) continue;
    LongValueMapLayout pair;
    pair.column = column.number;
    pair.ownedPages = addMap();
    pair.freeSpacePages = addMap();
    layout.longValueMaps.push_back(pair);
  }
  if (primaryKey >= 0) {
    RealIndexLayout index;
    index.slots[0] =
        IndexSlotLayout{static_cast<std::uint16_t>(primaryKey), F::Tdef::kIndexAscending};
    index.usageMap = addMap();
    index.rootPage = AllocatePage(store);
    index.flags = kPrimaryKeyFlags;
    SetPageInMap(store, index.usageMap, index.rootPage, true);
    layout.realIndexes.push_back(index);
    layout.indexes.push_back(
        LogicalIndexLayout{u"PrimaryKey", 0, 0, F::Tdef::kIndexKindPrimaryKey});
  }
  WriteTableDefinition(store, tdefPage, EncodeTableDefinition(layout));
  TableDefinition written = ReadTableDefinition(store, tdefPage);
  for (const RealIndexDefinition& index : written.realIndexes)
    WriteIndexTree(store, tdefPage, index, {});

  // Catalogue row, owned like the database object; access rows like the Tables container's.
  const TableDefinition& o = objects.Definition();
  std::vector<std::vector<std::uint8_t>> owner =
      RawColumnOfRows(store, o, u"Owner", [&](const std::vector<Value>& row) {
        const Value& name = row[Position(o, u"Name")];
        return name.Is<std::u16string>() && NamesEqual(name.As<std::u16string>(), u"MSysDb");
      });
  std::vector<Value> values(o.columns.size());
  std::vector<std::optional<std::vector<std::uint8_t>>> raw(o.columns.size());
  values[Position(o, u"Id")] = Value(static_cast<std::int32_t>(tdefPage));
  values[Position(o, u"ParentId")] = Value(C::kTablesContainerId);
  values[Position(o, u"Name")] = Value(request.name);
  values[Position(o, u"Type")] = Value(C::kTypeLocalTable);
  values[Position(o, u"DateCreate")] = Value(DateTime{creationDate});
  values[Position(o, u"DateUpdate")] = Value(DateTime{creationDate});
  values[Position(o, u"Flags")] = Value(std::int32_t{0});
  if (!owner.empty()) raw[Position(o, u"Owner")] = owner.front();
  objects.Insert(values, raw);

  const TableDefinition& a = aces.Definition();
  std::vector<std::vector<std::uint8_t>> sids =
      RawColumnOfRows(store, a, u"SID", [&](const std::vector<Value>& row) {
        const Value& id = row[Position(a, u"ObjectId")];
        return id.Is<std::int32_t>() && id.As<std::int32_t>() == C::kTablesContainerId;
      });
  for (const auto& sid : sids) {
    std::vector<Value> ace(a.columns.size());
    std::vector<std::optional<std::vector<std::uint8_t>>> aceRaw(a.columns.size());
    ace[Position(a, u"ObjectId")] = Value(static_cast<std::int32_t>(tdefPage));
    ace[Position(a, u"ACM")] = Value(kFullRights);
    ace[Position(a, u"FInheritable")] = Value(false);
    aceRaw[Position(a, u"SID")] = sid;
    aces.Insert(ace, aceRaw);
  }
  return tdefPage;
}

}  // namespace Jet
