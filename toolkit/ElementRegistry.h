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

}  // namespace LumoUtility
