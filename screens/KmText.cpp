#include "screens/KmText.h"

#include <windows.h>
#include <commctrl.h>

#include <sstream>

#include "toolkit/NumberText.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/TextEncoding.h"
#include "toolkit/UserLocale.h"

namespace MyApp {
namespace {

// The separator the up-down control removes before reading its buddy's text.
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
  if (!spinner.window) {
    value = spinner.value;
    return true;
  }
  BOOL failed = FALSE;
  const LRESULT position =
      SendMessageW(spinner.window, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
  value = failed ? spinner.minimum : static_cast<std::int32_t>(position);
  spinner.value = value;
  return !failed;
}

void ShowGroupedKm(LumoUtility::NumericBox& spinner, std::int32_t km) {
  if (!spinner.buddy) return;
  spinner.buddy->SetText(GroupedKm(km));
  if (!spinner.window) return;
  BOOL failed = FALSE;
  const LRESULT read =
      SendMessageW(spinner.window, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
  if (failed || read != km) spinner.buddy->SetText(PlainKm(km));
}

}  // namespace MyApp
