#include "toolkit/Menus.h"

#include <algorithm>

#include "toolkit/ElementRegistry.h"
#include "toolkit/ToolkitState.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

template <class Element>
void Forget(std::vector<Element*>& list, GUIElement* element) {
  list.erase(std::remove(list.begin(), list.end(), element), list.end());
}

}  // namespace

MenuBar::MenuBar(GUIElement* form) {
  parent = form;
  typeName = "menubar";
}

// The native menus belong to the window they are attached to (a bar destroys its popups,
// a window its bar), so an element only drops its links; its handle is a menu, not a
// window, and the element teardown must not treat it as one.
MenuBar::~MenuBar() {
  for (Menu* menu : entries) menu->parent = nullptr;
  window = nullptr;
  menuHandle = nullptr;
}

void MenuBar::Create() {
  if (created) return;
  if (!parent || !parent->window) return;
  id = TakeNextElementId();
  menuHandle = CreateMenu();
  created = true;
  window = reinterpret_cast<HWND>(menuHandle);
  for (Menu* menu : entries) menu->Create();
  SetMenu(parent->window, menuHandle);
  CreateToolTip();
}

Menu::Menu(const std::string& caption, MenuBar* bar) {
  parent = bar;
  typeName = "menu";
  text = WidenText(caption);
  if (bar) bar->entries.push_back(this);
  if (bar && bar->menuHandle) Create();
}

Menu::~Menu() {
  if (auto* bar = dynamic_cast<MenuBar*>(parent)) Forget(bar->entries, this);
  for (SubMenu* entry : entries) entry->parent = nullptr;
  window = nullptr;
  menuHandle = nullptr;
}

void Menu::Create() {
  if (created) return;
  auto* bar = dynamic_cast<MenuBar*>(parent);
  if (!bar || !bar->menuHandle) return;
  id = TakeNextElementId();
  menuHandle = CreateMenu();
  created = true;
  window = reinterpret_cast<HWND>(menuHandle);
  for (SubMenu* entry : entries) entry->Create();
  AppendMenuW(bar->menuHandle, MF_POPUP, reinterpret_cast<UINT_PTR>(menuHandle), text.c_str());
  if (bar->parent && bar->parent->window) DrawMenuBar(bar->parent->window);
  CreateToolTip();
}

SubMenu::SubMenu(GUIElement* parentMenu) {
  parent = parentMenu;
  typeName = "submenu";
  itemFlags = MF_SEPARATOR;
  id = TakeNextElementId();
  AttachToParent();
}

SubMenu::SubMenu(const std::string& caption, GUIElement* parentMenu) {
  parent = parentMenu;
  typeName = "submenu";
  text = WidenText(caption);
  id = TakeNextElementId();
  AttachToParent();
}

SubMenu::~SubMenu() {
  if (auto* menu = dynamic_cast<Menu*>(parent)) Forget(menu->entries, this);
  if (auto* owner = dynamic_cast<SubMenu*>(parent)) Forget(owner->entries, this);
  for (SubMenu* entry : entries) entry->parent = nullptr;
  window = nullptr;
  popupHandle = nullptr;
}

void SubMenu::AttachToParent() {
  if (auto* menu = dynamic_cast<Menu*>(parent)) {
    menu->entries.push_back(this);
  } else if (auto* owner = dynamic_cast<SubMenu*>(parent)) {
    owner->entries.push_back(this);
  }
  if (ParentHandle()) Create();
}

HMENU SubMenu::ParentHandle() const {
  if (auto* menu = dynamic_cast<Menu*>(parent)) return menu->menuHandle;
  if (auto* owner = dynamic_cast<SubMenu*>(parent)) return owner->popupHandle;
  return nullptr;
}

void SubMenu::Create() {
  if (created) return;
  HMENU parentHandle = ParentHandle();
  if (!parentHandle) return;
  if (!entries.empty()) {
    popupHandle = CreatePopupMenu();
    created = true;
    for (SubMenu* entry : entries) entry->Create();
    AppendMenuW(parentHandle, MF_POPUP, reinterpret_cast<UINT_PTR>(popupHandle), text.c_str());
  } else {
    AppendMenuW(parentHandle, itemFlags, static_cast<UINT_PTR>(id),
                text.empty() ? nullptr : text.c_str());
    if (checkable) {
      CheckMenuItem(parentHandle, static_cast<UINT>(id),
                    MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
  }
  created = true;
  window = reinterpret_cast<HWND>(popupHandle);
  if (!enabled) SetEnabled(false);
  CreateToolTip();
}

void SubMenu::SetEnabled(bool enable) {
  enabled = enable;
  if (!created) return;
  EnableMenuItem(ParentHandle(), static_cast<UINT>(id),
                 MF_BYCOMMAND | (enable ? MF_ENABLED : MF_DISABLED));
}

bool SubMenu::IsChecked() {
  if (!created) return checked;
  checked = GetMenuState(ParentHandle(), static_cast<UINT>(id), MF_BYCOMMAND) == MF_CHECKED;
  return checked;
}

void SubMenu::ApplyCheck() {
  CheckMenuItem(ParentHandle(), static_cast<UINT>(id),
                MF_BYCOMMAND | (checked && checkable ? MF_CHECKED : MF_UNCHECKED));
}

void SubMenu::ToggleChecked() {
  if (!checkable) return;
  checked = !IsChecked();
  if (created) ApplyCheck();
}

}  // namespace LumoUtility
