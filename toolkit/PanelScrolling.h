#pragma once
#include <windows.h>

namespace LumoUtility {

class PanelChildren;

// Scroll-bar and wheel requests for a panel. Each moves the bar (the system clamps the
// position), scrolls the window by the clamped difference, and calls the panel's
// callback for that axis with the unclamped difference (old - requested) whenever the
// request asked for a different position.
void ScrollPanelByRequest(PanelChildren& panel, int bar, int request);
void ScrollPanelByWheel(PanelChildren& panel, int wheelDelta);

}  // namespace LumoUtility
