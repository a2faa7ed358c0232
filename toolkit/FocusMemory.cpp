#include "toolkit/FocusMemory.h"

#include "toolkit/ElementRegistry.h"
#include "toolkit/Form.h"

namespace LumoUtility {

void RememberFocusedControl(HWND control) {
  HWND root = control ? GetAncestor(control, GA_ROOT) : nullptr;
  if (!root || root == control) return;
  if (auto* form = dynamic_cast<Form*>(FindElementByWindow(root))) form->focusedControl = control;
}

bool GiveFocusBack(Form& form) {
  HWND control = form.focusedControl;
  // A destroyed control's handle may have been reused by another window: only a child of
  // this form counts.
  if (!control || !form.window || !IsWindow(control) || !IsChild(form.window, control) ||
      !IsWindowVisible(control) || !IsWindowEnabled(control)) {
    return false;
  }
  SetFocus(control);
  return true;
}

}  // namespace LumoUtility
