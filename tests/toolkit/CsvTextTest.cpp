#include "toolkit/base/CsvText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace LumoUtility;

namespace {

// Counts the blocks it is given.
class RecordingSink : public CsvSink {
 public:
  void Write(const char* bytes, std::size_t size) override {
    text.append(bytes, size);
    blocks.push_back(size);
  }
  std::string text;
  std::vector<std::size_t> blocks;
};

std::string Field(const char* text, char separator) {
  std::string out;
  StringCsvSink sink(out);
  CsvWriter csv(sink, separator, "");
  csv.Text(text);
  csv.EndLine();
  csv.Flush();
  return out;
}

}  // namespace

TEST(CsvText, QuotesOnlyTheFieldsThatNeedIt) {
  const struct {
    const char* text;
    const char* field;
  } cases[] = {
      {"", ""},
      {"Olio motore", "Olio motore"},
      {"84,50", "84,50"},  // the decimal comma is no separator here
      {"a;b", "\"a;b\""},
      {"pollici 15\"", "\"pollici 15\"\"\""},
      {"\"\"", "\"\"\"\"\"\""},
      {"riga\r\naltra", "\"riga\r\naltra\""},
      {"solo\rCR", "\"solo\rCR\""},
      {"solo\nLF", "\"solo\nLF\""},
      {"\x80 caff\xE8", "\x80 caff\xE8"},
  };
  for (const auto& c : cases) EXPECT_EQ(Field(c.text, ';'), c.field) << c.text;
  EXPECT_EQ(Field("a,b", ','), "\"a,b\"");
  EXPECT_EQ(Field("a;b", ','), "a;b");
}

TEST(CsvText, LinesJoinTheFieldsAndADroppedLineLeavesNothing) {
  std::string out;
  StringCsvSink sink(out);
  CsvWriter csv(sink, ';', "\r\n");
  csv.Text("AB;1");
  csv.Text("");
  csv.Integer(-7);
  csv.EndLine();
  csv.Text("half a row");
  csv.DropLine();
  csv.EndLine();  // a line of no fields
  csv.Text("x\"y");
  csv.Flush();  // the line not yet ended stays
  EXPECT_EQ(out, "\"AB;1\";;-7\r\n\r\n");
}

TEST(CsvText, LargeOutputGoesToTheSinkInWholeLinesAndLargeBlocks) {
  RecordingSink sink;
  CsvWriter csv(sink, ',', "\n");
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    csv.Integer(i);
    csv.Text("riga di prova");
    csv.EndLine();
    expected += std::to_string(i) + ",riga di prova\n";
  }
  csv.Flush();
  EXPECT_EQ(sink.text, expected);
  ASSERT_GE(sink.blocks.size(), 2u);
  EXPECT_LE(sink.blocks.size(), 6u);
}

TEST(CsvText, NumbersAndDatesWithoutPrintf) {
  const struct {
    std::int64_t value;
    const char* text;
  } integers[] = {{0, "0"},
                  {7, "7"},
                  {-1, "-1"},
                  {1234567890123, "1234567890123"},
                  {INT64_MIN, "-9223372036854775808"},
                  {INT64_MAX, "9223372036854775807"}};
  for (const auto& c : integers) {
    std::string out;
    AppendInteger(out, c.value);
    EXPECT_EQ(out, c.text);
  }
  const struct {
    std::int64_t scaled;
    int decimals;
    const char* text;
  } decimals[] = {{0, 4, "0.0000"},   {-12345, 4, "-1.2345"},
                  {-1, 4, "-0.0001"}, {8450, 2, "84,50"},
                  {5, 0, "5"},        {INT64_MIN, 4, "-922337203685477.5808"}};
  for (const auto& c : decimals) {
    std::string out;
    AppendDecimal(out, c.scaled, c.decimals, c.decimals == 2 ? ',' : '.');
    EXPECT_EQ(out, c.text);
  }
  std::string out;
  AppendDateAndTime(out, DateTimeValue{100, 2, 0, 3, 4, 5, 6});
  out += "|";
  AppendDayMonthYear(out, DateTimeValue{2026, 6, 0, 10});
  out += "|";
  AppendZeroPadded(out, 123, 2);
  EXPECT_EQ(out, "0100-02-03 04:05:06|10/06/2026|123");
}
