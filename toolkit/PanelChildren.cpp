#include "toolkit/PanelChildren.h"

#include "toolkit/ElementRegistry.h"
#include "toolkit/ToolkitState.h"
#include "toolkit/WindowProcedure.h"

namespace LumoUtility {

PanelChildren::PanelChildren(GUIElement* parentElement) {
  parent = parentElement;
  typeName = "panel";
}

PanelChildren::~PanelChildren() {
  // The window goes before the class it belongs to; the class goes with the member.
  ReleaseWindow();
}

DWORD PanelChildren::PanelStyle() const {
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (tabStop) style |= WS_TABSTOP;
  if (!enabled) style |= WS_DISABLED;
  if (border) style |= WS_BORDER;
  if (horizontalScrollBar) style |= WS_HSCROLL;
  if (verticalScrollBar) style |= WS_VSCROLL;
  return style;
}

DWORD PanelChildren::PanelExtendedStyle() const {
  return border && !flatBorder ? WS_EX_CLIENTEDGE : 0;
}

void PanelChildren::Create() {
  if (created) return;
  ToolkitState& state = Toolkit();
  std::wstring className = L"PanelChildren" + std::to_wstring(state.elementIdCounter);
  id = TakeNextElementId();

  HINSTANCE parentInstance = parent ? parent->instance : nullptr;
  WNDCLASSW description{};
  description.style = CS_DBLCLKS;
  description.lpfnWndProc = WindowProcedure;
  description.hInstance = parentInstance;
  description.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  OwnedBrush background = ClassBackgroundBrush(backColour, &description.hbrBackground);
  classRegistration_.Register(description, className, std::move(background));

  HWND newWindow = nullptr;
  {
    WindowCreation creation(*this, className);
    newWindow =
        CreateWindowExW(PanelExtendedStyle(), className.c_str(), text.c_str(), PanelStyle(), x, y,
                        width, height, parent ? parent->window : nullptr,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), parentInstance, nullptr);
  }
  window = newWindow;
  // Created before it is first shown: showing paints it at once, and a paint that finds
  // the element not created draws nothing, leaving a bare background until the next change.
  created = true;
  ShowWindow(newWindow, SW_SHOW);
  UpdateWindow(newWindow);
  if (onCreated) onCreated(this, newWindow);
  SetScrollRange(scrollMin, scrollMax);
  CreateToolTip();
  if (font) SendMessageW(newWindow, WM_SETFONT, reinterpret_cast<WPARAM>(CreateFont(*font)), TRUE);
}

void PanelChildren::ApplyStyle() {
  if (!created) return;
  SetLastError(0);
  LONG_PTR previous = SetWindowLongPtrW(window, GWL_STYLE, static_cast<LONG_PTR>(PanelStyle()));
  if (previous == 0 && GetLastError() != 0) return;
  SetWindowPos(window, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PanelChildren::SetBorder(bool show) {
  border = show;
  ApplyStyle();
}

void PanelChildren::SetVerticalScrollBar(bool show) {
  verticalScrollBar = show;
  ApplyStyle();
}

void PanelChildren::SetHorizontalScrollBar(bool show) {
  horizontalScrollBar = show;
  ApplyStyle();
}

void PanelChildren::SetScrollRange(int minimum, int maximum) {
  scrollMin = minimum;
  scrollMax = maximum;
  if (!created) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = minimum;
  info.nMax = maximum;
  info.nPage = static_cast<UINT>((maximum - minimum) / 10);
  if (verticalScrollBar) SetScrollInfo(window, SB_VERT, &info, TRUE);
  if (horizontalScrollBar) SetScrollInfo(window, SB_HORZ, &info, TRUE);
}

void PanelChildren::SetHorizontalExtent(int extent) {
  scrollMin = 0;
  scrollMax = extent;
  if (!created) return;
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMin = 0;
  info.nMax = extent + extent / 10;
  info.nPage = static_cast<UINT>(extent / 10);
  SetScrollInfo(window, SB_HORZ, &info, TRUE);
}

HBRUSH PanelChildren::GetBackgroundBrush(HDC dc) {
  if (font) SelectObject(dc, CreateFont(*font));
  int colour = childBackColour != kNoColour ? childBackColour : backColour;
  HBRUSH brush = nullptr;
  if (colour != kNoColour) {
    SetBkColor(dc, static_cast<COLORREF>(colour));
    // Controls ask on every paint: the brush is kept and only made again when the
    // colour it should have changes.
    if (!childBrush || childBrushColour_ != colour) {
      childBrush.Reset(CreateSolidBrush(static_cast<COLORREF>(colour)));
      childBrushColour_ = colour;
    }
    brush = childBrush.Get();
  } else {
    childBrush.Reset();
    brush = GetSysColorBrush(COLOR_BTNFACE);
  }
  if (childTextColour != kNoColour) SetTextColor(dc, static_cast<COLORREF>(childTextColour));
  return brush;
}

}  // namespace LumoUtility
