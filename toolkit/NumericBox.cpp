#include "toolkit/NumericBox.h"

#include <commctrl.h>

#include "toolkit/ChildControl.h"
#include "toolkit/TextBox.h"
#include "toolkit/UserLocale.h"
#include "toolkit/base/NumberText.h"

namespace LumoUtility {

NumericBox::NumericBox(GUIElement* parentElement, TextBox* buddyBox) : buddy(buddyBox) {
  parent = parentElement;
  typeName = "numericbox";
  width = 0;
  height = 0;
}

void NumericBox::Create() {
  if (created) return;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&classes);
  DWORD style = WS_CHILD | WS_VISIBLE | UDS_ALIGNRIGHT | UDS_SETBUDDYINT;
  if (!enabled) style |= WS_DISABLED;
  // The spinner takes its place and size from its buddy.
  x = y = width = height = 0;
  text.clear();
  CreateChildControl(*this, UPDOWN_CLASSW, style, 0);
  if (!window) return;
  if (buddy) {
    buddy->Create();
    SendMessageW(window, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy->window), 0);
  }
  SendMessageW(window, UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
  SendMessageW(window, UDM_SETPOS32, 0, static_cast<LPARAM>(value));
}

int NumericBox::Clamped(int proposed) const {
  if (proposed < minimum) return minimum;
  if (proposed > maximum) return maximum;
  return proposed;
}

void NumericBox::SetValue(int newValue) {
  value = newValue;
  if (!created || !window) return;
  SendMessageW(window, UDM_SETPOS32, 0, static_cast<LPARAM>(value));
  if (onValueChanged) onValueChanged(this, Clamped(value));
  if (onTextChanged) onTextChanged(this);
}

int NumericBox::GetValue() {
  if (!created || !window) return value;
  BOOL failed = FALSE;
  value =
      static_cast<int>(SendMessageW(window, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
  if (failed) value = minimum;
  return value;
}

bool NumericBox::TryGetValue(int& result) const {
  if (!window) {
    result = value;
    return true;
  }
  if (!buddy) {
    BOOL failed = FALSE;
    const LRESULT position =
        SendMessageW(window, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed));
    if (failed) return false;
    result = static_cast<int>(position);
    return true;
  }
  std::int32_t read = 0;
  if (!ParseSpinnerText(buddy->GetTextAnsi(), UserNumberPunctuation().thousandsSeparator, minimum,
                        maximum, read)) {
    return false;
  }
  result = read;
  return true;
}

void NumericBox::OnSpin(int position, int delta) {
  if (onValueChanged) onValueChanged(this, Clamped(position + delta));
  if (onTextChanged) onTextChanged(this);
}

}  // namespace LumoUtility
