#include "screens/FormCommon.h"

#include "toolkit/Form.h"
#include "toolkit/Label.h"

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

std::unique_ptr<LumoUtility::Label> MakeLabel(LumoUtility::GUIElement* form,
                                              const std::string& caption, int x, int y,
                                              int width, int height,
                                              LumoUtility::FontSpec* font) {
  auto label = std::make_unique<LumoUtility::Label>(form, caption);
  label->SetPosition(x, y);
  label->SetSize(width, height);
  label->font = font;
  label->Create();
  return label;
}

}  // namespace MyApp
