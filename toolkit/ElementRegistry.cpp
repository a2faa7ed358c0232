#include "toolkit/ElementRegistry.h"

#include <algorithm>
#include <utility>

#include "toolkit/GUIElement.h"

namespace LumoUtility {
namespace {

std::vector<GUIElement*>& RegisteredElements() {
  static std::vector<GUIElement*> elements;
  return elements;
}

struct PendingCreation {
  GUIElement* element;
  std::wstring className;
  HWND window;  // learnt from the first message of the new window
  unsigned serial;
};

unsigned nextCreationSerial = 0;

std::vector<PendingCreation>& PendingCreations() {
  static std::vector<PendingCreation> creations;
  return creations;
}

bool HasClass(HWND window, const std::wstring& className) {
  wchar_t buffer[256] = {};
  int length = GetClassNameW(window, buffer, 256);
  return length > 0 &&
         CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, buffer, length, className.c_str(),
                        static_cast<int>(className.size())) == CSTR_EQUAL;
}

GUIElement* ElementBeingCreated(HWND window) {
  auto& creations = PendingCreations();
  for (auto it = creations.rbegin(); it != creations.rend(); ++it) {
    if (it->window == window) return it->element;
  }
  for (auto it = creations.rbegin(); it != creations.rend(); ++it) {
    if (!it->window && !it->element->window && HasClass(window, it->className)) {
      it->window = window;
      return it->element;
    }
  }
  return nullptr;
}

struct Retiring {
  HWND window;
  WNDPROC procedure;
};

std::vector<Retiring>& RetiringWindows() {
  static std::vector<Retiring> windows;
  return windows;
}

}  // namespace

void ElementRegistry::Add(GUIElement* element) { RegisteredElements().push_back(element); }

void ElementRegistry::Remove(GUIElement* element) {
  auto& elements = RegisteredElements();
  elements.erase(std::remove(elements.begin(), elements.end(), element), elements.end());
  auto& creations = PendingCreations();
  for (auto& creation : creations) {
    if (creation.element == element) creation.element = nullptr;
  }
  creations.erase(std::remove_if(creations.begin(), creations.end(),
                                 [](const PendingCreation& c) { return !c.element; }),
                  creations.end());
}

const std::vector<GUIElement*>& ElementRegistry::Elements() { return RegisteredElements(); }

GUIElement* FindElementByWindow(HWND window) {
  GUIElement* found = nullptr;
  if (window) {
    for (GUIElement* element : RegisteredElements()) {
      if (element->window == window) found = element;
    }
  }
  if (found || !window) return found;
  return ElementBeingCreated(window);
}

GUIElement* FindElementById(int id) {
  // Ids start at 1; 0 is "not created yet" and names no element.
  if (id <= 0) return nullptr;
  for (GUIElement* element : RegisteredElements()) {
    if (element->id == id) return element;
  }
  return nullptr;
}

GUIElement* FindSubMenuById(int id) {
  if (id <= 0) return nullptr;
  for (GUIElement* element : RegisteredElements()) {
    if (element->typeName == "submenu" && element->id == id) return element;
  }
  return nullptr;
}

WindowCreation::WindowCreation(GUIElement& element, std::wstring className)
    : serial_(++nextCreationSerial) {
  PendingCreations().push_back({&element, std::move(className), nullptr, serial_});
}

WindowCreation::~WindowCreation() {
  // An element deleted during its own creation has already left the list.
  auto& creations = PendingCreations();
  creations.erase(std::remove_if(creations.begin(), creations.end(),
                                 [this](const PendingCreation& c) { return c.serial == serial_; }),
                  creations.end());
}

RetiringWindow::RetiringWindow(HWND window, WNDPROC ownProcedure) : window_(window) {
  RetiringWindows().push_back({window, ownProcedure});
}

RetiringWindow::~RetiringWindow() {
  auto& windows = RetiringWindows();
  windows.erase(std::remove_if(windows.begin(), windows.end(),
                               [this](const Retiring& r) { return r.window == window_; }),
                windows.end());
}

WNDPROC RetiringWindowProcedure(HWND window) {
  for (const Retiring& retiring : RetiringWindows()) {
    if (retiring.window == window) return retiring.procedure;
  }
  return nullptr;
}

}  // namespace LumoUtility
