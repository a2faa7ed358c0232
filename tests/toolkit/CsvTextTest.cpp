#include "toolkit/base/CsvText.h"

#include <gtest/gtest.h>

using namespace LumoUtility;

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
  for (const auto& c : cases) EXPECT_EQ(CsvField(c.text, ';'), c.field) << c.text;
  EXPECT_EQ(CsvField("a,b", ','), "\"a,b\"");
  EXPECT_EQ(CsvField("a;b", ','), "a;b");
}

TEST(CsvText, LinesJoinTheFieldsAndEndInCrLf) {
  EXPECT_EQ(CsvLine({"Targa", "Data", "Note"}, ';'), "Targa;Data;Note\r\n");
  EXPECT_EQ(CsvLine({"AB;1", "", "x\"y"}, ';'), "\"AB;1\";;\"x\"\"y\"\r\n");
  EXPECT_EQ(CsvLine({}, ';'), "\r\n");
}
