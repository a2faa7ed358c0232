#pragma once
#include <cstddef>
#include <cstdint>

// Every on-disk offset, size and magic value of the Jet 4 (Access 2000-2003) format that
// the engine uses, in one place. Offsets are from the start of the structure named by
// the group. All integers on disk are little-endian except index keys.
namespace Jet::Format {

constexpr std::size_t kPageSize = 4096;
// Page numbers are 24 bits wide in row pointers and usage-map references.
constexpr std::uint32_t kMaxPageNumber = 0xFFFFFF;

// Byte 0 of every page.
enum PageType : std::uint8_t {
  kPageDatabaseDefinition = 0x00,
  kPageData = 0x01,
  kPageTableDefinition = 0x02,
  kPageIndexNode = 0x03,
  kPageIndexLeaf = 0x04,
  kPageUsageMap = 0x05,
};

// Sort order 1033 ("General"), the one the engine writes into the header and columns.
constexpr std::uint16_t kSortOrderGeneral = 0x0409;

// Page 0, the database definition page.
//   off    size  field
//   0x00   4     signature 00 01 00 00 (page type 0x00, then 0x01)
//   0x04   16    engine name "Standard Jet DB\0" ("Standard ACE DB" for .accdb)
//   0x14   1     format version: 0 Jet 3, 1 Jet 4, 2+ ACE
//   0x18   128   region XORed with an RC4 key stream (key kRc4Key); its first 22 bytes
//                are fixed in every file Jet 4 writes (kObfuscatedStartBytes)
//   0x3C   2     default code page              (inside the region)
//   0x3E   4     database key, non-zero = pages encrypted
//   0x42   40    password, UCS-2, XORed with a mask derived from the creation date
//   0x6A   2     a per-file word of unknown meaning (NewDatabaseFacts::headerWord6A)
//   0x6E   2     default sort order (LCID)
//   0x72   8     creation date, OLE automation date
//   0x98   4     release number, 0x0654 in Jet 4 files  (after the region)
//   0x9C   4     version text "4.0\0"
//   0xE00  512   256 words, 0x0101 then 0x0100 each; Jet 4 writes them in every file
// The reader needs only the fields up to 0x72; the rest are what a new file must hold.
namespace Header {
constexpr std::uint8_t kSignature[4] = {kPageDatabaseDefinition, 0x01, 0x00, 0x00};
constexpr std::size_t kEngineName = 0x04;
constexpr std::size_t kEngineNameSize = 16;
constexpr std::size_t kVersion = 0x14;
constexpr std::size_t kObfuscatedStart = 0x18;
constexpr std::size_t kObfuscatedSize = 128;
constexpr std::uint8_t kRc4Key[4] = {0xC7, 0xDA, 0x39, 0x6B};
constexpr std::size_t kCodePage = 0x3C;
constexpr std::size_t kDatabaseKey = 0x3E;
constexpr std::size_t kPassword = 0x42;
constexpr std::size_t kPasswordSize = 40;
constexpr std::size_t kSortOrder = 0x6E;
constexpr std::size_t kCreationDate = 0x72;
constexpr std::size_t kFileWord = 0x6A;
constexpr std::size_t kRelease = 0x98;
constexpr std::size_t kVersionText = 0x9C;
constexpr std::size_t kWordTable = 0xE00;
constexpr std::size_t kWordTableCount = 256;
constexpr std::uint16_t kWordTableFirst = 0x0101;
constexpr std::uint16_t kWordTableOther = 0x0100;
constexpr std::uint8_t kObfuscatedStartBytes[22] = {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00,
                                                    0x02, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00,
                                                    0x04, 0x00, 0x00, 0x00, 0x05, 0x00};
constexpr std::uint32_t kReleaseJet4 = 0x0654;
constexpr char kVersionTextJet4[] = "4.0";
constexpr std::uint16_t kCodePage1252 = 1252;
constexpr std::uint8_t kVersionJet3 = 0x00;
constexpr std::uint8_t kVersionJet4 = 0x01;
constexpr char kJetEngineName[] = "Standard Jet DB";
constexpr char kAceEngineName[] = "Standard ACE DB";
constexpr char kMsisamEngineName[] = "MSISAM Database";
}  // namespace Header

// Data pages (table rows, long values, usage-map rows).
//   off  size  field
//   0    1     0x01
//   2    2     free space
//   4    4     owner: TDEF page, "LVAL" on long-value pages, 0 on usage-map pages
//   12   2     number of row slots (deleted ones included)
//   14   2*n   row slots: low 13 bits = row start, 0x8000 deleted, 0x4000 overflow
// Rows are packed from the page end downwards: row i ends where row i-1 starts.
namespace DataPage {
constexpr std::size_t kFreeSpace = 2;
constexpr std::size_t kOwner = 4;
constexpr std::size_t kRowCount = 12;
constexpr std::size_t kRowSlots = 14;
constexpr std::uint16_t kSlotOffsetMask = 0x1FFF;
constexpr std::uint16_t kSlotDeleted = 0x8000;
constexpr std::uint16_t kSlotOverflow = 0x4000;
constexpr std::uint32_t kLongValueOwner = 0x4C41564C;  // "LVAL" read little-endian
// A row number is one byte in every row pointer.
constexpr std::size_t kMaxRowSlots = 256;
// Access moves a row at most once (the header slot is rewritten on later moves); readers
// allow a few hops through overflow pointers, never a loop.
constexpr int kMaxRowMoves = 16;
}  // namespace DataPage

// Table definition (TDEF), as one logical buffer: the first page whole, then bytes
// 8..4095 of each continuation page.
//   off  size  field
//   0    1     0x02
//   4    4     next TDEF page (0 = none)
//   8    4     logical length including the final 0xFFFF
//   16   4     live row count (may be stale)
//   20   4     last AutoNumber value handed out
//   40   1     table type: 'N' user, 'S' system
//   41   2     highest column count ever (the count written into rows)
//   43   2     variable-length slots per row (deleted columns included)
//   45   2     column definitions
//   47   4     logical indexes
//   51   4     real indexes
//   55   4     owned-pages usage map (row u8, page u24)
//   59   4     free-space usage map
//   63   12*r  real-index counters
// then the column definitions, column names, real index definitions, logical index
// definitions, index names, the Memo/OLE usage-map list and 0xFFFF.
namespace Tdef {
constexpr std::size_t kNextPage = 4;
constexpr std::size_t kLength = 8;
constexpr std::size_t kRowCount = 16;
constexpr std::size_t kLastAutoNumber = 20;
constexpr std::size_t kTableType = 40;
constexpr std::size_t kMaxColumns = 41;
constexpr std::size_t kVariableColumns = 43;
constexpr std::size_t kColumnCount = 45;
constexpr std::size_t kLogicalIndexCount = 47;
constexpr std::size_t kRealIndexCount = 51;
constexpr std::size_t kOwnedPagesMap = 55;
constexpr std::size_t kFreeSpaceMap = 59;
constexpr std::size_t kHeaderSize = 63;
constexpr std::size_t kRealIndexCounterSize = 12;
constexpr std::size_t kContinuationHeaderSize = 8;
constexpr std::uint8_t kUserTable = 0x4E;
constexpr std::uint8_t kSystemTable = 0x53;
constexpr std::uint16_t kListEnd = 0xFFFF;

// Column definition, 25 bytes.
//   0  1  type code        5  2  column number (null-mask bit)
//   7  2  variable slot   15  1  flags      16 1 extra flags
//  21  2  fixed offset    23  2  length (Text: bytes = 2 x characters)
constexpr std::size_t kColumnSize = 25;
constexpr std::size_t kColumnType = 0;
constexpr std::size_t kColumnNumber = 5;
constexpr std::size_t kColumnVariableSlot = 7;
constexpr std::size_t kColumnFlags = 15;
constexpr std::size_t kColumnExtraFlags = 16;
constexpr std::size_t kColumnFixedOffset = 21;
constexpr std::size_t kColumnLength = 23;
constexpr std::uint8_t kFlagFixedLength = 0x01;
constexpr std::uint8_t kFlagAutoNumber = 0x04;
constexpr std::uint8_t kFlagReplicationAutoNumber = 0x40;
constexpr std::uint8_t kFlagHyperlink = 0x80;
constexpr std::uint8_t kExtraFlagCompressedText = 0x01;

// Real index definition, 52 bytes.
//   0  4   magic 1923         4  30  ten slots: u16 column number (0xFFFF unused), u8 order
//   34 4   usage map ref     38  4   root page      46  1  flags
constexpr std::size_t kRealIndexSize = 52;
constexpr std::size_t kRealIndexColumns = 4;
constexpr std::size_t kRealIndexColumnSlots = 10;
constexpr std::size_t kRealIndexColumnSlotSize = 3;
constexpr std::size_t kRealIndexUsageMap = 34;
constexpr std::size_t kRealIndexRootPage = 38;
constexpr std::size_t kRealIndexFlags = 46;
constexpr std::uint16_t kUnusedIndexColumn = 0xFFFF;
constexpr std::uint8_t kIndexAscending = 0x01;
constexpr std::uint8_t kIndexFlagUnique = 0x01;
constexpr std::uint8_t kIndexFlagIgnoreNulls = 0x02;
constexpr std::uint8_t kIndexFlagRequired = 0x08;

// Logical index definition, 28 bytes.
//   4  4  index number     8  4  real index number
//  12  1  FK side         13  4  related index    17 4 related TDEF page
//  21  1  cascade update  22  1  cascade delete   23 1 kind: 1 primary key, 2 foreign key
constexpr std::size_t kLogicalIndexSize = 28;
constexpr std::size_t kLogicalIndexNumber = 4;
constexpr std::size_t kLogicalIndexRealIndex = 8;
constexpr std::size_t kLogicalIndexRelatedTable = 17;
constexpr std::size_t kLogicalIndexKind = 23;
constexpr std::uint8_t kIndexKindPrimaryKey = 0x01;
constexpr std::uint8_t kIndexKindForeignKey = 0x02;

// Memo/OLE usage-map list entry, 10 bytes: u16 column number, owned map, free map.
constexpr std::size_t kLongValueMapSize = 10;
}  // namespace Tdef

// Column type codes.
enum ColumnTypeCode : std::uint8_t {
  kTypeBoolean = 0x01,
  kTypeByte = 0x02,
  kTypeInteger = 0x03,
  kTypeLong = 0x04,
  kTypeCurrency = 0x05,
  kTypeSingle = 0x06,
  kTypeDouble = 0x07,
  kTypeDateTime = 0x08,
  kTypeBinary = 0x09,
  kTypeText = 0x0A,
  kTypeOle = 0x0B,
  kTypeMemo = 0x0C,
  kTypeGuid = 0x0F,
  kTypeNumeric = 0x10,
};

// Row layout, from the row's start (+) and end (-):
//   +0          u16  column count of the row
//   +2          fixed-length area
//   ...         variable-length data
//   -N-4-2V     u16  end of variable data
//   -N-2-2V ..  V x u16 variable offsets, slot 0 last
//   -N-2        u16  V
//   -N          null mask, N = (count + 7) / 8, bit set = value present
// Tables without variable slots store no EOD, offsets or V.
namespace Row {
constexpr std::size_t kColumnCount = 0;
constexpr std::size_t kFixedArea = 2;
}  // namespace Row

// Long-value (Memo/OLE) reference at the start of the column's variable data.
//   0  3  length in bytes        3  1  kind: 0x80 inline, 0x40 one remote row, 0x00 chain
//   4  4  remote row pointer     8  4  unused
// A chain piece is a row on an LVAL page: 4-byte pointer to the next piece, then data.
namespace LongValue {
constexpr std::size_t kReferenceSize = 12;
constexpr std::size_t kRemoteRow = 4;
constexpr std::uint8_t kInline = 0x80;
constexpr std::uint8_t kSingleRow = 0x40;
constexpr std::uint8_t kChain = 0x00;
constexpr std::size_t kChainPointerSize = 4;
}  // namespace LongValue

// Usage maps, stored as one row of a data page.
//   type 0: u8 0, u32 start page, bitmap (bit i = page start + i)
//   type 1: u8 1, u32 page numbers of bitmap pages; bitmap page j covers
//           pages [j * kPagesPerMapPage, (j + 1) * kPagesPerMapPage)
namespace UsageMap {
constexpr std::uint8_t kInlineMap = 0x00;
constexpr std::uint8_t kReferenceMap = 0x01;
constexpr std::size_t kInlineStart = 1;
constexpr std::size_t kInlineBitmap = 5;
constexpr std::size_t kMapPageBitmap = 4;
constexpr std::uint32_t kPagesPerMapPage = (kPageSize - kMapPageBitmap) * 8;
// The inline maps the engine writes: type, start, 64 bitmap bytes (512 pages).
constexpr std::size_t kInlineRowSize = 69;
// Page 1 holds the global map of the pages in use.
constexpr std::uint32_t kGlobalMapPage = 1;
}  // namespace UsageMap

// Index pages (leaf 0x04, node 0x03).
//   off  size  field
//   0    1     page type              2    2     free space (4096 - end of last entry)
//   4    4     TDEF page of the table  12   4     previous page at this level (0 = none)
//   16   4     next page (0 = none)    20   4     node pages: "tail" child page
//   24   2     shared prefix length    26   1     node marker (1 on nodes, 0 on leaves)
//   27   453   entry-end bitmap: bit E set where an entry ends, E from kEntries
//   480  ...   entries, packed; node entries end with a 4-byte child page (big-endian)
namespace IndexPage {
constexpr std::size_t kFreeSpace = 2;
constexpr std::size_t kOwner = 4;
constexpr std::size_t kPrevious = 12;
constexpr std::size_t kNext = 16;
constexpr std::size_t kTail = 20;
constexpr std::size_t kPrefixLength = 24;
constexpr std::size_t kNodeMarker = 26;
constexpr std::size_t kEntryBitmap = 27;
constexpr std::size_t kEntries = 480;
constexpr std::size_t kEntryArea = kPageSize - kEntries;  // 3616
constexpr std::size_t kChildPointerSize = 4;
}  // namespace IndexPage

// The system catalogue.
namespace Catalog {
constexpr std::uint32_t kMSysObjectsPage = 2;
constexpr std::int32_t kRootContainerId = 0x0F000000;
constexpr std::int32_t kTablesContainerId = 0x0F000001;
constexpr std::int16_t kTypeLocalTable = 1;
constexpr std::int16_t kTypeContainer = 3;
// Flags of tables: Jet system object, Access system object.
constexpr std::uint32_t kFlagJetSystem = 0x80000000u;
constexpr std::uint32_t kFlagAccessSystem = 0x00000002u;
}  // namespace Catalog

// Compressed text starts with this marker; a 0x00 byte toggles between one byte per
// character and two.
constexpr std::uint8_t kCompressedTextMarker[2] = {0xFF, 0xFE};

// The rollback journal beside a database ("<file>-journal", see Journal.h): the bytes a
// commit is about to overwrite, so that a commit cut short can be undone. Not part of
// Jet; written and read only by this engine. Integers little-endian.
//   off   size  field
//   0x00  8     magic "TvJrnl1\0"
//   0x08  4     page size (4096)
//   0x0C  4     page count of the database before the commit (original size / page size)
//   0x10  4     page count after the commit (the file is never larger than this mid-commit)
//   0x14  4     number of page records that follow
//   0x18  8     commit id, random: tells two journals of the same database apart
//   0x20  8     FNV-1a 64 hash of every page below the original page count that the
//               commit does not change (identifies the file the journal belongs to)
//   0x28  8     FNV-1a 64 hash of all page records
//   0x30  8     FNV-1a 64 hash of bytes 0x00-0x2F (the header itself)
//   0x38        page records, each:
//                 0x00  4     page number (below the original page count)
//                 0x04  4     zero
//                 0x08  64    FNV-1a 64 hash of each 512-byte sector of the page's new bytes
//                 0x48  4096  the page's bytes before the commit
// Recovery applies a journal only when every journaled page on disk is, sector by sector,
// its old or its new bytes (a write cut by power loss tears at sector boundaries), and
// every other page is unchanged: a database restored or replaced meanwhile differs.
namespace Journal {
constexpr char kMagic[8] = {'T', 'v', 'J', 'r', 'n', 'l', '1', '\0'};
constexpr std::size_t kMagicAt = 0x00;
constexpr std::size_t kPageSizeAt = 0x08;
constexpr std::size_t kOriginalPagesAt = 0x0C;
constexpr std::size_t kFinalPagesAt = 0x10;
constexpr std::size_t kRecordCountAt = 0x14;
constexpr std::size_t kCommitIdAt = 0x18;
constexpr std::size_t kUntouchedHashAt = 0x20;
constexpr std::size_t kRecordsHashAt = 0x28;
constexpr std::size_t kHeaderHashAt = 0x30;
constexpr std::size_t kHeaderSize = 0x38;
constexpr std::size_t kRecordPageNumberAt = 0x00;
constexpr std::size_t kRecordSectorHashesAt = 0x08;
constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kSectorsPerPage = kPageSize / kSectorSize;
constexpr std::size_t kRecordBytesAt = 0x08 + 8 * kSectorsPerPage;
constexpr std::size_t kRecordSize = kRecordBytesAt + kPageSize;
}  // namespace Journal

}  // namespace Jet::Format
