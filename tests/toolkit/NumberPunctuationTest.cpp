#include "toolkit/base/NumberPunctuation.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

using namespace LumoUtility;

namespace {

template <typename T>
std::string Format(const NumberPunctuation& punctuation, T value) {
  std::ostringstream stream;
  stream.imbue(LocaleWithPunctuation(punctuation));
  stream << value;
  return stream.str();
}

}  // namespace

TEST(NumberPunctuation, WindowsGroupingPatterns) {
  EXPECT_EQ(GroupingFromWindowsPattern("3;0"), "\3");
  EXPECT_EQ(GroupingFromWindowsPattern("3;2;0"), std::string("\3\2"));
  EXPECT_EQ(GroupingFromWindowsPattern("3"), std::string("\3") + char(CHAR_MAX));
  EXPECT_EQ(GroupingFromWindowsPattern("0"), "");
  EXPECT_EQ(GroupingFromWindowsPattern(""), "");
  EXPECT_EQ(GroupingFromWindowsPattern("x;0"), "");
}

TEST(NumberPunctuation, ItalianAndEnglishForms) {
  NumberPunctuation italian{',', '.', "\3"};
  EXPECT_EQ(Format(italian, 12000), "12.000");
  EXPECT_EQ(Format(italian, 1234567), "1.234.567");
  EXPECT_EQ(Format(italian, 45.5), "45,5");
  EXPECT_EQ(Format(italian, 1234.5), "1.234,5");
  EXPECT_EQ(Format(italian, 999), "999");
  EXPECT_EQ(Format(italian, -12000), "-12.000");

  NumberPunctuation english{'.', ',', "\3"};
  EXPECT_EQ(Format(english, 12000), "12,000");
  EXPECT_EQ(Format(english, 45.5), "45.5");
}

TEST(NumberPunctuation, IndianGroupingAndNoGrouping) {
  NumberPunctuation indian{'.', ',', "\3\2"};
  EXPECT_EQ(Format(indian, 123456789), "12,34,56,789");
  NumberPunctuation firstGroupOnly{'.', ',', std::string("\3") + char(CHAR_MAX)};
  EXPECT_EQ(Format(firstGroupOnly, 123456789), "123456,789");
  NumberPunctuation none{'.', ',', ""};
  EXPECT_EQ(Format(none, 123456789), "123456789");
}
