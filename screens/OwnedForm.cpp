#include "screens/OwnedForm.h"

#include "toolkit/OwnedForms.h"
#include "toolkit/ResourceIds.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {
namespace {

// Places a form at its owner's top-left corner shifted by (right, down) pixels.
void PlaceBesideOwner(LumoUtility::Form& form, const LumoUtility::Form* owner, int right,
                      int down) {
  int left = 0;
  int top = 0;
  if (owner && owner->window) {
    RECT bounds{};
    GetWindowRect(owner->window, &bounds);
    left = bounds.left;
    top = bounds.top;
  } else if (owner) {
    left = owner->x;
    top = owner->y;
  }
  form.SetPosition(left + right, top + down);
}

}  // namespace

OwnedForm::OwnedForm(LumoUtility::Form* ownerForm)
    : FormHandlers(ownerForm ? ownerForm->instance : GetModuleHandleW(nullptr), true),
      owner(ownerForm) {}

void OwnedForm::Open(const std::string& caption, int clientWidth, int clientHeight, int right,
                     int down) {
  keyPreview = true;
  minimizeBox = true;
  maximizeBox = false;
  PlaceBesideOwner(*this, owner, right, down);
  SetSize(clientWidth, clientHeight);
  text = LumoUtility::WidenText(caption);
  formFont.bold = true;
  font = &formFont;
  iconId = kProgramIconId;
  WireFormHandlers();
  // The owner waits before the window is made: building the controls may already show an
  // error box, and a click on the owner meanwhile would open a second form inside this one.
  if (owner) LumoUtility::WaitOnOwnedForm(*owner, *this);
  Create();
  SetIcon(kProgramIconId);
  SetClientSize(clientWidth, clientHeight);
}

}  // namespace MyApp
