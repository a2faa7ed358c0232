#include "data/jet/SystemTables.h"

#include "data/jet/FormatConstants.h"

// The four system tables exactly as Jet 4 defines them in a new database (decoded from a
// file Jet created through ADOX). Column definitions are stored sorted by name, as Jet
// does; bytes that readers ignore (variable slots of fixed columns, fixed offsets of
// variable columns, order bytes of unused index slots, index bytes 42-45) carry the
// values Jet leaves there, as one consistent set. Index slots not listed are unused
// (column 0xFFFF, order 0).
namespace Jet {

TableLayout MSysObjectsLayout() {
  TableLayout t;
  t.tableType = Format::Tdef::kSystemTable;
  t.maxColumns = 17;
  t.variableColumns = 11;
  t.ownedPages = RowPointer{6, 0};
  t.freeSpacePages = RowPointer{6, 1};
  t.columns = {
      {u"Connect", 0x0C, 9, 3, 0, 0x12, 0x00, 0, 0},
      {u"Database", 0x0C, 8, 2, 0, 0x12, 0x00, 0, 0},
      {u"DateCreate", 0x08, 4, 1, 0, 0x13, 0x00, 10, 8},
      {u"DateUpdate", 0x08, 5, 1, 0, 0x13, 0x00, 18, 8},
      {u"Flags", 0x04, 7, 2, 0, 0x13, 0x00, 26, 4},
      {u"ForeignName", 0x0A, 10, 4, 0, 0x12, 0x00, 68, 510},
      {u"Id", 0x04, 0, 0, 0, 0x13, 0x00, 0, 4},
      {u"Lv", 0x0B, 13, 7, 0, 0x12, 0x00, 0, 0},
      {u"LvExtra", 0x0B, 16, 10, 0, 0x12, 0x00, 1028, 0},
      {u"LvModule", 0x0B, 15, 9, 0, 0x12, 0x00, 65535, 0},
      {u"LvProp", 0x0B, 14, 8, 0, 0x12, 0x00, 24832, 0},
      {u"Name", 0x0A, 2, 0, 0, 0x12, 0x00, 100, 510},
      {u"Owner", 0x09, 6, 1, 0, 0x32, 0x00, 256, 510},
      {u"ParentId", 0x04, 1, 0, 0, 0x13, 0x00, 4, 4},
      {u"RmtInfoLong", 0x0B, 12, 6, 0, 0x12, 0x00, 0, 0},
      {u"RmtInfoShort", 0x09, 11, 5, 0, 0x12, 0x00, 106, 510},
      {u"Type", 0x03, 3, 1, 0, 0x13, 0x00, 8, 2},
  };
  t.realIndexes.resize(2);
  t.realIndexes[0].slots = {{{0x0001, 0x01},
                             {0x0002, 0x01},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x6E},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x69}}};
  t.realIndexes[0].usageMap = RowPointer{6, 16};
  t.realIndexes[0].rootPage = 7;
  t.realIndexes[0].unknown42 = 0x00000000;
  t.realIndexes[0].flags = 0x81;
  t.realIndexes[1].slots = {{{0x0000, 0x01}}};
  t.realIndexes[1].usageMap = RowPointer{6, 17};
  t.realIndexes[1].rootPage = 8;
  t.realIndexes[1].unknown42 = 0x00000000;
  t.realIndexes[1].flags = 0x81;
  t.indexes = {
      {u"Id", 1, 1, 1},
      {u"ParentIdName", 0, 0, 0},
  };
  t.longValueMaps = {
      {9, RowPointer{6, 4}, RowPointer{6, 5}},    {8, RowPointer{6, 2}, RowPointer{6, 3}},
      {13, RowPointer{6, 8}, RowPointer{6, 9}},   {16, RowPointer{6, 14}, RowPointer{6, 15}},
      {15, RowPointer{6, 12}, RowPointer{6, 13}}, {14, RowPointer{6, 10}, RowPointer{6, 11}},
      {12, RowPointer{6, 6}, RowPointer{6, 7}},
  };
  return t;
}

TableLayout MSysACEsLayout() {
  TableLayout t;
  t.tableType = Format::Tdef::kSystemTable;
  t.maxColumns = 4;
  t.variableColumns = 1;
  t.ownedPages = RowPointer{6, 18};
  t.freeSpacePages = RowPointer{6, 19};
  t.columns = {
      {u"ACM", 0x04, 2, 1, 0, 0x13, 0x00, 4, 4},
      {u"FInheritable", 0x01, 3, 1, 0, 0x13, 0x00, 0, 1},
      {u"ObjectId", 0x04, 0, 0, 0, 0x13, 0x00, 0, 4},
      {u"SID", 0x09, 1, 0, 0, 0x32, 0x00, 7, 510},
  };
  t.realIndexes.resize(1);
  t.realIndexes[0].slots = {{{0x0000, 0x01},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x09},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x04},
                             {0xFFFF, 0x12}}};
  t.realIndexes[0].usageMap = RowPointer{6, 20};
  t.realIndexes[0].rootPage = 9;
  t.realIndexes[0].unknown42 = 0x00740041;
  t.realIndexes[0].flags = 0x88;
  t.indexes = {
      {u"ObjectId", 0, 0, 0},
  };
  return t;
}

TableLayout MSysQueriesLayout() {
  TableLayout t;
  t.tableType = Format::Tdef::kSystemTable;
  t.maxColumns = 8;
  t.variableColumns = 4;
  t.ownedPages = RowPointer{6, 21};
  t.freeSpacePages = RowPointer{6, 22};
  t.columns = {
      {u"Attribute", 0x02, 1, 0, 0, 0x13, 0x00, 4, 1},
      {u"Expression", 0x0C, 5, 3, 0, 0x12, 0x00, 1024, 0},
      {u"Flag", 0x03, 6, 4, 0, 0x13, 0x00, 5, 2},
      {u"LvExtra", 0x04, 7, 4, 0, 0x13, 0x00, 7, 4},
      {u"Name1", 0x0A, 3, 1, 0, 0x12, 0x00, 65024, 510},
      {u"Name2", 0x0A, 4, 2, 0, 0x12, 0x00, 65024, 510},
      {u"ObjectId", 0x04, 0, 0, 0, 0x13, 0x00, 0, 4},
      {u"Order", 0x09, 2, 0, 0, 0x12, 0x00, 65024, 510},
  };
  t.realIndexes.resize(1);
  t.realIndexes[0].slots = {{{0x0000, 0x01},
                             {0x0001, 0x01},
                             {0x0002, 0x01},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x6E},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x7A},
                             {0xFFFF, 0x00},
                             {0xFFFF, 0x66}}};
  t.realIndexes[0].usageMap = RowPointer{6, 25};
  t.realIndexes[0].rootPage = 10;
  t.realIndexes[0].unknown42 = 0x00640065;
  t.realIndexes[0].flags = 0x81;
  t.indexes = {
      {u"ObjectIdAttribute", 0, 0, 1},
  };
  t.longValueMaps = {
      {5, RowPointer{6, 23}, RowPointer{6, 24}},
  };
  return t;
}

TableLayout MSysRelationshipsLayout() {
  TableLayout t;
  t.tableType = Format::Tdef::kSystemTable;
  t.maxColumns = 8;
  t.variableColumns = 5;
  t.ownedPages = RowPointer{6, 26};
  t.freeSpacePages = RowPointer{6, 27};
  t.columns = {
      {u"ccolumn", 0x04, 2, 1, 0, 0x13, 0x00, 4, 4},
      {u"grbit", 0x04, 1, 1, 0, 0x13, 0x00, 0, 4},
      {u"icolumn", 0x04, 3, 1, 0, 0x13, 0x00, 8, 4},
      {u"szColumn", 0x0A, 5, 2, 0, 0x12, 0x00, 0, 510},
      {u"szObject", 0x0A, 4, 1, 0, 0x12, 0x00, 0, 510},
      {u"szReferencedColumn", 0x0A, 7, 4, 0, 0x12, 0x00, 0, 510},
      {u"szReferencedObject", 0x0A, 6, 3, 0, 0x12, 0x00, 0, 510},
      {u"szRelationship", 0x0A, 0, 0, 0, 0x12, 0x00, 0, 510},
  };
  t.realIndexes.resize(3);
  t.realIndexes[0].slots = {{{0x0000, 0x01}}};
  t.realIndexes[0].usageMap = RowPointer{6, 28};
  t.realIndexes[0].rootPage = 11;
  t.realIndexes[0].unknown42 = 0x00000000;
  t.realIndexes[0].flags = 0x82;
  t.realIndexes[1].slots = {{{0x0004, 0x01}}};
  t.realIndexes[1].usageMap = RowPointer{6, 29};
  t.realIndexes[1].rootPage = 12;
  t.realIndexes[1].unknown42 = 0x00000000;
  t.realIndexes[1].flags = 0x82;
  t.realIndexes[2].slots = {{{0x0006, 0x01}}};
  t.realIndexes[2].usageMap = RowPointer{6, 30};
  t.realIndexes[2].rootPage = 13;
  t.realIndexes[2].unknown42 = 0x00000000;
  t.realIndexes[2].flags = 0x82;
  t.indexes = {
      {u"szObject", 1, 1, 0},
      {u"szReferencedObject", 2, 2, 0},
      {u"szRelationship", 0, 0, 0},
  };
  return t;
}

}  // namespace Jet
