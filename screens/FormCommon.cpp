#include "screens/FormCommon.h"

#include "toolkit/Button.h"
#include "toolkit/FormHandlers.h"
#include "toolkit/Label.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/base/TextEncoding.h"

namespace MyApp {

void RequestClose(LumoUtility::Form& form) {
  if (form.window) PostMessageW(form.window, WM_CLOSE, 0, 0);
}

std::unique_ptr<LumoUtility::Label> MakeLabel(LumoUtility::GUIElement* form,
                                              const std::string& caption, int x, int y, int width,
                                              int height, LumoUtility::FontSpec* font) {
  auto label = std::make_unique<LumoUtility::Label>(form, caption);
  label->SetPosition(x, y);
  label->SetSize(width, height);
  label->font = font;
  label->Create();
  return label;
}

std::unique_ptr<LumoUtility::Button> MakeButton(LumoUtility::GUIElement* form,
                                                const std::string& caption, int x, int y, int width,
                                                int height, LumoUtility::FontSpec* font) {
  auto button = std::make_unique<LumoUtility::Button>(form, caption);
  button->SetPosition(x, y);
  button->SetSize(width, height);
  button->font = font;
  button->commandHandler = LumoUtility::CommandTrampoline;
  button->Create();
  return button;
}

std::unique_ptr<LumoUtility::ToolBarItem> MakeToolItem(LumoUtility::ToolBar* bar,
                                                       const std::string& label, int image,
                                                       LumoUtility::KeyboardShortcut shortcut) {
  auto item = std::make_unique<LumoUtility::ToolBarItem>(bar);
  item->toolTip = label;
  item->image = image;
  item->shortcut = shortcut;
  item->commandHandler = LumoUtility::CommandTrampoline;
  return item;
}

std::unique_ptr<LumoUtility::ToolBar> MakePlacedToolBar(LumoUtility::GUIElement* form, int x, int y,
                                                        int width, int height, bool showText) {
  auto bar = std::make_unique<LumoUtility::ToolBar>(form);
  bar->SetPosition(x, y);
  bar->SetSize(width, height);
  bar->alignTop = false;
  bar->alignBottom = false;
  bar->alignLeft = false;
  bar->alignRight = false;
  bar->showText = showText;
  return bar;
}

std::unique_ptr<LumoUtility::ToolBarItem> AddToolItem(LumoUtility::ToolBar& bar,
                                                      const std::string& label, int image,
                                                      LumoUtility::KeyboardShortcut shortcut) {
  auto item = MakeToolItem(&bar, label, image, shortcut);
  bar.AddItem(item.get());
  return item;
}

std::unique_ptr<LumoUtility::TextBox> MakeKmBox(LumoUtility::GUIElement* form, int x, int y,
                                                LumoUtility::FontSpec* font, bool enabled) {
  auto box = std::make_unique<LumoUtility::TextBox>(form);
  box->SetPosition(x, y);
  box->SetSize(90, 25);
  box->maxLength = 7;
  box->numbersOnly = true;
  box->font = font;
  box->enabled = enabled;
  box->onKeyPress = LumoUtility::KeyPressTrampoline;
  box->onGotFocus = LumoUtility::ChildGotFocusTrampoline;
  box->onLostFocus = LumoUtility::ChildLostFocusTrampoline;
  box->Create();
  return box;
}

}  // namespace MyApp
