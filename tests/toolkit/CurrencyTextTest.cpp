#include <gtest/gtest.h>

#include "toolkit/CurrencyText.h"
#include "toolkit/NumberPunctuation.h"

using namespace LumoUtility;

namespace {

std::locale Italian() {
  NumberPunctuation punctuation;
  punctuation.decimalPoint = ',';
  punctuation.thousandsSeparator = '.';
  punctuation.grouping = "\3";
  return LocaleWithPunctuation(punctuation);
}

std::locale Ungrouped() {
  NumberPunctuation punctuation;
  punctuation.decimalPoint = '.';
  punctuation.thousandsSeparator = '\'';
  return LocaleWithPunctuation(punctuation);
}

}  // namespace

TEST(CurrencyText, SeparatorsComeFromWritingNumbers) {
  EXPECT_EQ(CurrencyDecimalSeparator(Italian()), ',');
  EXPECT_EQ(CurrencyThousandsSeparator(Italian()), '.');
  EXPECT_EQ(CurrencyDecimalSeparator(std::locale::classic()), '.');
  // No grouping: 1000 is all digits, so the separator falls back to ",".
  EXPECT_EQ(CurrencyThousandsSeparator(Ungrouped()), ',');
}

TEST(CurrencyText, FormatGroupsAndKeepsEveryDigit) {
  EXPECT_EQ(FormatCurrency(12.5, Italian()), "12,5");
  EXPECT_EQ(FormatCurrency(12.5, std::locale::classic()), "12.5");
  EXPECT_EQ(FormatCurrency(1234.5, Italian()), "1.234,5");
  EXPECT_EQ(FormatCurrency(0, Italian()), "0");
  EXPECT_EQ(FormatCurrency(1234567.89, Italian()), "1.234.567,89");
  EXPECT_EQ(FormatCurrency(999999999, Italian()), "999.999.999");
  EXPECT_EQ(FormatCurrency(0.1, Italian()), "0,1");
}

TEST(CurrencyText, ParseDropsSeparatorsAndReadsNothingAsZero) {
  EXPECT_DOUBLE_EQ(ParseCurrency("1.234,5", '.', Italian()), 1234.5);
  EXPECT_DOUBLE_EQ(ParseCurrency("1234,5", '.', Italian()), 1234.5);
  EXPECT_DOUBLE_EQ(ParseCurrency(",5", '.', Italian()), 0.5);
  EXPECT_DOUBLE_EQ(ParseCurrency("", '.', Italian()), 0);
  EXPECT_DOUBLE_EQ(ParseCurrency("abc", '.', Italian()), 0);
  EXPECT_DOUBLE_EQ(ParseCurrency("1,234.5", ',', std::locale::classic()), 1234.5);
  // Every amount written reads back the same.
  for (double amount : {0.0, 0.01, 12.5, 1234.5, 99999.99, 1234567.89, 999999999.0}) {
    EXPECT_DOUBLE_EQ(ParseCurrency(FormatCurrency(amount, Italian()), '.', Italian()), amount);
  }
}

TEST(CurrencyText, OnlyTextTheBoxLetsBeTypedIsAnAmount) {
  for (const char* amount : {"", "0", "12", "1.234,5", ",5", "1.234", "5,"}) {
    EXPECT_TRUE(IsCurrencyText(amount, ',', '.')) << amount;
  }
  for (const char* other : {"abc", "12abc", "-5", "+5", "1e300", "1,2,3", ",", ".", " 5", "5 ",
                            "0x10", "1;DROP", "inf", "nan"}) {
    EXPECT_FALSE(IsCurrencyText(other, ',', '.')) << other;
  }
  EXPECT_TRUE(IsCurrencyText("1,234.5", '.', ','));
  EXPECT_FALSE(IsCurrencyText("1.234,5.0", '.', ','));
}
