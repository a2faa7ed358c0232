#include "toolkit/OwnedForms.h"

#include "toolkit/Form.h"

namespace LumoUtility {

void WaitOnOwnedForm(Form& owner, Form& owned) {
  owner.SetEnabled(false);
  owner.companion = &owned;
}

void EndWaitOnOwnedForm(Form& owner) {
  owner.companion = nullptr;
  owner.SetEnabled(true);
}

}  // namespace LumoUtility
