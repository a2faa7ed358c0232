#include "toolkit/WindowProcedure.h"

#include <windowsx.h>

#include "toolkit/Button.h"
#include "toolkit/CommandRouting.h"
#include "toolkit/ControlNotifications.h"
#include "toolkit/ElementRegistry.h"
#include "toolkit/FocusMemory.h"
#include "toolkit/Form.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/OwnerDrawnButton.h"
#include "toolkit/PanelChildren.h"
#include "toolkit/PanelScrolling.h"
#include "toolkit/ToolkitState.h"

namespace LumoUtility {
namespace {

// Coordinates in lParam: the two signed 16-bit halves.
int LowCoordinate(LPARAM lParam) { return GET_X_LPARAM(lParam); }
int HighCoordinate(LPARAM lParam) { return GET_Y_LPARAM(lParam); }

void LoadSharedCursors(ToolkitState& state) {
  if (!state.waitCursorHandle) state.waitCursorHandle = LoadCursorW(nullptr, IDC_WAIT);
  if (!state.handCursorHandle) state.handCursorHandle = LoadCursorW(nullptr, IDC_HAND);
}

void Activate(GUIElement* element, HWND window) {
  ToolkitState& state = Toolkit();
  const bool foreground = GetForegroundWindow() == window;
  if (auto* form = dynamic_cast<Form*>(element)) {
    state.wheelTarget = nullptr;
    if (!foreground) {
      form->OnDeactivate();
      return;
    }
    if (state.lastActiveForm) state.lastActiveForm->OnDeactivate();
    if (PanelChildren* panel = state.lastActivePanel) {
      state.lastActivePanel = nullptr;
      panel->OnDeactivate();
    }
    form->OnActivate();
    state.lastActiveForm = form;
  } else if (auto* panel = dynamic_cast<PanelChildren*>(element)) {
    if (!foreground) {
      panel->OnDeactivate();
      return;
    }
    if (state.lastActivePanel) state.lastActivePanel->OnDeactivate();
    panel->OnActivate();
    state.lastActivePanel = panel;
  }
}

void MoveFocusByTab(GUIElement* element, HWND window) {
  HWND dialog = window;
  if (dynamic_cast<Child*>(element) && element->parent && element->parent->window) {
    dialog = element->parent->window;
  }
  const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  HWND next = GetNextDlgTabItem(dialog, window, backwards);
  if (!next) return;
  if (GUIElement* target = FindElementByWindow(next)) target->Focus();
}

// WM_HSCROLL / WM_VSCROLL; answers true when a panel took it.
bool Scroll(GUIElement* element, UINT message, WPARAM wParam, LPARAM lParam) {
  const int request = LOWORD(wParam);
  if (lParam && request == SB_ENDSCROLL) {
    element = FindElementByWindow(reinterpret_cast<HWND>(lParam));
  }
  auto* panel = dynamic_cast<PanelChildren*>(element);
  const bool vertical = message == WM_VSCROLL;
  if (!panel || !(vertical ? panel->verticalScrollBar : panel->horizontalScrollBar)) return false;
  if (vertical) Toolkit().wheelTarget = panel;
  ScrollPanelByRequest(*panel, vertical ? SB_VERT : SB_HORZ, request);
  return true;
}

bool Wheel(GUIElement* element, WPARAM wParam) {
  auto* panel = dynamic_cast<PanelChildren*>(element);
  if (!panel) panel = Toolkit().wheelTarget;
  if (!panel || !panel->verticalScrollBar) return false;
  ScrollPanelByWheel(*panel, GET_WHEEL_DELTA_WPARAM(wParam));
  return true;
}

bool DrawOwnerDrawnButton(WPARAM wParam, LPARAM lParam) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  GUIElement* element = FindElementById(static_cast<int>(wParam));
  if (!item || !element || element->typeName != "button" || item->CtlType != ODT_BUTTON) {
    return false;
  }
  auto* button = dynamic_cast<Button*>(element);
  if (!button) return false;
  PaintOwnerDrawnButton(*button, item->hDC, item->rcItem, item->itemState);
  return true;
}

void TrackMouse(HWND window) {
  ToolkitState& state = Toolkit();
  if (state.trackingMouse) return;
  TRACKMOUSEEVENT request{sizeof request, TME_HOVER | TME_LEAVE, window, HOVER_DEFAULT};
  state.trackingMouse = TrackMouseEvent(&request) != FALSE;
}

// A form waiting on another one keeps that one in front of it: the waiting form is
// disabled, and its companion must not end up hidden behind it. Whatever raised the
// form (its activation included), the companion goes back on top.
void KeepCompanionInFront(GUIElement* element, const WINDOWPOS& position) {
  auto* form = dynamic_cast<Form*>(element);
  if (!form || (position.flags & SWP_NOZORDER)) return;
  GUIElement* companion = form->companion;
  if (!companion || !companion->window || !IsWindow(companion->window)) return;
  SetWindowPos(companion->window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// One message for the element of the window (null when none). Answers true with *result
// when the message is answered here instead of by the default processing.
bool Dispatch(GUIElement* element, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
              LRESULT* result) {
  ToolkitState& state = Toolkit();
  LoadSharedCursors(state);
  const int px = LowCoordinate(lParam);
  const int py = HighCoordinate(lParam);
  switch (message) {
    case WM_CREATE:
      if (dynamic_cast<Form*>(element)) element->OnCreated(window);
      return false;
    case WM_DESTROY:
      if (element) element->OnDestroy();
      if (window == state.mainWindow) {
        // The handle dies here; keeping it could let a later window with a reused
        // handle end the loop.
        state.mainWindow = nullptr;
        PostQuitMessage(0);
      }
      return false;
    case WM_MOVE:
      if (element) element->OnMove();
      return false;
    case WM_SIZE:
      if (element) element->OnResize();
      return false;
    case WM_SHOWWINDOW:
      if (element) {
        element->OnShow();
        element->OnResize();
      }
      return false;
    case WM_ACTIVATE:
      if (!element) return false;
      Activate(element, window);
      // The default processing would focus the form's own window, losing the caret.
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
        auto* form = dynamic_cast<Form*>(element);
        if (form && GiveFocusBack(*form)) {
          *result = 0;
          return true;
        }
      }
      return false;
    case WM_WINDOWPOSCHANGED:
      if (element && lParam) {
        KeepCompanionInFront(element, *reinterpret_cast<const WINDOWPOS*>(lParam));
      }
      return false;
    case WM_SETFOCUS:
      if (element) {
        RememberFocusedControl(window);
        element->OnGotFocus();
      }
      return false;
    case WM_KILLFOCUS:
      if (element) element->OnLostFocus();
      return false;
    case WM_PAINT:
      if (element) element->OnPaint();
      return false;
    case WM_CLOSE:
      if (element && !element->OnClosing()) {
        *result = 1;
        return true;
      }
      return false;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && element) {
        if (element->GetHandCursor()) {
          SetCursor(state.handCursorHandle);
          *result = TRUE;
          return true;
        }
        if (element->GetWaitCursor()) {
          SetCursor(state.waitCursorHandle);
          *result = TRUE;
          return true;
        }
      }
      return false;
    case WM_KEYDOWN:
      if (element) {
        if (wParam == VK_TAB) MoveFocusByTab(element, window);
        element->OnKeyDown(static_cast<int>(wParam));
      }
      return false;
    case WM_KEYUP:
      if (element) element->OnKeyUp(static_cast<int>(wParam));
      return false;
    case WM_CHAR: {
      if (!element) return false;
      const int character = static_cast<int>(wParam);
      // Enter on a focused push button presses it, as Space does; the form never sees
      // that Enter (it would act on it a second time).
      if (character == kEnter) {
        if (auto* button = dynamic_cast<Button*>(element)) {
          button->Press();
          *result = 0;
          return true;
        }
        // A list view activated its row on the key itself (LVN_ITEMACTIVATE).
        if (element->typeName == "listview") {
          *result = 0;
          return true;
        }
      }
      GUIElement* previewer =
          dynamic_cast<Child*>(element) && element->parent && element->parent->keyPreview
              ? element->parent
              : nullptr;
      const bool accepted = element->OnKeyPress(character);
      if (previewer) previewer->OnKeyPress(character);
      if (!accepted) {
        *result = 1;
        return true;
      }
      return false;
    }
    case WM_GETDLGCODE:
      // A form run as a dialog would give Enter to its default button; on a list view it
      // activates the selected row.
      if (element && element->typeName == "listview" && element->previousWindowProc && lParam) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key->message == WM_KEYDOWN && key->wParam == VK_RETURN) {
          *result = CallWindowProcW(element->previousWindowProc, window, message, wParam, lParam) |
                    DLGC_WANTMESSAGE;
          return true;
        }
      }
      return false;
    case WM_PASTE:
      if (auto* notifications = dynamic_cast<ControlNotifications*>(element)) {
        if (!notifications->OnPaste()) {
          *result = 0;
          return true;
        }
      }
      return false;
    case WM_COMMAND: return RouteCommand(wParam, lParam, result);
    case WM_NOTIFY:
      return lParam && RouteNotification(*reinterpret_cast<const NMHDR*>(lParam), lParam, result);
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Scroll(element, message, wParam, lParam)) {
        *result = 0;
        return true;
      }
      return false;
    case WM_MOUSEWHEEL:
      if (Wheel(element, wParam)) {
        *result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      if (element) {
        if (HBRUSH brush = element->GetBackgroundBrush(reinterpret_cast<HDC>(wParam))) {
          *result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    case WM_DRAWITEM:
      if (DrawOwnerDrawnButton(wParam, lParam)) {
        *result = TRUE;
        return true;
      }
      return false;
    case WM_MOUSEMOVE:
      if (element) {
        element->OnMouseMove(px, py);
        TrackMouse(window);
      }
      return false;
    case WM_MOUSEHOVER:
      if (element) element->OnMouseHover();
      return false;
    case WM_MOUSELEAVE:
      state.trackingMouse = false;
      if (element) element->OnMouseLeave();
      return false;
    case WM_LBUTTONDOWN:
      if (element) {
        // Taken before the callback, which may delete the element.
        state.wheelTarget = dynamic_cast<PanelChildren*>(element);
        element->OnLeftButtonDown(px, py);
      }
      return false;
    case WM_LBUTTONUP:
      if (element) element->OnLeftButtonUp(px, py);
      return false;
    case WM_LBUTTONDBLCLK:
      if (element) element->OnLeftDoubleClick(px, py);
      return false;
    case WM_RBUTTONDOWN:
      if (element) element->OnRightButtonDown(px, py);
      return false;
    case WM_RBUTTONUP:
      if (element) element->OnRightButtonUp(px, py);
      return false;
    case WM_RBUTTONDBLCLK:
      if (element) element->OnRightDoubleClick(px, py);
      return false;
    default: return false;
  }
}

}  // namespace

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  GUIElement* element = FindElementByWindow(window);
  // Kept before any handler runs: a handler may delete the element.
  WNDPROC previous = element ? element->previousWindowProc : RetiringWindowProcedure(window);
  try {
    LRESULT result = 0;
    if (Dispatch(element, window, message, wParam, lParam, &result)) return result;
  } catch (...) {
    // Nothing may unwind into the system's code; the message gets its default handling.
  }
  return previous ? CallWindowProcW(previous, window, message, wParam, lParam)
                  : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace LumoUtility
