#include <gtest/gtest.h>

#include "toolkit/base/CurrencyText.h"
#include "toolkit/base/NumberPunctuation.h"

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

// The keypad's "." and receipts copied with it: a lone grouping separator that does not
// precede exactly three digits is the decimal point; a text it leaves unsure is no amount.
TEST(CurrencyText, AGroupingSeparatorOutOfPlaceIsTheDecimalPoint) {
  const struct {
    const char* text;
    bool amount;
    double value;
  } cases[] = {
      {"45.50", true, 45.5},
      {"45.5", true, 45.5},
      {"1.2345", true, 1.2345},
      {"45.", true, 45},
      {".5", true, 0.5},
      {"1.234", true, 1234},
      {"1.234,5", true, 1234.5},
      {"1.234.567", true, 1234567},
      {"12.345,67", true, 12345.67},
      {"0,1", true, 0.1},
      {"1.234.5", false, 0},
      {"1.2.3", false, 0},
      {"12.34.567", false, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsCurrencyText(c.text, ',', '.'), c.amount) << c.text;
    if (c.amount) {
      EXPECT_DOUBLE_EQ(ParseCurrency(c.text, '.', Italian()), c.value) << c.text;
    }
  }
  // The same rule whatever the punctuation: "45,50" under English settings is 45.50.
  EXPECT_DOUBLE_EQ(ParseCurrency("45,50", ',', std::locale::classic()), 45.5);
  EXPECT_DOUBLE_EQ(ParseCurrency("1,234", ',', std::locale::classic()), 1234);
}
