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
  // A form waiting on another one (Alt+Tab reaches it too) hands the activation on: its
  // keys would act behind the open form's back.
  GUIElement* waitedOn = form.companion;
  if (form.window && !IsWindowEnabled(form.window) && waitedOn && waitedOn->window &&
      IsWindow(waitedOn->window)) {
    SetActiveWindow(waitedOn->window);
    return true;
  }
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
