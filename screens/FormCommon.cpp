#include "screens/FormCommon.h"

#include "toolkit/Form.h"

namespace MyApp {

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

void RequestClose(LumoUtility::Form& form) {
  if (form.window) PostMessageW(form.window, WM_CLOSE, 0, 0);
}

}  // namespace MyApp
