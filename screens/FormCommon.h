#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace LumoUtility {
class FontSpec;
class Form;
class FormHandlers;
class GUIElement;
class Button;
class Label;
class TextBox;
}  // namespace LumoUtility

namespace MyApp {

// The caption of every error box of the forms.
constexpr char kErrorCaption[] = "Errore";

// Places a form at its owner's top-left corner shifted by (right, down) pixels.
void PlaceBesideOwner(LumoUtility::Form& form, const LumoUtility::Form* owner, int right, int down);

// What every form the main window opens does on construction: placed at its owner's
// top-left corner shifted by (right, down), with the caption, the bold form font, the
// program's icon and the client size; waited on by its owner (from before its window
// exists) and created (its controls are built). Settings in which the forms differ are
// made before the call.
void OpenOwnedForm(LumoUtility::FormHandlers& form, LumoUtility::Form* owner,
                   const std::string& caption, LumoUtility::FontSpec& formFont, int clientWidth,
                   int clientHeight, int right, int down);

// Asks the form's window to close once the current message is handled: the control whose
// command is running must not lose its window under its own feet.
void RequestClose(LumoUtility::Form& form);

// A caption of the form, created at once in the given place with the form's font.
std::unique_ptr<LumoUtility::Label> MakeLabel(LumoUtility::GUIElement* form,
                                              const std::string& caption, int x, int y, int width,
                                              int height, LumoUtility::FontSpec* font);

// A push button of the form, created at once in the given place with the form's font;
// its clicks go to the form's OnCommand.
std::unique_ptr<LumoUtility::Button> MakeButton(LumoUtility::GUIElement* form,
                                                const std::string& caption, int x, int y, int width,
                                                int height, LumoUtility::FontSpec* font);

// The kilometres box of a form (digits only, up to 7), created at once in the given
// place; its focus and key handling go to the form's handlers.
std::unique_ptr<LumoUtility::TextBox> MakeKmBox(LumoUtility::GUIElement* form, int x, int y,
                                                LumoUtility::FontSpec* font, bool enabled = true);

}  // namespace MyApp
