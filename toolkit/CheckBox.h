#pragma once
#include <string>

#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"
#include "toolkit/ControlNotifications.h"

namespace LumoUtility {

// A two-state check box. Its style is not automatic: the toolkit flips the mark itself
// when the box is clicked, then raises the command.
class CheckBox : public Child, public CommandElement, public ControlNotifications {
 public:
  CheckBox(GUIElement* parentElement, const std::string& caption);

  void Create() override;
  // Puts the stored state on the window.
  void SetChecked();
  void SetChecked(bool state);
  // The window's state once it exists (and stores it), the stored one before.
  bool IsChecked();
  void ToggleChecked() override;

  bool checked = false;
  bool multiline = false;

 private:
  HWND DialogWindow() const;
};

}  // namespace LumoUtility
