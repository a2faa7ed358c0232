#pragma once
#include <string>

#include "toolkit/MessageBoxes.h"

namespace LumoUtility {

class GUIElement;

// The message boxes with a form (or any element) as owner: its window, when it has one.
void ShowMessage(const std::string& text, const std::string& caption, const GUIElement& owner);
void ShowError(const std::string& text, const std::string& caption, const GUIElement& owner);
void ShowInfo(const std::string& text, const std::string& caption, const GUIElement& owner);
bool AskYesNo(const std::string& text, const std::string& caption, const GUIElement& owner);

}  // namespace LumoUtility
