#include "toolkit/GUIElement.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "toolkit/ElementRegistry.h"
#include "toolkit/FocusMemory.h"
#include "toolkit/GdiObjects.h"
#include "toolkit/ToolkitState.h"
#include "toolkit/WindowProcedure.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

std::wstring ToolTipText(const std::string& toolTip) {
  std::wstring wide = WidenText(toolTip);
  if (wide.size() > kMaxToolTipLength) wide.resize(kMaxToolTipLength);
  return wide;
}

TTTOOLINFOW ToolInfo(HWND window) {
  TTTOOLINFOW info{};
  // The version-5 size is understood by every comctl32, with or without a manifest.
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = window;
  info.uId = reinterpret_cast<UINT_PTR>(window);
  GetClientRect(window, &info.rect);
  return info;
}

}  // namespace

GUIElement::GUIElement(HINSTANCE instanceHandle) : instance(instanceHandle) {
  ElementRegistry::Add(this);
}

GUIElement::~GUIElement() { ReleaseWindow(); }

void GUIElement::ReleaseWindow() {
  ElementRegistry::Remove(this);
  ForgetElement(this);
  if (toolTipWindow && IsWindow(toolTipWindow)) DestroyWindow(toolTipWindow);
  toolTipWindow = nullptr;
  // A window that already went (its WM_DESTROY set destroyed) is not touched: its old
  // handle may by now name another window.
  if (window && !destroyed && IsWindow(window)) {
    if (previousWindowProc &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == WindowProcedure) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWindowProc));
      DestroyWindow(window);
    } else {
      RetiringWindow retiring(window, previousWindowProc);
      DestroyWindow(window);
    }
  }
  window = nullptr;
  created = false;
}

void GUIElement::SetBackColor(int colour) {
  backColour = colour;
  if (!created) return;
  InvalidateRect(window, nullptr, TRUE);
  PaintScope paint(window);
  if (!paint.Get()) return;
  RECT client{};
  GetClientRect(window, &client);
  COLORREF previous = SetBkColor(paint.Get(), static_cast<COLORREF>(colour));
  ExtTextOutW(paint.Get(), 0, 0, ETO_OPAQUE, &client, L"", 0, nullptr);
  SetBkColor(paint.Get(), previous);
  backgroundPainted = true;
}

void GUIElement::SetEnabled(bool enable) {
  enabled = enable;
  if (created) EnableWindow(window, enable);
}

void GUIElement::SetText(const std::wstring& newText) {
  text = newText;
  if (created) SetWindowTextW(window, text.c_str());
}

void GUIElement::SetText(const std::string& newText) { SetText(WidenText(newText)); }

void GUIElement::OnLeftButtonUp(int px, int py) {
  if (onLeftButtonUp) onLeftButtonUp(this, window, px, py);
}
void GUIElement::OnLeftButtonDown(int px, int py) {
  if (onLeftButtonDown) onLeftButtonDown(this, window, px, py);
}
void GUIElement::OnLeftDoubleClick(int px, int py) {
  if (onLeftDoubleClick) onLeftDoubleClick(this, window, px, py);
}
void GUIElement::OnRightButtonUp(int px, int py) {
  if (onRightButtonUp) onRightButtonUp(this, window, px, py);
}
void GUIElement::OnRightButtonDown(int px, int py) {
  if (onRightButtonDown) onRightButtonDown(this, window, px, py);
}
void GUIElement::OnRightDoubleClick(int px, int py) {
  if (onRightDoubleClick) onRightDoubleClick(this, window, px, py);
}
void GUIElement::OnKeyUp(int key) {
  if (onKeyUp) onKeyUp(this, key);
}
void GUIElement::OnKeyDown(int key) {
  if (onKeyDown) onKeyDown(this, key);
}
bool GUIElement::OnKeyPress(int character) {
  return onKeyPress ? onKeyPress(this, character) : true;
}
void GUIElement::OnMouseMove(int px, int py) {
  if (onMouseMove) onMouseMove(this, px, py);
}
void GUIElement::OnMouseHover() {
  if (onMouseHover) onMouseHover(this);
}
void GUIElement::OnMouseLeave() {
  if (onMouseLeave) onMouseLeave(this);
}

void GUIElement::Focus() {
  if (!created) return;
  // Remembered first: a form that is not active yet (one whose controls are being built)
  // gives the control the focus as soon as it is activated.
  RememberFocusedControl(window);
  SetFocus(window);
}

void GUIElement::OnMove() {
  RefreshPosition();
  if (onMove) onMove(this);
}

void GUIElement::OnResize() {
  if (onResize) onResize(this);
}

void GUIElement::OnPaint() {
  if (backgroundPainted) SetBackColor(backColour);
  if (onPaint) onPaint(this);
}

HBRUSH GUIElement::GetBackgroundBrush(HDC) { return nullptr; }

bool GUIElement::OnClosing() { return onClosing ? onClosing(this) : true; }

void GUIElement::OnDestroy() {
  if (onDestroy) onDestroy(this);
  destroyed = true;
}

void GUIElement::OnGotFocus() {
  textAtFocus = GetText();
  if (onGotFocus) onGotFocus(this);
}

void GUIElement::OnLostFocus() {
  if (onLostFocus) onLostFocus(this);
  if (GetText() != textAtFocus && onTextChanged) onTextChanged(this);
}

void GUIElement::OnActivate() {
  if (onActivate) onActivate(this);
}

void GUIElement::OnDeactivate() {
  if (onDeactivate) onDeactivate(this);
}

void GUIElement::OnCreated(HWND newWindow) {
  if (!window) window = newWindow;
  if (createdFired) return;
  // Set before the call: the callback may cause messages that come back here.
  createdFired = true;
  if (onCreated) onCreated(this, window);
}

void GUIElement::Redraw() {
  if (created) RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

bool GUIElement::GetWaitCursor() { return waitCursor; }
bool GUIElement::GetHandCursor() { return handCursor; }
void GUIElement::SetWaitCursor(bool show) { waitCursor = show; }
void GUIElement::SetHandCursor(bool show) { handCursor = show; }
void GUIElement::OnShow() {}
void GUIElement::OnItemNotify(int, int, int) {}

void GUIElement::Show() {
  if (!created) Create();
  ShowWindow(window, SW_SHOWNA);
  visible = true;
}

void GUIElement::Hide() {
  if (!created) return;
  ShowWindow(window, SW_HIDE);
  visible = false;
}

std::wstring GUIElement::ReadWindowText() const {
  int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  int copied = GetWindowTextW(window, buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<size_t>(std::max(copied, 0)));
}

std::wstring GUIElement::GetText() {
  if (created) text = ReadWindowText();
  return text;
}

std::string GUIElement::GetTextAnsi() { return NarrowText(GetText()); }

void GUIElement::SetPosition(int newX, int newY) {
  x = newX;
  y = newY;
  if (!created) return;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Redraw();
}

void GUIElement::SetSize(int newWidth, int newHeight) {
  width = newWidth;
  height = newHeight;
  if (!created) return;
  SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateToolTip();
  Redraw();
}

POINT GUIElement::RefreshPosition() {
  if (!created) return POINT{x, y};
  RECT bounds{};
  GetWindowRect(window, &bounds);
  POINT corner{bounds.left, bounds.top};
  if (parent && parent->window) ScreenToClient(parent->window, &corner);
  x = corner.x;
  y = corner.y;
  return corner;
}

void GUIElement::CreateToolTip() {
  if (toolTip.empty() || !window) return;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
  if (!toolTipWindow) {
    toolTipWindow =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, nullptr, nullptr);
  }
  if (!toolTipWindow) return;
  SetWindowPos(toolTipWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  std::wstring tip = ToolTipText(toolTip);
  TTTOOLINFOW info = ToolInfo(window);
  info.uFlags = TTF_SUBCLASS;
  info.lpszText = tip.data();
  SendMessageW(toolTipWindow, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void GUIElement::UpdateToolTip() {
  if (!toolTipWindow) {
    CreateToolTip();
    return;
  }
  std::wstring tip = ToolTipText(toolTip);
  TTTOOLINFOW info = ToolInfo(window);
  info.lpszText = tip.data();
  SendMessageW(toolTipWindow, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  SendMessageW(toolTipWindow, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
}

void GUIElement::SetToolTip(const std::string& newText) {
  toolTip = newText;
  if (!toolTipWindow) {
    CreateToolTip();
    return;
  }
  UpdateToolTip();
  SendMessageW(toolTipWindow, TTM_ACTIVATE, toolTip.empty() ? FALSE : TRUE, 0);
}

}  // namespace LumoUtility
