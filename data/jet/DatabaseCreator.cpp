#include "data/jet/DatabaseCreator.h"

#include <cmath>
#include <cstring>

#include "data/jet/DataPageWriter.h"
#include "data/jet/IndexPageWriter.h"
#include "data/jet/JetError.h"
#include "data/jet/Rc4.h"
#include "data/jet/SystemTables.h"
#include "data/jet/TableDefinition.h"
#include "data/jet/TableWriter.h"

namespace Jet {
namespace {

namespace H = Format::Header;
namespace C = Format::Catalog;
namespace M = Format::UsageMap;

constexpr std::uint32_t kPageCount = 16;
constexpr std::uint32_t kMapsPage = 6;
constexpr std::uint32_t kObjectsRowsPage = 14;
constexpr std::uint32_t kAcesRowsPage = 15;

// Ids of the catalogue's containers and database object.
constexpr std::int32_t kDatabasesContainer = 0x0F000002;
constexpr std::int32_t kRelationshipsContainer = 0x0F000003;
constexpr std::int32_t kMSysDbId = 0x10000000;
constexpr std::int16_t kTypeDatabase = 2;

double FromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

void Put16(PageBuffer& page, std::size_t at, std::uint16_t value) {
  page[at] = static_cast<std::uint8_t>(value);
  page[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(PageBuffer& page, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) page[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void WriteHeader(PageBuffer& page, const NewDatabaseFacts& facts) {
  page.fill(0);
  std::memcpy(page.data(), H::kSignature, sizeof H::kSignature);
  std::memcpy(page.data() + H::kEngineName, H::kJetEngineName, sizeof H::kJetEngineName);
  page[H::kVersion] = H::kVersionJet4;
  std::memcpy(page.data() + H::kObfuscatedStart, H::kObfuscatedStartBytes,
              sizeof H::kObfuscatedStartBytes);
  Put16(page, H::kCodePage, H::kCodePage1252);
  // No password: the password field holds just its mask, the whole days of the creation
  // date repeated.
  std::uint32_t mask =
      static_cast<std::uint32_t>(static_cast<std::int32_t>(std::floor(facts.headerCreationDate)));
  for (std::size_t i = 0; i < H::kPasswordSize; i += 4) Put32(page, H::kPassword + i, mask);
  Put16(page, H::kFileWord, facts.headerWord6A);
  Put16(page, H::kSortOrder, Format::kSortOrderGeneral);
  std::memcpy(page.data() + H::kCreationDate, &facts.headerCreationDate, sizeof(double));
  Put32(page, H::kRelease, H::kReleaseJet4);
  std::memcpy(page.data() + H::kVersionText, H::kVersionTextJet4, sizeof H::kVersionTextJet4);
  for (std::size_t word = 0; word < H::kWordTableCount; ++word) {
    Put16(page, H::kWordTable + 2 * word, word == 0 ? H::kWordTableFirst : H::kWordTableOther);
  }
  ApplyRc4(H::kRc4Key, sizeof H::kRc4Key, page.data() + H::kObfuscatedStart, H::kObfuscatedSize);
}

std::vector<std::uint8_t> InlineMap(std::initializer_list<std::uint32_t> pages, bool inverted,
                                    std::uint32_t inUse) {
  std::vector<std::uint8_t> row(M::kInlineRowSize, 0);
  auto mark = [&row](std::uint32_t page) {
    row[M::kInlineBitmap + page / 8] |= static_cast<std::uint8_t>(1u << (page % 8));
  };
  if (inverted) {
    for (std::uint32_t page = inUse; page < (M::kInlineRowSize - M::kInlineBitmap) * 8; ++page) {
      mark(page);
    }
  }
  for (std::uint32_t page : pages) mark(page);
  return row;
}

// Usage-map rows of page 6, in row order: per table owned and free-space pages, the
// Memo/OLE columns' pairs, then one row per real index.
void WriteMapsPage(PageBuffer& page) {
  InitDataPage(page, 0);
  std::vector<std::vector<std::uint8_t>> rows;
  rows.push_back(InlineMap({kObjectsRowsPage}, false, 0));               // MSysObjects owned
  rows.push_back(InlineMap({kObjectsRowsPage}, false, 0));               // MSysObjects free space
  for (int i = 0; i < 14; ++i) rows.push_back(InlineMap({}, false, 0));  // its 7 Memo/OLE columns
  rows.push_back(InlineMap({7}, false, 0));                              // ParentIdName
  rows.push_back(InlineMap({8}, false, 0));                              // Id
  rows.push_back(InlineMap({kAcesRowsPage}, false, 0));                  // MSysACEs owned
  rows.push_back(InlineMap({kAcesRowsPage}, false, 0));                  // MSysACEs free space
  rows.push_back(InlineMap({9}, false, 0));                              // ObjectId
  // MSysQueries maps, Expression
  for (int i = 0; i < 4; ++i) rows.push_back(InlineMap({}, false, 0));
  rows.push_back(InlineMap({10}, false, 0));  // ObjectIdAttribute
  rows.push_back(InlineMap({}, false, 0));    // MSysRelationships owned
  rows.push_back(InlineMap({}, false, 0));    // MSysRelationships free space
  for (std::uint32_t root : {11u, 12u, 13u}) rows.push_back(InlineMap({root}, false, 0));
  for (const auto& row : rows) AddRow(page, row.data(), row.size(), 0);
}

struct ObjectRow {
  std::int32_t id;
  std::int32_t parentId;
  const char16_t* name;
  std::int16_t type;
  bool adminOwned;
};

// The catalogue of a new database, in the order Jet stores it.
constexpr ObjectRow kObjects[] = {
    {C::kTablesContainerId, C::kRootContainerId, u"Tables", C::kTypeContainer, false},
    {kDatabasesContainer, C::kRootContainerId, u"Databases", C::kTypeContainer, false},
    {kRelationshipsContainer, C::kRootContainerId, u"Relationships", C::kTypeContainer, false},
    {kMSysDbId, kDatabasesContainer, u"MSysDb", kTypeDatabase, true},
    {2, C::kTablesContainerId, u"MSysObjects", C::kTypeLocalTable, false},
    {3, C::kTablesContainerId, u"MSysACEs", C::kTypeLocalTable, false},
    {4, C::kTablesContainerId, u"MSysQueries", C::kTypeLocalTable, false},
    {5, C::kTablesContainerId, u"MSysRelationships", C::kTypeLocalTable, false},
};

// Roles of the SIDs in access-control rows: the Admin user, the Users group, the
// creator-owner entry of containers, and the engine (owner of the system objects).
enum class Sid { kAdmin, kUsers, kCreator, kEngine };

struct AceRow {
  std::int32_t objectId;
  Sid sid;
  std::int32_t rights;
  bool inheritable;
};

constexpr AceRow kAces[] = {
    {2, Sid::kAdmin, 0x60000, false},
    {3, Sid::kAdmin, 0x60000, false},
    {4, Sid::kAdmin, 0x60000, false},
    {5, Sid::kAdmin, 0xE0000, false},
    {C::kTablesContainerId, Sid::kCreator, 0xF00FE, true},
    {C::kTablesContainerId, Sid::kAdmin, 0x60001, false},
    {kRelationshipsContainer, Sid::kCreator, 0xF00FE, true},
    {kRelationshipsContainer, Sid::kAdmin, 0x60001, false},
    {kDatabasesContainer, Sid::kAdmin, 0x60000, false},
    {kMSysDbId, Sid::kAdmin, 0x6000E, false},
    {kMSysDbId, Sid::kUsers, 0x0000E, false},
    {4, Sid::kUsers, 0x00014, false},
    {5, Sid::kUsers, 0x00014, false},
    {2, Sid::kUsers, 0x00014, false},
    {C::kTablesContainerId, Sid::kUsers, 0xFFEFF, true},
    {kRelationshipsContainer, Sid::kUsers, 0xFFFFF, true},
};

std::vector<std::uint8_t> SidBytes(const NewDatabaseFacts& facts, Sid role) {
  std::vector<std::uint8_t> sid(facts.adminSid.begin(), facts.adminSid.end());
  switch (role) {
    case Sid::kAdmin: break;
    case Sid::kUsers: sid[0] ^= 0x01; break;
    case Sid::kCreator:
      sid[0] ^= 0x01;
      sid[1] ^= 0x05;
      break;
    case Sid::kEngine:
      sid[0] ^= 0x01;
      sid[1] ^= 0x02;
      break;
  }
  return sid;
}

std::size_t ColumnPosition(const TableDefinition& table, const char16_t* name) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (NamesEqual(table.columns[i].name, name)) return i;
  }
  ThrowCorrupt("a system table lacks an expected column");
}

}  // namespace

NewDatabaseFacts NewDatabaseFacts::FromJetSample() {
  NewDatabaseFacts facts;
  facts.headerCreationDate = FromBits(0x40E4AB3E3BD3853Eull);   // 2015-11-22 22:40:31
  facts.objectsCreationDate = FromBits(0x40E4AB3E3BD3FB4Eull);  // a few ms later
  return facts;
}

PageStore BuildEmptyDatabase(const std::filesystem::path& path, const NewDatabaseFacts& facts) {
  PageStore store = PageStore::Empty(path);
  for (std::uint32_t i = 0; i < kPageCount; ++i) store.AppendPage();
  WriteHeader(store.MutablePage(0), facts);

  PageBuffer& globalMap = store.MutablePage(M::kGlobalMapPage);
  InitDataPage(globalMap, 1);
  std::vector<std::uint8_t> used = InlineMap({}, true, kPageCount);
  std::vector<std::uint8_t> second = InlineMap({}, false, 0);
  AddRow(globalMap, used.data(), used.size(), 0);
  AddRow(globalMap, second.data(), second.size(), 0);

  WriteTableDefinition(store, 2, EncodeTableDefinition(MSysObjectsLayout()));
  WriteTableDefinition(store, 3, EncodeTableDefinition(MSysACEsLayout()));
  WriteTableDefinition(store, 4, EncodeTableDefinition(MSysQueriesLayout()));
  WriteTableDefinition(store, 5, EncodeTableDefinition(MSysRelationshipsLayout()));
  WriteMapsPage(store.MutablePage(kMapsPage));
  InitDataPage(store.MutablePage(kObjectsRowsPage), 2);
  InitDataPage(store.MutablePage(kAcesRowsPage), 3);

  // Rows go in through the ordinary insert path, which also builds the indexes (pages
  // 7-13, empty leaves where a table has no rows) and the TDEF counters.
  TableWriter objects(store, ReadTableDefinition(store, 2));
  const TableDefinition& o = objects.Definition();
  for (const ObjectRow& row : kObjects) {
    std::vector<Value> values(o.columns.size());
    std::vector<std::optional<std::vector<std::uint8_t>>> raw(o.columns.size());
    values[ColumnPosition(o, u"Id")] = Value(row.id);
    values[ColumnPosition(o, u"ParentId")] = Value(row.parentId);
    values[ColumnPosition(o, u"Name")] = Value(std::u16string(row.name));
    values[ColumnPosition(o, u"Type")] = Value(row.type);
    values[ColumnPosition(o, u"DateCreate")] = Value(DateTime{facts.objectsCreationDate});
    values[ColumnPosition(o, u"DateUpdate")] = Value(DateTime{facts.objectsCreationDate});
    values[ColumnPosition(o, u"Flags")] = Value(static_cast<std::int32_t>(C::kFlagJetSystem));
    raw[ColumnPosition(o, u"Owner")] = SidBytes(facts, row.adminOwned ? Sid::kAdmin : Sid::kEngine);
    objects.Insert(values, raw);
  }
  TableWriter aces(store, ReadTableDefinition(store, 3));
  const TableDefinition& a = aces.Definition();
  for (const AceRow& row : kAces) {
    std::vector<Value> values(a.columns.size());
    std::vector<std::optional<std::vector<std::uint8_t>>> raw(a.columns.size());
    values[ColumnPosition(a, u"ObjectId")] = Value(row.objectId);
    values[ColumnPosition(a, u"ACM")] = Value(row.rights);
    values[ColumnPosition(a, u"FInheritable")] = Value(row.inheritable);
    raw[ColumnPosition(a, u"SID")] = SidBytes(facts, row.sid);
    aces.Insert(values, raw);
  }
  objects.Flush();
  aces.Flush();
  TableWriter(store, ReadTableDefinition(store, 4)).FlushAll();
  TableWriter(store, ReadTableDefinition(store, 5)).FlushAll();
  return store;
}

void CreateEmptyDatabase(const std::filesystem::path& path, const NewDatabaseFacts& facts) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  BuildEmptyDatabase(path, facts).Commit();
}

}  // namespace Jet
