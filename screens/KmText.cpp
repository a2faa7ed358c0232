#include "screens/KmText.h"

#include <windows.h>

#include <sstream>

#include "toolkit/base/NumberText.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"
#include "toolkit/base/TextEncoding.h"
#include "toolkit/UserLocale.h"

namespace MyApp {
namespace {

// Whether the user's separator is the one shown once the program's 8-bit text is widened.
bool SpinnerReadsSeparator(char separator) {
  wchar_t buffer[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, 8) <= 0) return false;
  return LumoUtility::WidenText(std::string(1, separator))[0] == buffer[0];
}

constexpr char kSpinnerSeparator = ',';

bool IsDigit(char character) { return character >= '0' && character <= '9'; }

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
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char character = text[i];
    if (character == thousandsSeparator) continue;
    // The up-down control's own grouping, as Wine's arrows write it whatever the user's
    // separator ("12,001" under Italian settings): a "," between digits that precedes
    // exactly three. Any other "," ("1,5") is no whole number of km.
    if (character == kSpinnerSeparator) {
      if (!digit || !LumoUtility::ThreeDigitsAt(text, i + 1)) return false;
      continue;
    }
    if (!IsDigit(character)) return false;
    digit = true;
    number = number * 10 + (character - '0');
    if (number > maximum) return false;
  }
  if (!digit || number < minimum) return false;
  value = static_cast<std::int32_t>(number);
  return true;
}

bool ReadSpinner(LumoUtility::NumericBox& spinner, std::int32_t& value) {
  if (!spinner.window || !spinner.buddy) {
    value = spinner.GetValue();
    return true;
  }
  // The control drops the user's grouping separator and reads the rest; Wine's drops
  // commas whatever the user's separator, so that under Italian settings it reads "1,5"
  // as 15 and refuses "1.500". The text is therefore read here the way Windows does.
  std::int32_t read = spinner.minimum;
  const bool readable =
      ParseKm(spinner.buddy->GetTextAnsi(), LumoUtility::UserNumberPunctuation().thousandsSeparator,
              spinner.minimum, spinner.maximum, read);
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
