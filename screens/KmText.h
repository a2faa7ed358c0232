#pragma once
#include <cstdint>
#include <string>

namespace LumoUtility {
class NumericBox;
class TextBox;
}  // namespace LumoUtility

namespace MyApp {

// The km figure as the user edits it: a plain decimal integer.
std::string PlainKm(std::int32_t km);

// The km figure as shown outside editing: grouped the user's way, in a form the km
// spinner reads back. A separator that does not survive the program's 8-bit text
// unchanged (a narrow no-break space, say) would make the spinner read the text as its
// minimum, so the figure is then written without grouping.
std::string GroupedKm(std::int32_t km);

// Moves the spinner to the km figure and writes the figure grouped (GroupedKm) into its
// buddy box, which ReadSpinner reads back whatever the control itself makes of it.
void ShowGroupedKm(LumoUtility::NumericBox& spinner, std::int32_t km);

// Reads the spinner's buddy text the way the spinner does on Windows; false when the text
// is not a number within the spinner's range (the spinner alone would answer its minimum).
bool ReadSpinner(LumoUtility::NumericBox& spinner, std::int32_t& value);

// A km figure as typed, pasted or stepped: decimal digits, the user's grouping separator
// (which may stand anywhere, as the up-down control allows) and the control's own ","
// grouping, within the range; false otherwise.
bool ParseKm(const std::string& text, char thousandsSeparator, std::int32_t minimum,
             std::int32_t maximum, std::int32_t& value);

}  // namespace MyApp
