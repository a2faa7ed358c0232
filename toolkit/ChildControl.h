#pragma once
#include <windows.h>

namespace LumoUtility {

class GUIElement;

// Creates the window of a child element from a standard window class the way every
// control does: the next element id (also the control id), CreateWindowExW at the
// element's geometry with its text under the parent element's window, then the
// toolkit's procedure put in front of the control's own (kept in previousWindowProc),
// created, tooltip and font. Does nothing when the element is already created.
void CreateChildControl(GUIElement& element, const wchar_t* className, DWORD style,
                        DWORD extendedStyle);

// Puts WindowProcedure in front of the window's own procedure.
void SubclassWithToolkitProcedure(GUIElement& element);

}  // namespace LumoUtility
