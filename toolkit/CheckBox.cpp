#include "toolkit/CheckBox.h"

#include "toolkit/ChildControl.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

CheckBox::CheckBox(GUIElement* parentElement, const std::string& caption) {
  parent = parentElement;
  typeName = "checkbox";
  text = WidenText(caption);
  width = 80;
  height = 30;
}

// The box's own parent window, which is the form or a panel on it: the dialog-button
// calls find the box there by its control id.
HWND CheckBox::DialogWindow() const { return window ? GetParent(window) : nullptr; }

void CheckBox::Create() {
  if (created) return;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX;
  if (multiline) style |= BS_MULTILINE;
  if (!enabled) style |= WS_DISABLED;
  CreateChildControl(*this, L"Button", style, 0);
  if (window) CheckDlgButton(DialogWindow(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CheckBox::SetChecked() {
  if (!created || !window) return;
  CheckDlgButton(DialogWindow(), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void CheckBox::SetChecked(bool state) {
  checked = state;
  SetChecked();
}

bool CheckBox::IsChecked() {
  if (!created || !window) return checked;
  checked = IsDlgButtonChecked(DialogWindow(), id) != 0;
  return checked;
}

void CheckBox::ToggleChecked() {
  checked = !IsChecked();
  if (created && window) SetChecked();
}

}  // namespace LumoUtility
