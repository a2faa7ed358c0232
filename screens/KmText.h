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

// The spinner's checked read (the buddy text read the way the spinner does on Windows);
// false when the text is not a number within the spinner's range, value and the spinner's
// stored value then being its minimum.
bool ReadSpinner(LumoUtility::NumericBox& spinner, std::int32_t& value);

}  // namespace MyApp
