#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Child.h"
#include "toolkit/CommandElement.h"
#include "toolkit/ControlNotifications.h"

namespace LumoUtility {

class Menu;
class SubMenu;

// A form's native menu: the bar, its drop-down menus and their entries. The elements are
// configured before the native menu exists and built by one Create on the bar; none of
// them owns another (the form that made them deletes them all). The window handle of a
// menu element is the native menu it made.

class MenuBar : public Child {
 public:
  explicit MenuBar(GUIElement* form);
  ~MenuBar() override;

  // Needs the form's window; without it nothing happens and a later call builds it all.
  void Create() override;

  std::vector<Menu*> entries;
  HMENU menuHandle = nullptr;
};

class Menu : public Child {
 public:
  Menu(const std::string& caption, MenuBar* bar);
  ~Menu() override;

  void Create() override;

  std::vector<SubMenu*> entries;
  HMENU menuHandle = nullptr;
};

// An entry of a menu: a command item, a separator, or a nested menu when it has entries
// of its own. Its element id, taken at construction, is its menu command id.
class SubMenu : public Child, public CommandElement, public ControlNotifications {
 public:
  explicit SubMenu(GUIElement* parentMenu);  // separator
  SubMenu(const std::string& caption, GUIElement* parentMenu);
  ~SubMenu() override;

  void Create() override;
  // MF_DISABLED alone: the item looks as usual but cannot be chosen.
  void SetEnabled(bool enable) override;
  // Reads the item's state once it exists: checked only when the state is exactly
  // MF_CHECKED (a disabled item never is).
  bool IsChecked();
  void ApplyCheck();
  // Chosen by the user: a checkable item flips its mark.
  void ToggleChecked() override;

  std::vector<SubMenu*> entries;
  HMENU popupHandle = nullptr;
  UINT itemFlags = MF_STRING;
  bool checkable = false;
  bool checked = false;

 private:
  HMENU ParentHandle() const;
  void AttachToParent();
};

}  // namespace LumoUtility
