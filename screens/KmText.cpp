#include "screens/KmText.h"

#include <windows.h>

#include <sstream>

#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/UserLocale.h"
#include "toolkit/base/NumberText.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

// Whether the user's separator is the one shown once the program's 8-bit text is widened.
bool SpinnerReadsSeparator(char separator) {
  wchar_t buffer[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8) <= 0) return false;
  return LumoUtility::WidenText(std::string(1, separator))[0] == buffer[0];
}

}  // namespace

std::string PlainKm(std::int32_t km) { return LumoUtility::IntToText(km); }

std::string GroupedKm(std::int32_t km) {
  const LumoUtility::NumberPunctuation punctuation = LumoUtility::UserNumberPunctuation();
  if (!SpinnerReadsSeparator(punctuation.thousandsSeparator)) return PlainKm(km);
  std::ostringstream stream;
  stream.imbue(LumoUtility::LocaleWithPunctuation(punctuation));
  stream << km;
  return stream.str();
}

bool ReadSpinner(LumoUtility::NumericBox& spinner, std::int32_t& value) {
  int read = spinner.minimum;
  const bool readable = spinner.TryGetValue(read);
  value = readable ? read : spinner.minimum;
  spinner.value = value;
  return readable;
}

void ShowGroupedKm(LumoUtility::NumericBox& spinner, std::int32_t km) {
  if (!spinner.buddy) return;
  // The control's position first: its arrows step from there whenever it cannot read the
  // grouped text itself (Wine's reads only ","-grouping), and writing the position also
  // writes the control's own text, which the grouped figure then replaces.
  spinner.SetValue(km);
  spinner.buddy->SetText(GroupedKm(km));
}

}  // namespace MyApp
