#pragma once
#include <windows.h>

namespace LumoUtility {

// The one procedure of every toolkit window class and of every standard control the
// toolkit subclasses: finds the element of the window and turns messages into calls of
// its operations; everything else goes to the window's own or the default procedure.
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace LumoUtility
