#include "toolkit/UserLocale.h"

#include <windows.h>

#include <string>

#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

std::wstring LocaleText(LCTYPE item) {
  wchar_t buffer[16] = {};
  int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, 16);
  return length > 0 ? std::wstring(buffer) : std::wstring();
}

// Separators are single characters in the program's code page; one it cannot hold
// (a narrow no-break space, say) becomes the no-break space it can.
char SeparatorChar(const std::wstring& text, char fallback) {
  if (text.empty()) return fallback;
  std::string narrow = NarrowText(text.substr(0, 1));
  if (narrow[0] == '?' && text[0] != L'?') return '\xA0';
  return narrow[0];
}

}  // namespace

NumberPunctuation UserNumberPunctuation() {
  NumberPunctuation punctuation;
  punctuation.decimalPoint = SeparatorChar(LocaleText(LOCALE_SDECIMAL), '.');
  punctuation.thousandsSeparator = SeparatorChar(LocaleText(LOCALE_STHOUSAND), ',');
  punctuation.grouping = GroupingFromWindowsPattern(NarrowText(LocaleText(LOCALE_SGROUPING)));
  return punctuation;
}

std::locale UserDefaultLocale() { return LocaleWithPunctuation(UserNumberPunctuation()); }

}  // namespace LumoUtility
