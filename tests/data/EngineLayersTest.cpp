// The engine's lower layers on hand-made bytes: checked reads, text, data pages,
// usage maps, long values and rows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "data/jet/ByteView.h"
#include "data/jet/DataPage.h"
#include "data/jet/JetError.h"
#include "data/jet/LongValue.h"
#include "data/jet/PageSource.h"
#include "data/jet/RowDecoder.h"
#include "data/jet/TextDecoder.h"
#include "data/jet/UsageMap.h"

namespace {

namespace F = Jet::Format;
constexpr std::size_t kPage = F::kPageSize;

bool IsCorrupt(const std::function<void()>& action) {
  try {
    action();
  } catch (const Jet::JetError& error) {
    return error.Kind() == Jet::JetErrorKind::kCorrupt;
  }
  return false;
}

// A file image of blank pages with helpers to place data pages and rows.
struct Image {
  explicit Image(std::size_t pages) : bytes(pages * kPage, 0) {}
  std::uint8_t* Page(std::size_t page) { return bytes.data() + page * kPage; }
  void Put16(std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
  }
  void Put32(std::size_t at, std::uint32_t value) {
    Put16(at, static_cast<std::uint16_t>(value));
    Put16(at + 2, static_cast<std::uint16_t>(value >> 16));
  }
  // Appends a row to data page `page` and returns its row number.
  std::uint8_t AddRow(std::size_t page, const std::vector<std::uint8_t>& row,
                      std::uint16_t flags = 0) {
    std::uint8_t* p = Page(page);
    p[0] = F::kPageData;
    p[1] = 1;
    std::size_t base = page * kPage;
    std::uint16_t count = static_cast<std::uint16_t>(p[12] | (p[13] << 8));
    std::size_t end =
        count == 0 ? kPage : ((p[14 + 2 * (count - 1)] | (p[15 + 2 * (count - 1)] << 8)) & 0x1FFF);
    std::size_t start = end - row.size();
    if (!row.empty()) std::memcpy(p + start, row.data(), row.size());
    Put16(base + 14 + 2 * count, static_cast<std::uint16_t>(start | flags));
    Put16(base + 12, static_cast<std::uint16_t>(count + 1));
    return static_cast<std::uint8_t>(count);
  }
  Jet::MemoryPageSource Source() const { return Jet::MemoryPageSource(bytes.data(), bytes.size()); }
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> Pointer(std::uint32_t page, std::uint8_t row) {
  return {row, static_cast<std::uint8_t>(page), static_cast<std::uint8_t>(page >> 8),
          static_cast<std::uint8_t>(page >> 16)};
}

TEST(ByteViewReads, LittleEndianValuesAndEveryReadPastTheEndIsCorrupt) {
  const std::uint8_t bytes[] = {0x55, 0x43, 0xDE, 0x13, 0x7B, 0x14,
                                0xAE, 0x47, 0xE1, 0xC8, 0x7B, 0x40};
  Jet::ByteView view(bytes, sizeof bytes, "bytes");
  EXPECT_EQ(view.I32(0), 333333333);
  EXPECT_EQ(view.U16(1), 0xDE43);
  EXPECT_EQ(view.U24(1), 0x13DE43u);
  EXPECT_DOUBLE_EQ(view.F64(4), 444.555);
  EXPECT_TRUE(IsCorrupt([&] { view.U32(9); }));
  EXPECT_TRUE(IsCorrupt([&] { view.U8(12); }));
  EXPECT_TRUE(IsCorrupt([&] { view.Sub(8, 5); }));
  EXPECT_TRUE(IsCorrupt([&] { view.Sub(static_cast<std::size_t>(-1), 2); }));
  EXPECT_EQ(view.Sub(4, 8).F64(0), 444.555);
  EXPECT_TRUE(IsCorrupt([&] { view.Sub(4, 8).U8(8); }));
}

TEST(TextDecoding, PlainCompressedAndMixedForms) {
  auto decode = [](std::vector<std::uint8_t> bytes) {
    return Jet::DecodeText(Jet::ByteView(bytes.data(), bytes.size(), "text"));
  };
  EXPECT_EQ(decode({0x61, 0x00, 0x62, 0x00}), u"ab");
  EXPECT_EQ(decode({0xFF, 0xFE, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67}), u"abcdefg");
  EXPECT_EQ(decode({0xFF, 0xFE, 0x48, 0xE8}), u"H\u00E8");
  // "ab" compressed, then two-byte mode for U+03B1, then back.
  EXPECT_EQ(decode({0xFF, 0xFE, 0x61, 0x62, 0x00, 0xB1, 0x03, 0x00, 0x63}), u"ab\u03B1c");
  EXPECT_EQ(decode({0xFF, 0xFE}), u"");
  EXPECT_EQ(decode({}), u"");
  EXPECT_EQ(decode({0xFF, 0xFE, 0x61, 0x00, 0xB1}), u"a");  // lone trailing byte
  EXPECT_TRUE(IsCorrupt([&] { decode({0x61, 0x00, 0x62}); }));
}

TEST(DataPages, SlotsFlagsZeroLengthRowsAndImpossibleExtents) {
  Image image(2);
  image.AddRow(1, {1, 2, 3});
  image.AddRow(1, {}, F::DataPage::kSlotDeleted | F::DataPage::kSlotOverflow);
  image.AddRow(1, {4, 5}, F::DataPage::kSlotOverflow);
  Jet::DataPage page(Jet::ByteView(image.Page(1), kPage, "page"));
  ASSERT_EQ(page.SlotCount(), 3u);
  EXPECT_EQ(page.Slot(0).length, 3);
  EXPECT_TRUE(page.Slot(1).deleted);
  EXPECT_EQ(page.Slot(1).length, 0);
  EXPECT_TRUE(page.Slot(2).overflow);
  EXPECT_EQ(page.RowBytes(page.Slot(2)).U8(1), 5);
  EXPECT_TRUE(IsCorrupt([&] { page.Slot(3); }));

  // A live row that starts after the previous one's start, or inside the slot table.
  image.Put16(kPage + 14 + 2 * 2, 4095);
  EXPECT_TRUE(
      IsCorrupt([&] { Jet::DataPage(Jet::ByteView(image.Page(1), kPage, "page")).Slot(2); }));
  image.Put16(kPage + 14 + 2 * 2, 16);
  EXPECT_TRUE(IsCorrupt([&] {
    Jet::DataPage p(Jet::ByteView(image.Page(1), kPage, "page"));
    p.RowBytes(p.Slot(2));
  }));
  image.Put16(kPage + 12, 3000);  // more slots than fit
  EXPECT_TRUE(IsCorrupt([&] { Jet::DataPage(Jet::ByteView(image.Page(1), kPage, "page")); }));
}

TEST(UsageMaps, InlineBitmapWithAStartPage) {
  Image image(40);
  std::vector<std::uint8_t> row = {F::UsageMap::kInlineMap, 16, 0, 0, 0, 0b00000101, 0b10000000};
  std::uint8_t number = image.AddRow(1, row);
  Jet::MemoryPageSource source = image.Source();
  EXPECT_EQ(Jet::ReadUsageMap(source, Jet::RowPointer{1, number}, "map"),
            (std::vector<std::uint32_t>{16, 18, 31}));
  // Page 39 is the last page; 40 is past the end of the file.
  row = {F::UsageMap::kInlineMap, 32, 0, 0, 0, 0b10000000, 0b00000001};
  number = image.AddRow(1, row);
  Jet::MemoryPageSource grown = image.Source();
  EXPECT_TRUE(IsCorrupt([&] { Jet::ReadUsageMap(grown, Jet::RowPointer{1, number}, "map"); }));
  number = image.AddRow(1, {0x07, 0, 0, 0, 0});
  Jet::MemoryPageSource unknown = image.Source();
  EXPECT_TRUE(IsCorrupt([&] { Jet::ReadUsageMap(unknown, Jet::RowPointer{1, number}, "map"); }));
}

TEST(UsageMaps, ReferenceMapReadsItsBitmapPages) {
  Image image(8);
  image.Page(5)[0] = F::kPageUsageMap;
  image.Page(5)[1] = 1;
  image.Page(5)[F::UsageMap::kMapPageBitmap] = 0b01001000;  // pages 3 and 6
  std::vector<std::uint8_t> row = {F::UsageMap::kReferenceMap};
  for (std::uint8_t b : {5, 0, 0, 0, 0, 0, 0, 0}) row.push_back(b);
  std::uint8_t number = image.AddRow(1, row);
  Jet::MemoryPageSource source = image.Source();
  EXPECT_EQ(Jet::ReadUsageMap(source, Jet::RowPointer{1, number}, "map"),
            (std::vector<std::uint32_t>{3, 6}));
  // A slot pointing at a page that is not a bitmap page.
  row = {F::UsageMap::kReferenceMap, 4, 0, 0, 0};
  number = image.AddRow(1, row);
  Jet::MemoryPageSource wrong = image.Source();
  EXPECT_TRUE(IsCorrupt([&] { Jet::ReadUsageMap(wrong, Jet::RowPointer{1, number}, "map"); }));
}

std::vector<std::uint8_t> Reference(std::uint32_t length, std::uint8_t kind, std::uint32_t page,
                                    std::uint8_t row) {
  std::vector<std::uint8_t> bytes = {static_cast<std::uint8_t>(length),
                                     static_cast<std::uint8_t>(length >> 8),
                                     static_cast<std::uint8_t>(length >> 16), kind};
  for (std::uint8_t b : Pointer(page, row)) bytes.push_back(b);
  bytes.insert(bytes.end(), 4, 0);
  return bytes;
}

std::vector<std::uint8_t> ReadLong(const Image& image, const std::vector<std::uint8_t>& reference) {
  Jet::MemoryPageSource source = image.Source();
  return Jet::ReadLongValue(source, Jet::ByteView(reference.data(), reference.size(), "reference"));
}

TEST(LongValues, InlineSingleRowAndChainedValues) {
  Image image(4);
  std::vector<std::uint8_t> inlineValue = Reference(3, F::LongValue::kInline, 0, 0);
  inlineValue.insert(inlineValue.end(), {7, 8, 9});
  EXPECT_EQ(ReadLong(image, inlineValue), (std::vector<std::uint8_t>{7, 8, 9}));
  EXPECT_TRUE(ReadLong(image, {}).empty());

  std::uint8_t single = image.AddRow(2, {1, 2, 3, 4, 5});
  EXPECT_EQ(ReadLong(image, Reference(4, F::LongValue::kSingleRow, 2, single)),
            (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_TRUE(
      IsCorrupt([&] { ReadLong(image, Reference(6, F::LongValue::kSingleRow, 2, single)); }));

  // Piece on page 3 -> piece on page 2 -> end.
  std::vector<std::uint8_t> last = Pointer(0, 0);
  last.insert(last.end(), {30, 31, 32});
  std::uint8_t lastRow = image.AddRow(2, last);
  std::vector<std::uint8_t> first = Pointer(2, lastRow);
  first.insert(first.end(), {10, 11});
  std::uint8_t firstRow = image.AddRow(3, first);
  EXPECT_EQ(ReadLong(image, Reference(5, F::LongValue::kChain, 3, firstRow)),
            (std::vector<std::uint8_t>{10, 11, 30, 31, 32}));
  EXPECT_EQ(ReadLong(image, Reference(3, F::LongValue::kChain, 3, firstRow)),
            (std::vector<std::uint8_t>{10, 11, 30}));
  EXPECT_TRUE(IsCorrupt([&] { ReadLong(image, Reference(9, F::LongValue::kChain, 3, firstRow)); }));
}

TEST(LongValues, LoopsOversizedLengthsAndUnknownKindsAreCorrupt) {
  Image image(4);
  // A piece that points to itself, with a length larger than it could ever collect.
  std::vector<std::uint8_t> loop = Pointer(2, 0);
  loop.push_back(1);
  image.AddRow(2, loop);
  EXPECT_TRUE(IsCorrupt([&] { ReadLong(image, Reference(1000, F::LongValue::kChain, 2, 0)); }));
  // 16 MB declared in a 16 KB file: refused before anything is allocated.
  EXPECT_TRUE(IsCorrupt([&] { ReadLong(image, Reference(0xFFFFFF, F::LongValue::kChain, 2, 0)); }));
  EXPECT_TRUE(IsCorrupt([&] { ReadLong(image, Reference(3, 0x21, 2, 0)); }));
  EXPECT_TRUE(IsCorrupt([&] { ReadLong(image, Reference(3, F::LongValue::kSingleRow, 9, 0)); }));
  std::vector<std::uint8_t> shortReference = {3, 0, 0, 0x80, 0};
  EXPECT_TRUE(IsCorrupt([&] { ReadLong(image, shortReference); }));
}

TEST(LongValues, RowsSharingOneLongValueExhaustTheScanBudget) {
  Image image(3);
  std::uint8_t row = image.AddRow(2, std::vector<std::uint8_t>(100, 7));
  std::vector<std::uint8_t> reference = Reference(100, F::LongValue::kSingleRow, 2, row);
  Jet::MemoryPageSource source = image.Source();
  Jet::ByteView view(reference.data(), reference.size(), "reference");
  // Each read costs the row's length plus one.
  Jet::LongValueBudget budget{250};
  EXPECT_EQ(Jet::ReadLongValue(source, view, budget).size(), 100u);
  EXPECT_EQ(Jet::ReadLongValue(source, view, budget).size(), 100u);
  EXPECT_EQ(budget.remainingBytes, 48u);
  EXPECT_TRUE(IsCorrupt([&] { Jet::ReadLongValue(source, view, budget); }));
}

// A table with a Long (fixed @0), a Yes/No, a Text (var 0) and a column added later.
Jet::TableDefinition SmallTable() {
  Jet::TableDefinition table;
  table.rowColumnCount = 4;
  table.variableSlots = 1;
  Jet::ColumnDefinition number;
  number.typeCode = F::kTypeLong;
  number.number = 0;
  number.flags = F::Tdef::kFlagFixedLength;
  Jet::ColumnDefinition flag;
  flag.typeCode = F::kTypeBoolean;
  flag.number = 1;
  flag.flags = F::Tdef::kFlagFixedLength;
  Jet::ColumnDefinition text;
  text.typeCode = F::kTypeText;
  text.number = 2;
  text.variableSlot = 0;
  Jet::ColumnDefinition later;
  later.typeCode = F::kTypeDouble;
  later.number = 3;
  later.flags = F::Tdef::kFlagFixedLength;
  later.fixedOffset = 4;
  table.columns = {number, flag, text, later};
  return table;
}

std::vector<Jet::Value> Decode(const std::vector<std::uint8_t>& row) {
  Image image(1);
  Jet::MemoryPageSource source = image.Source();
  return Jet::DecodeRow(source, SmallTable(), Jet::ByteView(row.data(), row.size(), "row"));
}

TEST(Rows, FixedVariableBooleanAndColumnsTheRowPredates) {
  // count 3 | Long 7 | "hi" | EOD 10 | var0 at 6 | V = 1 | mask: 0, 1 (Yes) and 2 present
  std::vector<std::uint8_t> row = {3, 0, 7, 0, 0, 0, 'h', 0, 'i', 0, 10, 0, 6, 0, 1, 0, 0b111};
  EXPECT_EQ(Decode(row),
            (std::vector<Jet::Value>{Jet::Value(std::int32_t{7}), Jet::Value(true),
                                     Jet::Value(std::u16string(u"hi")), Jet::Value()}));
  row.back() = 0b001;  // Text NULL, Yes/No No
  EXPECT_EQ(Decode(row), (std::vector<Jet::Value>{Jet::Value(std::int32_t{7}), Jet::Value(false),
                                                  Jet::Value(), Jet::Value()}));
  row.back() = 0b101;
  row[10] = 9;  // EOD before the start: an empty value
  row[12] = 9;
  EXPECT_EQ(Decode(row)[2], Jet::Value(std::u16string()));
}

TEST(Rows, EveryFixedTypeWithoutVariableColumns) {
  // No variable slots: the row is count | fixed area | null mask, with no offset table.
  Jet::TableDefinition table;
  table.rowColumnCount = 7;
  const std::uint8_t types[] = {F::kTypeByte,   F::kTypeInteger,  F::kTypeSingle, F::kTypeCurrency,
                                F::kTypeDouble, F::kTypeDateTime, F::kTypeGuid};
  const std::uint16_t offsets[] = {0, 1, 3, 7, 15, 23, 31};
  for (std::uint16_t i = 0; i < 7; ++i) {
    Jet::ColumnDefinition column;
    column.typeCode = types[i];
    column.number = i;
    column.flags = F::Tdef::kFlagFixedLength;
    column.fixedOffset = offsets[i];
    column.length = 16;
    table.columns.push_back(column);
  }
  std::vector<std::uint8_t> row = {7, 0, 0xFE, 0x18, 0xFC};
  for (std::uint8_t b : {0x00, 0x00, 0xC0, 0xBF}) row.push_back(b);  // Single -1.5
  // Currency -0.0008
  for (std::uint8_t b : {0xF8, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) row.push_back(b);
  for (std::uint8_t b : {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}) row.push_back(b);  // Double 1.0
  for (std::uint8_t b : {0, 0, 0, 0, 0, 0, 0xF0, 0xBF}) row.push_back(b);  // Date -1.0
  row.insert(row.end(), 16, 0xAB);                                         // GUID
  row.push_back(0b01111111);
  Image image(1);
  Jet::MemoryPageSource source = image.Source();
  std::vector<Jet::Value> values =
      Jet::DecodeRow(source, table, Jet::ByteView(row.data(), row.size(), "row"));
  EXPECT_EQ(values,
            (std::vector<Jet::Value>{Jet::Value(std::uint8_t{254}), Jet::Value(std::int16_t{-1000}),
                                     Jet::Value(-1.5f), Jet::Value(Jet::Currency{-8}),
                                     Jet::Value(1.0), Jet::Value(Jet::DateTime{-1.0}),
                                     Jet::Value(Jet::Unsupported{F::kTypeGuid})}));
}

TEST(Rows, DamagedRowsAreCorrupt) {
  std::vector<std::uint8_t> good = {3, 0, 7, 0, 0, 0, 'h', 0, 'i', 0, 10, 0, 6, 0, 1, 0, 0b111};
  auto damaged = [&](std::size_t at, std::uint8_t value) {
    std::vector<std::uint8_t> row = good;
    row[at] = value;
    return IsCorrupt([&] { Decode(row); });
  };
  EXPECT_TRUE(damaged(10, 60));  // EOD past the offset table
  EXPECT_TRUE(damaged(12, 1));   // data starting inside the column count
  EXPECT_TRUE(damaged(14, 40));  // more variable slots than the row holds
  EXPECT_TRUE(damaged(0, 200));  // a null mask larger than the row
  EXPECT_TRUE(IsCorrupt([&] { Decode({3, 0}); }));
  // The Long column's four bytes must lie inside the row.
  EXPECT_TRUE(IsCorrupt([&] { Decode({1, 0, 7, 0, 0b1}); }));
}

}  // namespace
