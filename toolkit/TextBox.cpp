#include "toolkit/TextBox.h"

#include "toolkit/ChildControl.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

TextBox::TextBox(GUIElement* parentElement, const std::string& initialText) {
  parent = parentElement;
  typeName = "textbox";
  text = WidenText(initialText);
  width = 80;
  height = 30;
}

DWORD TextBox::TextBoxStyle() const {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
  if (!enabled) style |= WS_DISABLED;
  if (horizontalScrollBar) style |= WS_HSCROLL;
  if (verticalScrollBar) style |= WS_VSCROLL;
  if (numbersOnly) style |= ES_NUMBER;
  if (border) style |= WS_BORDER;
  if (multiline) {
    style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    if (!wordWrap) style |= ES_AUTOHSCROLL;
  } else {
    style |= ES_AUTOHSCROLL;
  }
  if (readOnly) style |= ES_READONLY;
  if (uppercase) {
    style |= ES_UPPERCASE;
  } else if (lowercase) {
    style |= ES_LOWERCASE;
  }
  if (alignRight) {
    style |= ES_RIGHT;
  } else if (center) {
    style |= ES_CENTER;
  }
  return style;
}

void TextBox::Create() {
  if (created) return;
  CreateChildControl(*this, L"edit", TextBoxStyle(), border ? WS_EX_CLIENTEDGE : 0);
  if (window && maxLength != -1) SendMessageW(window, EM_LIMITTEXT, maxLength, 0);
}

void TextBox::SetMaxLength(int length) {
  maxLength = length;
  // EM_LIMITTEXT with 0 is the largest limit the control has, which is "no limit".
  if (created && window) SendMessageW(window, EM_LIMITTEXT, length == -1 ? 0 : length, 0);
}

void TextBox::ApplyStyle() {
  if (!created || !window) return;
  SetLastError(0);
  LONG_PTR previous = SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(TextBoxStyle()));
  if (previous == 0 && GetLastError() != 0) return;
  SendMessageW(window, EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
  SendMessageW(window, EM_SETPASSWORDCHAR, password ? L'*' : 0, 0);
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  InvalidateRect(window, nullptr, TRUE);
}

}  // namespace LumoUtility
