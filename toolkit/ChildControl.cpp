#include "toolkit/ChildControl.h"

#include "toolkit/ElementRegistry.h"
#include "toolkit/GUIElement.h"
#include "toolkit/ToolkitState.h"
#include "toolkit/WindowProcedure.h"

namespace LumoUtility {

void SubclassWithToolkitProcedure(GUIElement& element) {
  if (!element.window) return;
  element.previousWindowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      element.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProcedure)));
}

void CreateChildControl(GUIElement& element, const wchar_t* className, DWORD style,
                        DWORD extendedStyle) {
  if (element.created) return;
  element.id = TakeNextElementId();
  HWND parentWindow = element.parent ? element.parent->window : nullptr;
  {
    WindowCreation creation(element, className);
    element.window = CreateWindowExW(
        extendedStyle, className, element.text.c_str(), style, element.x, element.y, element.width,
        element.height, parentWindow, reinterpret_cast<HMENU>(static_cast<INT_PTR>(element.id)),
        nullptr, nullptr);
  }
  SubclassWithToolkitProcedure(element);
  element.created = true;
  element.CreateToolTip();
  if (element.font && element.window) {
    SendMessageW(element.window, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFont(*element.font)),
                 TRUE);
  }
}

}  // namespace LumoUtility
