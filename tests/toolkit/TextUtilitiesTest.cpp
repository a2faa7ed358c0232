#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "toolkit/base/NumberText.h"
#include "toolkit/base/StringReplace.h"
#include "toolkit/base/TermsOfUseText.h"

using namespace LumoUtility;

TEST(NumberText, IntegersInPlainDecimal) {
  EXPECT_EQ(IntToText(0), "0");
  EXPECT_EQ(IntToText(-1), "-1");
  EXPECT_EQ(IntToText(static_cast<std::int32_t>(-1)), "-1");
  EXPECT_EQ(IntToText(12000), "12000");
  EXPECT_EQ(IntToText(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(IntToWideText(-45), L"-45");
}

TEST(NumberText, DoublesWithSixSignificantDigits) {
  EXPECT_EQ(DoubleToText(84.5), "84.5");
  EXPECT_EQ(DoubleToText(0.0), "0");
  EXPECT_EQ(DoubleToText(1234.5678), "1234.57");
  EXPECT_EQ(DoubleToText(-0.25), "-0.25");
  EXPECT_EQ(DoubleToText(1000000.0), "1e+06");
  EXPECT_EQ(DoubleToText(0.00001), "1e-05");
}

TEST(NumberText, ZeroPadding) {
  EXPECT_EQ(ZeroPaddedInt(7, 3), "007");
  EXPECT_EQ(ZeroPaddedInt(1234, 3), "1234");
  EXPECT_EQ(ZeroPaddedInt(0, 3), "000");
}

TEST(StringReplace, DoublesApostrophesAndTerminates) {
  EXPECT_EQ(ReplaceAll("O'BRIEN", "'", "''"), "O''BRIEN");
  EXPECT_EQ(ReplaceAll("''", "'", "''"), "''''");
  EXPECT_EQ(ReplaceAll("aaa", "a", "b"), "bbb");
  EXPECT_EQ(ReplaceAll("abcabc", "bc", ""), "aa");
  EXPECT_EQ(ReplaceAll("none", "x", "y"), "none");
}

TEST(StringReplace, ReplaceChar) {
  EXPECT_EQ(ReplaceChar("a/b/c", '/', '\\'), "a\\b\\c");
  EXPECT_EQ(ReplaceChar(std::wstring(L"a/b"), L'/', L'\\'), L"a\\b");
}

TEST(TermsOfUse, EveryLineEndsInCarriageReturnLineFeed) {
  // A bare line feed shows as a box in a multi-line edit control.
  std::string text = TermsOfUseText();
  ASSERT_GT(text.size(), 1000u);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_GT(i, 0u);
      EXPECT_EQ(text[i - 1], '\r') << "at " << i;
    }
  }
  EXPECT_NE(text.find("TorvaneBackup.dat"), std::string::npos);
}
