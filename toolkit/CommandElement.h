#pragma once

namespace LumoUtility {

class GUIElement;

using CommandHandler = void (*)(GUIElement* element);

// Second base of the elements that raise a command (buttons, check boxes, lists, toolbar
// and menu items); the central window procedure calls the handler.
class CommandElement {
 public:
  CommandHandler commandHandler = nullptr;
};

}  // namespace LumoUtility
