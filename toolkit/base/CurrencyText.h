#pragma once
#include <locale>
#include <string>

namespace LumoUtility {

// Money amounts as the user reads and types them, in the punctuation of a locale.

// The first character that is not a decimal digit when 0.1 is written in the locale;
// "." when there is none.
char CurrencyDecimalSeparator(const std::locale& locale);
// The same for 1000; "," for a locale without digit grouping.
char CurrencyThousandsSeparator(const std::locale& locale);

// General notation with the locale's decimal point and digit grouping: 12.5 is "12,5"
// under Italian punctuation. Fifteen significant digits, so that every amount a user can
// type comes back with all its digits and without an exponent.
std::string FormatCurrency(double amount, const std::locale& locale);

// The numeric keypad's decimal key types "." whatever the layout, and receipts are copied
// that way: in a text without a decimal separator, a lone grouping separator that is not
// followed by exactly three digits is taken for the decimal point ("45.50" is 45,50 under
// Italian punctuation, "1.234" stays 1234). Any other text is returned as it is.
std::string WithDecimalPoint(const std::string& text, char decimalSeparator,
                             char thousandsSeparator);

// Reads the text as WithDecimalPoint does, drops every thousands separator and reads a
// number with the locale's decimal point. Text that does not start with a number (an
// empty box, pasted words) reads as 0.
double ParseCurrency(const std::string& text, char thousandsSeparator, const std::locale& locale);

// True when the text is an amount as the box lets it be typed: digits, grouping
// separators and at most one decimal separator, with at least one digit; or nothing at
// all (no amount). Pasted text can hold anything else: a sign, an exponent, words. A text
// without a decimal separator whose grouping separators do not each precede exactly three
// digits, even read as WithDecimalPoint does ("1.234.5", "1.2.3"), is no amount either:
// no reading of it is safe.
bool IsCurrencyText(const std::string& text, char decimalSeparator, char thousandsSeparator);

}  // namespace LumoUtility
