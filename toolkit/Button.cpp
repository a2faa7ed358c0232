#include "toolkit/Button.h"

#include "toolkit/ChildControl.h"
#include "toolkit/Drawing.h"
#include "toolkit/GdiObjects.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

Button::Button(GUIElement* parentElement, const std::string& caption) {
  parent = parentElement;
  typeName = "button";
  text = WidenText(caption);
  width = 80;
  height = 30;
}

void Button::Create() {
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (ownerDraw ? BS_OWNERDRAW : BS_PUSHBUTTON);
  if (!enabled) style |= WS_DISABLED;
  CreateChildControl(*this, L"Button", style, 0);
}

void Button::Press() {
  if (!window || !IsWindowEnabled(window) || !parent || !parent->window) return;
  SendMessageW(parent->window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(window));
}

int Button::DrawImage(Drawing& drawing, const RECT& item, bool) {
  HBITMAP picture = enabled ? image : disabledImage;
  if (!picture || !drawing.Context()) return 0;
  BITMAP size{};
  GetObjectW(picture, sizeof size, &size);
  MemoryDC source(drawing.Context());
  ObjectSelection selection(source.Get(), picture);
  int top = (item.bottom - item.top - size.bmHeight) / 2;
  BitBlt(drawing.Context(), item.left + 5, top, size.bmWidth, size.bmHeight, source.Get(), 0, 0,
         SRCCOPY);
  return size.bmWidth + item.left + 8;
}

}  // namespace LumoUtility
