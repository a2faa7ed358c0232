#pragma once
#include <windows.h>

namespace LumoUtility {
class Form;
}

namespace MyApp {

// The program icon, used by every form of the program.
constexpr int kProgramIcon = 1005;

// Places a form at its owner's top-left corner shifted by (right, down) pixels.
void PlaceBesideOwner(LumoUtility::Form& form, const LumoUtility::Form* owner, int right,
                      int down);

// Asks the form's window to close once the current message is handled: the control whose
// command is running must not lose its window under its own feet.
void RequestClose(LumoUtility::Form& form);

}  // namespace MyApp
