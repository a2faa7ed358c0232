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

bool ParseKm(const std::string& text, char thousandsSeparator, std::int32_t minimum,
             std::int32_t maximum, std::int32_t& value) {
  std::int64_t number = 0;
  bool digit = false;
  for (char character : text) {
    if (character == thousandsSeparator) continue;
    if (character < '0' || character > '9') return false;
    digit = true;
    number = number * 10 + (character - '0');
    if (number > maximum) return false;
  }
  if (!digit || number < minimum) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

bool ReadSpinner(LumoUtility::NumericBox& spinner, std::int32_t& value) {
  if (!spinner.window) {
    value = spinner.value;
    return true;
  }
  BOOL failed = FALSE;
  const LRESULT position =
      SendMessageW(spinner.window, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
  bool readable = !failed;
  std::int32_t read = static_cast<std::int32_t>(position);
  // The control drops the user's grouping separator and reads the rest; Wine's drops
  // commas whatever the user's separator, so that under Italian settings it reads "1,5"
  // as 15 and refuses "1.500". The text is therefore read here the way Windows does.
  if (spinner.buddy) {
    readable = ParseKm(spinner.buddy->GetTextAnsi(),
                       LumoUtility::UserNumberPunctuation().thousandsSeparator, spinner.minimum,
                       spinner.maximum, read);
  }
  value = readable ? read : spinner.minimum;
  spinner.value = value;
  return readable;
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
