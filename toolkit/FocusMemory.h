#pragma once
#include <windows.h>

namespace LumoUtility {

class Form;

// Each form remembers the control of its own that last had the keyboard focus, so that
// the focus comes back there whenever the form is active again. (A form without a
// remembered control takes the focus itself, as the system's default does.)

// The control got the focus: it becomes its form's remembered one.
void RememberFocusedControl(HWND control);
// The form is being activated: gives its remembered control the focus when that control
// still exists, is shown and takes input, or, when the form is disabled waiting on another
// form, activates that one; answers whether it did either.
bool GiveFocusBack(Form& form);

}  // namespace LumoUtility
