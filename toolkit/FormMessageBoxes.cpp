#include "toolkit/FormMessageBoxes.h"

#include "toolkit/GUIElement.h"

namespace LumoUtility {

void ShowMessage(const std::string& text, const std::string& caption, const GUIElement& owner) {
  ShowMessage(text, caption, owner.window);
}

void ShowError(const std::string& text, const std::string& caption, const GUIElement& owner) {
  ShowError(text, caption, owner.window);
}

void ShowInfo(const std::string& text, const std::string& caption, const GUIElement& owner) {
  ShowInfo(text, caption, owner.window);
}

bool AskYesNo(const std::string& text, const std::string& caption, const GUIElement& owner) {
  return AskYesNo(text, caption, owner.window);
}

}  // namespace LumoUtility
