#include "toolkit/KeyboardShortcut.h"

#include "toolkit/ElementRegistry.h"
#include "toolkit/ToolBarItem.h"

namespace LumoUtility {
namespace {

constexpr LPARAM kPreviouslyDown = 1 << 30;

std::string KeyName(int key) {
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    return std::string(1, static_cast<char>(key));
  }
  switch (key) {
    case VK_INSERT: return "Ins";
    case VK_DELETE: return "Canc";
    case VK_RETURN: return "Invio";
    case VK_ESCAPE: return "Esc";
    default: return "#" + std::to_string(key);
  }
}

bool ControlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

}  // namespace

std::string KeyboardShortcut::Text() const {
  if (!IsSet()) return {};
  return (control ? "Ctrl+" : "") + KeyName(key);
}

bool KeyboardShortcut::PressedBy(const MSG& message) const {
  if (!IsSet() || message.message != WM_KEYDOWN || (message.lParam & kPreviouslyDown)) {
    return false;
  }
  return static_cast<int>(message.wParam) == key && ControlDown() == control;
}

bool DispatchKeyboardShortcut(const MSG& message) {
  if (message.message != WM_KEYDOWN || !message.hwnd) return false;
  // Enter on a focused list view activates its row: no shortcut takes it from there.
  if (message.wParam == VK_RETURN) {
    GUIElement* focused = FindElementByWindow(message.hwnd);
    if (focused && focused->typeName == "listview") return false;
  }
  HWND form = GetAncestor(message.hwnd, GA_ROOT);
  if (!form || !IsWindowEnabled(form)) return false;
  // The loop ends at the command: what the command opens or closes changes the list.
  for (GUIElement* element : ElementRegistry::Elements()) {
    auto* item = dynamic_cast<ToolBarItem*>(element);
    GUIElement* bar = item ? item->parent : nullptr;
    if (!bar || !item->shortcut.PressedBy(message) || !item->enabled || !item->commandHandler ||
        !bar->window || GetAncestor(bar->window, GA_ROOT) != form ||
        !IsWindowVisible(bar->window)) {
      continue;
    }
    item->commandHandler(item);
    return true;
  }
  return false;
}

}  // namespace LumoUtility
