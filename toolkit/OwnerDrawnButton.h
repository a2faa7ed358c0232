#pragma once
#include <windows.h>

namespace LumoUtility {

class Button;

// Paints an owner-drawn button into the context (which it does not own) over the item
// rectangle, for the given ODS_ state: background colour of the context, a one-pixel
// outline (grey when disabled, inverted text colour when pressed), the button's picture,
// the caption centred, and the focus rectangle.
void PaintOwnerDrawnButton(Button& button, HDC dc, const RECT& item, UINT itemState);

}  // namespace LumoUtility
