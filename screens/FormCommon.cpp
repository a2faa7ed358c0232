#include "screens/FormCommon.h"

#include "toolkit/Button.h"
#include "toolkit/FormHandlers.h"
#include "toolkit/Label.h"
#include "toolkit/OwnedForms.h"
#include "toolkit/ResourceIds.h"
#include "toolkit/TextBox.h"
#include "toolkit/base/TextEncoding.h"

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

void OpenOwnedForm(LumoUtility::FormHandlers& form, LumoUtility::Form* owner,
                   const std::string& caption, LumoUtility::FontSpec& formFont, int clientWidth,
                   int clientHeight, int right, int down) {
  form.keyPreview = true;
  form.minimizeBox = true;
  form.maximizeBox = false;
  PlaceBesideOwner(form, owner, right, down);
  form.SetSize(clientWidth, clientHeight);
  form.text = LumoUtility::WidenText(caption);
  formFont.bold = true;
  form.font = &formFont;
  form.iconId = kProgramIconId;
  form.WireFormHandlers();
  // The owner waits before the window is made: building the controls may already show an
  // error box, and a click on the owner meanwhile would open a second form inside this one.
  if (owner) LumoUtility::WaitOnOwnedForm(*owner, form);
  form.Create();
  form.SetIcon(kProgramIconId);
  form.SetClientSize(clientWidth, clientHeight);
}

void RequestClose(LumoUtility::Form& form) {
  if (form.window) PostMessageW(form.window, WM_CLOSE, 0, 0);
}

std::unique_ptr<LumoUtility::Label> MakeLabel(LumoUtility::GUIElement* form,
                                              const std::string& caption, int x, int y, int width,
                                              int height, LumoUtility::FontSpec* font) {
  auto label = std::make_unique<LumoUtility::Label>(form, caption);
  label->SetPosition(x, y);
  label->SetSize(width, height);
  label->font = font;
  label->Create();
  return label;
}

std::unique_ptr<LumoUtility::Button> MakeButton(LumoUtility::GUIElement* form,
                                                const std::string& caption, int x, int y, int width,
                                                int height, LumoUtility::FontSpec* font) {
  auto button = std::make_unique<LumoUtility::Button>(form, caption);
  button->SetPosition(x, y);
  button->SetSize(width, height);
  button->font = font;
  button->commandHandler = LumoUtility::CommandTrampoline;
  button->Create();
  return button;
}

std::unique_ptr<LumoUtility::TextBox> MakeKmBox(LumoUtility::GUIElement* form, int x, int y,
                                                LumoUtility::FontSpec* font, bool enabled) {
  auto box = std::make_unique<LumoUtility::TextBox>(form);
  box->SetPosition(x, y);
  box->SetSize(90, 25);
  box->maxLength = 7;
  box->numbersOnly = true;
  box->font = font;
  box->enabled = enabled;
  box->onKeyPress = LumoUtility::KeyPressTrampoline;
  box->onGotFocus = LumoUtility::ChildGotFocusTrampoline;
  box->onLostFocus = LumoUtility::ChildLostFocusTrampoline;
  box->Create();
  return box;
}

}  // namespace MyApp
