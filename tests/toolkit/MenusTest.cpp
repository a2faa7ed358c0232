#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/ElementRegistry.h"
#include "toolkit/Menus.h"

using namespace LumoUtility;

namespace {

std::vector<GUIElement*> chosen;
void RecordChoice(GUIElement* item) { chosen.push_back(item); }

// Keys that reach the menu loop once a drop-down menu opens: Enter on its first item
// (as the character the loop acts on, so that it comes before the Esc keys), then Esc
// three times, which leaves the menu whatever the Enter did.
WNDPROC formProcedure = nullptr;
bool keysPosted = false;

LRESULT CALLBACK PressFirstItem(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITMENUPOPUP && !keysPosted) {
    keysPosted = true;
    PostMessageW(window, WM_CHAR, L'\r', 0);
    for (int i = 0; i < 3; ++i) PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  return CallWindowProcW(formProcedure, window, message, wParam, lParam);
}

// Opens the menu with the access key through the real menu loop and presses Enter on
// its first item; the chosen command, if any, is dispatched before returning.
void ChooseFirstItem(HWND form, wchar_t accessKey) {
  keysPosted = false;
  formProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PressFirstItem)));
  SendMessageW(form, WM_SYSCOMMAND, SC_KEYMENU, accessKey);
  SetWindowLongPtrW(form, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(formProcedure));
  // Keys the menu did not need are dropped, so they reach no window.
  MSG message{};
  while (PeekMessageW(&message, form, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    // Dropped.
  }
  PumpMessagesFor(std::chrono::milliseconds(30));
}

}  // namespace

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chosen.clear();
    form.SetSize(400, 300);
  }

  SubMenu& Item(const char* caption, GUIElement* parent) {
    subMenus.push_back(std::make_unique<SubMenu>(caption, parent));
    subMenus.back()->commandHandler = RecordChoice;
    return *subMenus.back();
  }

  ToolkitStateScope scope;
  RecordingForm form;
  // Deleted before the form, as the form that built them would.
  std::unique_ptr<MenuBar> bar = std::make_unique<MenuBar>(&form);
  std::vector<std::unique_ptr<Menu>> menus;
  std::vector<std::unique_ptr<SubMenu>> subMenus;
};

TEST_F(MenusTest, TheBarWaitsForTheFormWindowAndBuildsNestedMenus) {
  menus.push_back(std::make_unique<Menu>("&File", bar.get()));
  SubMenu& exit = Item("&Esci", menus[0].get());
  menus.push_back(std::make_unique<Menu>("&Opzioni", bar.get()));
  SubMenu& catalogue = Item("&Gestione Anagrafica Interventi", menus[1].get());
  subMenus.push_back(std::make_unique<SubMenu>(menus[1].get()));
  SubMenu& separator = *subMenus.back();
  SubMenu& nested = Item("&Altro", menus[1].get());
  SubMenu& inner = Item("&Interno", &nested);
  // Ids are taken at construction, in order.
  EXPECT_EQ(catalogue.id, exit.id + 1);
  EXPECT_EQ(separator.id, catalogue.id + 1);
  EXPECT_EQ(inner.id, nested.id + 1);
  EXPECT_EQ(FindSubMenuById(catalogue.id), &catalogue);

  bar->Create();  // no form window yet
  EXPECT_FALSE(bar->created);
  EXPECT_EQ(bar->menuHandle, nullptr);
  form.Create();
  EXPECT_EQ(GetMenu(form.window), nullptr);
  bar->Create();
  ASSERT_TRUE(bar->created);
  HMENU top = GetMenu(form.window);
  ASSERT_EQ(top, bar->menuHandle);
  ASSERT_EQ(GetMenuItemCount(top), 2);
  EXPECT_EQ(GetSubMenu(top, 0), menus[0]->menuHandle);
  HMENU options = GetSubMenu(top, 1);
  ASSERT_EQ(GetMenuItemCount(options), 3);
  EXPECT_EQ(GetMenuItemID(options, 0), static_cast<UINT>(catalogue.id));
  EXPECT_EQ(GetMenuState(options, 1, MF_BYPOSITION) & MF_SEPARATOR,
            static_cast<UINT>(MF_SEPARATOR));
  HMENU nestedMenu = GetSubMenu(options, 2);
  ASSERT_EQ(nestedMenu, nested.popupHandle);
  EXPECT_EQ(GetMenuItemID(nestedMenu, 0), static_cast<UINT>(inner.id));
  wchar_t caption[64] = {};
  GetMenuStringW(top, 1, caption, 64, MF_BYPOSITION);
  EXPECT_STREQ(caption, L"&Opzioni");

  // An item added to a menu that exists is appended at once.
  SubMenu& guide = Item("&Guida", menus[0].get());
  EXPECT_TRUE(guide.created);
  EXPECT_EQ(GetMenuItemCount(menus[0]->menuHandle), 2);
  EXPECT_EQ(GetMenuItemID(menus[0]->menuHandle, 1), static_cast<UINT>(guide.id));
  menus.push_back(std::make_unique<Menu>("&?", bar.get()));
  EXPECT_EQ(GetMenuItemCount(top), 3);

  SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(inner.id, 0), 0);
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], &inner);
  // An accelerator's command is ignored.
  SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(inner.id, 1), 0);
  EXPECT_EQ(chosen.size(), 1u);
}

TEST_F(MenusTest, ADisabledItemCannotBeChosen) {
  menus.push_back(std::make_unique<Menu>("&File", bar.get()));
  SubMenu& exit = Item("&Esci", menus[0].get());
  menus.push_back(std::make_unique<Menu>("&Opzioni", bar.get()));
  SubMenu& backup = Item("&Backup", menus[1].get());
  backup.SetEnabled(false);  // stored, applied at creation
  form.Create();
  bar->Create();
  SetForegroundWindow(form.window);
  HMENU options = menus[1]->menuHandle;
  UINT state = GetMenuState(options, static_cast<UINT>(backup.id), MF_BYCOMMAND);
  EXPECT_EQ(state & MF_DISABLED, static_cast<UINT>(MF_DISABLED));
  EXPECT_EQ(state & MF_GRAYED, 0u);  // disabled only, not greyed

  // The same keys choose an enabled item...
  ChooseFirstItem(form.window, L'f');
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], &exit);
  // ...but not the disabled one.
  ChooseFirstItem(form.window, L'o');
  EXPECT_EQ(chosen.size(), 1u);
  EXPECT_FALSE(backup.IsChecked());

  backup.SetEnabled(true);
  EXPECT_EQ(GetMenuState(options, static_cast<UINT>(backup.id), MF_BYCOMMAND) & MF_DISABLED, 0u);
  ChooseFirstItem(form.window, L'o');
  ASSERT_EQ(chosen.size(), 2u);
  EXPECT_EQ(chosen[1], &backup);
}

TEST_F(MenusTest, ACheckableItemTogglesWhenChosen) {
  menus.push_back(std::make_unique<Menu>("&Vista", bar.get()));
  SubMenu& grid = Item("&Griglia", menus[0].get());
  grid.checkable = true;
  grid.checked = true;
  SubMenu& plain = Item("&Semplice", menus[0].get());
  menus.push_back(std::make_unique<Menu>("&Altro", bar.get()));
  SubMenu& nested = Item("&Nidificato", menus[1].get());
  Item("&Interno", &nested);
  EXPECT_TRUE(grid.IsChecked());  // stored, before the menu exists
  form.Create();
  bar->Create();
  SetForegroundWindow(form.window);
  HMENU view = menus[0]->menuHandle;
  EXPECT_EQ(GetMenuState(view, static_cast<UINT>(grid.id), MF_BYCOMMAND),
            static_cast<UINT>(MF_CHECKED));

  ChooseFirstItem(form.window, L'v');
  ASSERT_EQ(chosen.size(), 1u);
  EXPECT_EQ(chosen[0], &grid);
  EXPECT_FALSE(grid.checked);
  EXPECT_EQ(GetMenuState(view, static_cast<UINT>(grid.id), MF_BYCOMMAND) & MF_CHECKED, 0u);
  ChooseFirstItem(form.window, L'v');
  EXPECT_TRUE(grid.checked);
  EXPECT_TRUE(grid.IsChecked());

  // A plain item has no mark to flip.
  SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(plain.id, 0), 0);
  EXPECT_FALSE(plain.checked);
  EXPECT_EQ(chosen.back(), &plain);

  // Enter on a nested menu opens it; the nested menu itself fires nothing.
  ASSERT_EQ(GetMenuItemCount(nested.popupHandle), 1);
  const size_t before = chosen.size();
  ChooseFirstItem(form.window, L'a');
  EXPECT_EQ(chosen.size(), before);

  // A checked item that is also disabled reads as unchecked.
  grid.SetEnabled(false);
  EXPECT_FALSE(grid.IsChecked());
}
