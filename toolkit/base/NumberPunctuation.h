#pragma once
#include <locale>
#include <string>

namespace LumoUtility {

// How numbers shown to the user are punctuated.
struct NumberPunctuation {
  char decimalPoint = '.';
  char thousandsSeparator = ',';
  std::string grouping;  // std::numpunct form: one byte per group size, last one repeats
};

// A locale that is the classic one except for its number punctuation.
std::locale LocaleWithPunctuation(const NumberPunctuation& punctuation);

// Turns a Windows grouping pattern ("3;0", "3;2;0", "3") into std::numpunct form.
// In Windows a trailing ";0" repeats the last size; without it grouping stops there.
std::string GroupingFromWindowsPattern(const std::string& pattern);

}  // namespace LumoUtility
