#include "toolkit/Label.h"

#include "toolkit/ChildControl.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

Label::Label(GUIElement* parentElement, const std::string& caption) {
  parent = parentElement;
  typeName = "label";
  text = WidenText(caption);
  width = 80;
  height = 30;
}

DWORD Label::LabelStyle() const {
  DWORD style = WS_CHILD | WS_VISIBLE | SS_NOTIFY;
  if (!enabled) style |= WS_DISABLED;
  if (border) style |= WS_BORDER;
  if (showAmpersands) style |= SS_NOPREFIX;
  if (alignRight) {
    style |= SS_RIGHT;
  } else if (center) {
    style |= SS_CENTER;
  }
  return style;
}

void Label::Create() {
  CreateChildControl(*this, L"static", LabelStyle(), border ? WS_EX_CLIENTEDGE : 0);
}

void Label::ApplyStyle() {
  if (!created || !window) return;
  SetLastError(0);
  LONG_PTR previous = SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(LabelStyle()));
  if (previous == 0 && GetLastError() != 0) return;
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace LumoUtility
