// Run twice by CTest, once per user locale (Wine takes the user locale from LC_ALL).
#include "toolkit/UserLocale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "toolkit/SystemDates.h"
#include "toolkit/base/NumberText.h"

using namespace LumoUtility;

namespace {

template <typename T>
std::string InUserLocale(T value) {
  std::ostringstream stream;
  stream.imbue(UserDefaultLocale());
  stream << value;
  return stream.str();
}

}  // namespace

TEST(ItalianUserLocale, GroupsThousandsWithDotsAndUsesTheDecimalComma) {
  NumberPunctuation punctuation = UserNumberPunctuation();
  EXPECT_EQ(punctuation.decimalPoint, ',');
  EXPECT_EQ(punctuation.thousandsSeparator, '.');
  EXPECT_EQ(InUserLocale(12000), "12.000");
  EXPECT_EQ(InUserLocale(45.5), "45,5");
  EXPECT_EQ(InUserLocale(1234567), "1.234.567");
  // Day before month; leading zeros depend on the system's Italian date picture.
  EXPECT_THAT(FormatShortDate(MakeDate(2020, 3, 5)), testing::MatchesRegex("0?5/0?3/2020"));
}

TEST(ItalianUserLocale, SqlNumberTextsIgnoreTheLocale) {
  EXPECT_EQ(IntToText(12000), "12000");
  EXPECT_EQ(DoubleToText(45.5), "45.5");
}

TEST(EnglishUserLocale, GroupsThousandsWithCommas) {
  EXPECT_EQ(InUserLocale(12000), "12,000");
  EXPECT_EQ(InUserLocale(45.5), "45.5");
  EXPECT_EQ(FormatShortDate(MakeDate(2020, 3, 5)), "3/5/2020");
}

TEST(EnglishUserLocale, SqlNumberTextsIgnoreTheLocale) {
  EXPECT_EQ(IntToText(12000), "12000");
  EXPECT_EQ(DoubleToText(45.5), "45.5");
}
