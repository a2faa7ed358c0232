#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace LumoUtility {

class GUIElement;

// The process-wide list of live elements, in construction order. Constructors add,
// destructors remove, so a lookup never answers a deleted element.
class ElementRegistry {
 public:
  static void Add(GUIElement* element);
  static void Remove(GUIElement* element);
  static const std::vector<GUIElement*>& Elements();
};

// The element whose window is the handle (the last match wins). Messages sent while
// CreateWindowExW is still running, before the handle is known, reach the element whose
// window is being created: the one inside a WindowCreation whose class the window has.
GUIElement* FindElementByWindow(HWND window);
GUIElement* FindElementById(int id);
GUIElement* FindSubMenuById(int id);

// Marks "this element's window of this class is being created now" for the lookup
// above, for the time of the CreateWindowExW call. Creations nest (a form's controls are
// built while the form's own creation runs).
class WindowCreation {
 public:
  WindowCreation(GUIElement& element, std::wstring className);
  ~WindowCreation();
  WindowCreation(const WindowCreation&) = delete;
  WindowCreation& operator=(const WindowCreation&) = delete;

 private:
  unsigned serial_;
};

// A released control whose procedure cannot be unchained, because a common-controls
// subclass (a tooltip's, which Wine leaves in place when the tooltip goes) sits in front
// of the toolkit's, must still reach its own procedure while it is destroyed: a combo
// box frees its drop-down list there. For the time of the DestroyWindow call the
// toolkit's procedure forwards the window's messages to the procedure kept here.
class RetiringWindow {
 public:
  RetiringWindow(HWND window, WNDPROC ownProcedure);
  ~RetiringWindow();
  RetiringWindow(const RetiringWindow&) = delete;
  RetiringWindow& operator=(const RetiringWindow&) = delete;

 private:
  HWND window_;
};

// The procedure of a window inside a RetiringWindow, or null.
WNDPROC RetiringWindowProcedure(HWND window);

}  // namespace LumoUtility
