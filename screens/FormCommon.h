#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace LumoUtility {
class FontSpec;
class Form;
class GUIElement;
class Label;
}  // namespace LumoUtility

namespace MyApp {

// The program icon, used by every form of the program.
constexpr int kProgramIcon = 1005;

// Places a form at its owner's top-left corner shifted by (right, down) pixels.
void PlaceBesideOwner(LumoUtility::Form& form, const LumoUtility::Form* owner, int right,
                      int down);

// Asks the form's window to close once the current message is handled: the control whose
// command is running must not lose its window under its own feet.
void RequestClose(LumoUtility::Form& form);

// A caption of the form, created at once in the given place with the form's font.
std::unique_ptr<LumoUtility::Label> MakeLabel(LumoUtility::GUIElement* form,
                                              const std::string& caption, int x, int y,
                                              int width, int height,
                                              LumoUtility::FontSpec* font);

}  // namespace MyApp
