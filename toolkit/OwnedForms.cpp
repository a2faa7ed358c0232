#include "toolkit/OwnedForms.h"

#include <windows.h>

#include "toolkit/Form.h"

namespace LumoUtility {

void WaitOnOwnedForm(Form& owner, Form& owned) {
  owner.SetEnabled(false);
  owner.companion = &owned;
}

void EndWaitOnOwnedForm(Form& owner) {
  // The owned form is no owned window for the system, which would hand the activation
  // to any other window once it goes: the owner takes it back itself, and with it the
  // keyboard focus, when the closing form was the active one.
  const bool ownedWasActive =
      owner.companion && owner.companion->window && owner.companion->window == GetActiveWindow();
  owner.companion = nullptr;
  owner.SetEnabled(true);
  if (ownedWasActive && owner.window) SetActiveWindow(owner.window);
}

}  // namespace LumoUtility
