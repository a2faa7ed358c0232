#pragma once
#include <locale>

#include "toolkit/base/NumberPunctuation.h"

namespace LumoUtility {

// The number punctuation of the Windows user locale (decimal separator, thousands
// separator, digit grouping). MinGW's library cannot build std::locale(""), so every
// number shown "in the user's regional format" goes through this locale instead.
NumberPunctuation UserNumberPunctuation();
std::locale UserDefaultLocale();

}  // namespace LumoUtility
