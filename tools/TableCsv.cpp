#include "tools/TableCsv.h"

#include <string>

#include "data/jet/LongValue.h"
#include "data/jet/RowDecoder.h"
#include "data/jet/TableScan.h"
#include "data/jet/TextDecoder.h"
#include "tools/ValueText.h"

namespace {

namespace F = Jet::Format;

// Writes the values of rows, reusing its text buffers from value to value.
class RowWriter {
 public:
  RowWriter(const Jet::PageSource& source, LumoUtility::CsvWriter& csv)
      : source_(source), csv_(csv), budget_{source.ByteSize()} {}

  // The checks run in DecodeColumn's order, so a damaged row fails with the same message.
  void Column(const Jet::ColumnDefinition& column, const Jet::RowLayout& layout) {
    if (column.typeCode == F::kTypeBoolean) {
      csv_.Unquoted().push_back(layout.HasValue(column) ? '1' : '0');
      return;
    }
    Jet::ByteView bytes;
    if (!layout.HasValue(column)) return Null();
    if (!column.IsSupportedType()) return Unsupported(column);
    if (!layout.ColumnBytes(column, bytes)) return Null();
    if (column.IsFixedLength()) {
      switch (column.typeCode) {
        case F::kTypeByte: return csv_.Integer(bytes.U8(0));
        case F::kTypeInteger: return csv_.Integer(bytes.I16(0));
        case F::kTypeLong: return csv_.Integer(bytes.I32(0));
        case F::kTypeCurrency: return AppendCurrency(csv_.Unquoted(), bytes.I64(0));
        case F::kTypeSingle: return AppendShortest(csv_.Unquoted(), bytes.F32(0));
        case F::kTypeDouble: return AppendShortest(csv_.Unquoted(), bytes.F64(0));
        case F::kTypeDateTime: return AppendOleDate(csv_.Unquoted(), bytes.F64(0));
        default: return Unsupported(column);
      }
    }
    switch (column.typeCode) {
      case F::kTypeText: return Text(bytes);
      case F::kTypeMemo: {
        std::vector<std::uint8_t> memo = Jet::ReadLongValue(source_, bytes, budget_);
        return Text(Jet::ByteView(memo.data(), memo.size(), "memo"));
      }
      default: return Unsupported(column);
    }
  }

 private:
  void Null() { csv_.Unquoted(); }
  void Unsupported(const Jet::ColumnDefinition& column) {
    AppendUnsupported(csv_.BeginText(), column.typeCode);
    csv_.EndText();
  }
  void Text(const Jet::ByteView& bytes) {
    Jet::ByteView ascii;
    if (Jet::CompressedAscii(bytes, ascii)) {
      csv_.BeginText().append(reinterpret_cast<const char*>(ascii.Data()), ascii.Size());
    } else {
      Jet::DecodeText(bytes, utf16_);
      AppendUtf8(csv_.BeginText(), utf16_);
    }
    csv_.EndText();
  }

  const Jet::PageSource& source_;
  LumoUtility::CsvWriter& csv_;
  Jet::LongValueBudget budget_;  // one for the whole scan, as TableScan::Next has it
  std::u16string utf16_;
};

}  // namespace

void WriteTableCsv(const Jet::PageSource& source, const Jet::TableDefinition& table,
                   LumoUtility::CsvWriter& csv) {
  for (const Jet::ColumnDefinition& column : table.columns) csv.Text(Utf16ToUtf8(column.name));
  csv.EndLine();
  Jet::TableScan scan(source, table);
  RowWriter row(source, csv);
  while (scan.Advance()) {
    try {
      Jet::RowLayout layout(table, scan.CurrentRowBytes());
      for (const Jet::ColumnDefinition& column : table.columns) row.Column(column, layout);
    } catch (...) {
      csv.DropLine();
      throw;
    }
    csv.EndLine();
  }
}
