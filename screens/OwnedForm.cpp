#include "screens/OwnedForm.h"

#include "screens/FormCommon.h"

namespace MyApp {

OwnedForm::OwnedForm(LumoUtility::Form* ownerForm)
    : FormHandlers(ownerForm ? ownerForm->instance : GetModuleHandleW(nullptr), true),
      owner(ownerForm) {}

void OwnedForm::Open(const std::string& caption, int clientWidth, int clientHeight, int right,
                     int down) {
  OpenOwnedForm(*this, owner, caption, formFont, clientWidth, clientHeight, right, down);
}

}  // namespace MyApp
