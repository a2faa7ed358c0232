#pragma once
#include <cstdint>
#include <string>

namespace LumoUtility {

// Locale-independent number texts, as written into SQL ("." is always the decimal point).
std::string IntToText(std::int64_t value);
std::wstring IntToWideText(std::int64_t value);
// Six significant digits, exponent form below 1e-4 and from 1e6 ("%Lg").
std::string DoubleToText(double value);
// A money amount for SQL: DoubleToText's text whenever its six digits give the amount back
// unchanged, else the fifteen significant digits a double keeps of any typed amount, so
// that 12345.67 is not stored as 12345.7.
std::string AmountToText(double value);
// Whether the text holds exactly three digits from position start on (a digit group after
// a grouping separator: "1.234" at 2, not "1.5" nor "1.2345").
bool ThreeDigitsAt(const std::string& text, std::size_t start);
// A whole number as an up-down control's buddy shows it, typed, pasted or stepped: decimal
// digits, the user's grouping separator (which may stand anywhere, as the control allows)
// and the control's own "," grouping, within the range; false otherwise.
bool ParseSpinnerText(const std::string& text, char thousandsSeparator, std::int32_t minimum,
                      std::int32_t maximum, std::int32_t& value);
// value in decimal, left-padded with "0" to at least width characters.
std::string ZeroPaddedInt(std::int64_t value, int width);

}  // namespace LumoUtility
