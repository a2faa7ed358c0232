// Cross-check with an independent reader: for every table of every sample (system tables
// included) the engine's rows equal what mdbtools' mdb-export prints, value by value.
// Number and date formatting is normalised; row order is not compared (mdb-export lists
// moved rows last). mdbtools 1.0.0 prints dates before 1900 and in 9999 as 1900-01-00;
// those fields are compared with the raw values recorded for the samples instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include "data/jet/Database.h"
#include "data/jet/LongValue.h"
#include "data/jet/RowDecoder.h"
#include "tests/data/SampleFiles.h"
#include "tests/data/ShellCommand.h"
#include "tools/ValueText.h"

namespace {

namespace F = Jet::Format;

struct CsvField {
  std::string text;
  bool quoted = false;
};
using CsvRow = std::vector<CsvField>;

// mdb-export's CSV: fields separated by commas, text-like fields in double quotes with
// quotes doubled, rows ended by LF (a quoted field may hold line breaks).
std::vector<CsvRow> ParseCsv(const std::string& text) {
  std::vector<CsvRow> rows;
  CsvRow row;
  CsvField field;
  bool inQuotes = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (inQuotes) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field.text += '"';
        ++i;
      } else if (c == '"') {
        inQuotes = false;
      } else {
        field.text += c;
      }
    } else if (c == '"') {
      inQuotes = true;
      field.quoted = true;
    } else if (c == ',') {
      row.push_back(field);
      field = CsvField();
    } else if (c == '\n') {
      row.push_back(field);
      rows.push_back(row);
      row.clear();
      field = CsvField();
    } else {
      field.text += c;
    }
  }
  return rows;
}

// Raw Date/Time values of the fields mdbtools cannot print, keyed by file, table, the
// row's first column and the column name (from the samples' notes).
const std::map<std::tuple<std::string, std::string, std::string, std::string>, double>&
UnprintableDates() {
  static const std::map<std::tuple<std::string, std::string, std::string, std::string>, double>
      dates = {
          {{"dates_memo.mdb", "DateTest", "2", "DateTimeCol"}, 2958101},
          {{"dates_memo.mdb", "DateTest", "2", "DateCol"}, 2958101},
          {{"dates_memo.mdb", "DateTest", "2", "TimeCol"}, 2958101},
          {{"dates_memo.mdb", "DateTest", "3", "DateTimeCol"}, -728},
          {{"dates_memo.mdb", "DateTest", "3", "DateCol"}, -363},
          {{"dates_memo.mdb", "DateTest", "4", "DateTimeCol"}, -463126},
          {{"dates_memo.mdb", "DateTest", "4", "DateCol"}, -462760},
          {{"dates_memo.mdb", "DateTest", "4", "TimeCol"}, -462395},
      };
  return dates;
}

std::string FloatText(double value, int digits) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
  return buffer;
}

// Types mdb-export prints. It prints nothing at all for others (such as the 3992-byte
// type 0x11 of MSysAccessObjects), so for those only "not misread" can be checked.
bool MdbToolsPrintsType(std::uint8_t typeCode) {
  return typeCode >= F::kTypeBoolean && typeCode <= F::kTypeNumeric;
}
const char kNotPrinted[] = "<not printed by mdb-export>";

// mdb-export handles text as C strings: a value ends at its first NUL character.
std::string UpToNul(const std::u16string& text) {
  return Utf16ToUtf8(text.substr(0, text.find(u'\0')));
}

bool IsBinaryType(std::uint8_t typeCode) {
  return typeCode == F::kTypeBinary || typeCode == F::kTypeOle;
}

// mdb-export's hex dump of a Binary (not OLE) value stops at its first zero byte (C
// strings again), so those bytes are compared up to there.
std::string Hex(const std::uint8_t* bytes, std::size_t size, bool stopAtZero) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  for (std::size_t i = 0; i < size && !(stopAtZero && bytes[i] == 0); ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 15];
  }
  return text;
}

// The engine reports Binary and OLE values as unsupported; their stored bytes are still
// compared with mdb-export's hex dump.
std::string EngineBinaryCanonical(const Jet::Database& database,
                                  const Jet::ColumnDefinition& column,
                                  const Jet::RowLayout& layout) {
  Jet::ByteView bytes;
  if (!layout.ColumnBytes(column, bytes)) return "<null>";
  if (column.typeCode == F::kTypeBinary) return Hex(bytes.Data(), bytes.Size(), true);
  std::vector<std::uint8_t> value = Jet::ReadLongValue(database.Pages(), bytes);
  return Hex(value.data(), value.size(), false);
}

// Canonical text of an engine value, as comparable with mdb-export's.
std::string EngineCanonical(const Jet::ColumnDefinition& column, const Jet::Value& value) {
  if (!MdbToolsPrintsType(column.typeCode)) {
    bool notMisread = value.IsNull() || value.Is<Jet::Unsupported>();
    return notMisread ? kNotPrinted : "<misread " + FormatValue(value) + ">";
  }
  switch (value.Kind()) {
    case Jet::ValueKind::kText: return UpToNul(value.As<std::u16string>());
    case Jet::ValueKind::kMemo: return UpToNul(value.As<Jet::MemoText>().text);
    case Jet::ValueKind::kNull: return "<null>";
    case Jet::ValueKind::kSingle: return FloatText(value.As<float>(), 6);
    case Jet::ValueKind::kDouble: return FloatText(value.As<double>(), 12);
    case Jet::ValueKind::kUnsupported: return "<present>";
    default: return FormatValue(value);
  }
}

class CrossCheck {
 public:
  explicit CrossCheck(std::string file)
      : file_(std::move(file)), path_((SamplesDirectory() / file_).string()) {}

  // mdb-export's field as the canonical text of the engine's column type.
  std::string MdbCanonical(const std::string& table, const Jet::ColumnDefinition& column,
                           const CsvRow& row, std::size_t index) {
    const CsvField& field = row[index];
    if (!MdbToolsPrintsType(column.typeCode)) {
      EXPECT_EQ(field.text, "") << Narrow(column.name);
      ++notPrinted;
      return kNotPrinted;
    }
    if (field.text.empty() && !field.quoted) {
      // mdb-export prints NULL as nothing; a Yes/No column is never NULL.
      return column.typeCode == F::kTypeBoolean ? "<missing>" : "<null>";
    }
    if (IsBinaryType(column.typeCode)) {
      ++binaryValues;
      return field.text;
    }
    if (!column.IsSupportedType()) return "<present>";
    switch (column.typeCode) {
      case F::kTypeSingle: return FloatText(std::strtod(field.text.c_str(), nullptr), 6);
      case F::kTypeDouble: return FloatText(std::strtod(field.text.c_str(), nullptr), 12);
      case F::kTypeCurrency: {
        long double amount = std::strtold(field.text.c_str(), nullptr);
        return FormatValue(
            Jet::Value(Jet::Currency{static_cast<std::int64_t>(std::llround(amount * 10000))}));
      }
      case F::kTypeDateTime:
        if (field.text.rfind("1900-01-00", 0) == 0) {
          auto key = std::make_tuple(file_, table, row[0].text, Narrow(column.name));
          auto found = UnprintableDates().find(key);
          if (found == UnprintableDates().end()) {
            ADD_FAILURE() << file_ << " " << table << ": mdb-export printed " << field.text
                          << " for " << Narrow(column.name) << " of row " << row[0].text
                          << ", and no raw value is known";
            return field.text;
          }
          ++substitutedDates;
          return FormatValue(Jet::Value(Jet::DateTime{found->second}));
        }
        return field.text;
      default: return field.text;
    }
  }

  void CompareTable(const Jet::Database& database, const Jet::CatalogTable& catalogTable) {
    std::string table = Narrow(catalogTable.name);
    SCOPED_TRACE(file_ + " " + table);
    Jet::TableDefinition definition = database.ReadTable(catalogTable);
    int status = 0;
    std::string csv =
        RunShellCommand("mdb-export -b hex -D '%Y-%m-%d %H:%M:%S' -T '%Y-%m-%d %H:%M:%S' " +
                            ShellQuote(path_) + " " + ShellQuote(table) + " 2>/dev/null",
                        status);
    ASSERT_EQ(status, 0) << "mdb-export failed";
    std::vector<CsvRow> mdbRows = ParseCsv(csv);
    ASSERT_FALSE(mdbRows.empty());
    std::vector<std::string> header;
    for (const CsvField& field : mdbRows[0]) header.push_back(field.text);
    std::vector<std::string> columns;
    for (const auto& column : definition.columns) columns.push_back(Narrow(column.name));
    ASSERT_EQ(header, columns);

    std::vector<std::vector<std::string>> expected;
    for (std::size_t r = 1; r < mdbRows.size(); ++r) {
      ASSERT_EQ(mdbRows[r].size(), columns.size()) << "mdb-export row " << r;
      std::vector<std::string> row;
      for (std::size_t c = 0; c < columns.size(); ++c) {
        row.push_back(MdbCanonical(table, definition.columns[c], mdbRows[r], c));
      }
      expected.push_back(row);
    }
    std::vector<std::vector<std::string>> actual;
    Jet::TableScan scan = database.Scan(definition);
    std::vector<Jet::Value> values;
    while (scan.Next(values)) {
      std::vector<std::string> row;
      Jet::RowLayout layout(definition, scan.CurrentRowBytes());
      for (std::size_t c = 0; c < values.size(); ++c) {
        const Jet::ColumnDefinition& column = definition.columns[c];
        row.push_back(IsBinaryType(column.typeCode)
                          ? EngineBinaryCanonical(database, column, layout)
                          : EngineCanonical(column, values[c]));
      }
      actual.push_back(row);
    }
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    ASSERT_EQ(actual.size(), expected.size()) << "row count";
    for (std::size_t r = 0; r < actual.size(); ++r) {
      for (std::size_t c = 0; c < columns.size(); ++c) {
        EXPECT_EQ(actual[r][c], expected[r][c]) << "row " << r << " column " << columns[c];
        ++comparedValues;
      }
    }
    ++comparedTables;
  }

  std::size_t comparedTables = 0;
  std::size_t comparedValues = 0;
  std::size_t substitutedDates = 0;
  std::size_t notPrinted = 0;
  std::size_t binaryValues = 0;

 private:
  std::string file_;
  std::string path_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    if (end > start) lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

class MdbToolsCrossCheck : public ::testing::TestWithParam<std::string> {};

TEST_P(MdbToolsCrossCheck, EveryTableEqualsMdbExportValueByValue) {
  std::string path = (SamplesDirectory() / GetParam()).string();
  Jet::Database database = Jet::Database::OpenFile(path);

  int status = 0;
  std::vector<std::string> mdbUser =
      Lines(RunShellCommand("mdb-tables -1 " + ShellQuote(path), status));
  ASSERT_EQ(status, 0);
  std::vector<std::string> engineUser;
  for (const auto& table : database.UserTables()) engineUser.push_back(Narrow(table.name));
  EXPECT_EQ(engineUser, mdbUser);
  std::vector<std::string> mdbAll =
      Lines(RunShellCommand("mdb-tables -1 -S " + ShellQuote(path), status));
  std::vector<std::string> engineAll;
  for (const auto& table : database.AllTables()) engineAll.push_back(Narrow(table.name));
  std::sort(mdbAll.begin(), mdbAll.end());
  std::sort(engineAll.begin(), engineAll.end());
  EXPECT_EQ(engineAll, mdbAll);

  CrossCheck check(GetParam());
  for (const Jet::CatalogTable& table : database.AllTables()) check.CompareTable(database, table);
  EXPECT_EQ(check.comparedTables, database.AllTables().size());
  std::size_t expectedSubstitutions = 0;
  for (const auto& entry : UnprintableDates())
    expectedSubstitutions += std::get<0>(entry.first) == GetParam();
  EXPECT_EQ(check.substitutedDates, expectedSubstitutions);
  std::printf(
      "%s: %zu tables, %zu values compared with mdb-export (%zu Binary/OLE as bytes, %zu of a type "
      "it "
      "does not print)\n",
      GetParam().c_str(), check.comparedTables, check.comparedValues, check.binaryValues,
      check.notPrinted);
}

INSTANTIATE_TEST_SUITE_P(Samples, MdbToolsCrossCheck, ::testing::ValuesIn(SampleNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                           return info.param.substr(0, info.param.find('.'));
                         });

}  // namespace
