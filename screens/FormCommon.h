#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/FormHandlers.h"

namespace LumoUtility {
class FontSpec;
class Form;
class GUIElement;
class Button;
class Label;
class TextBox;
class ToolBar;
class ToolBarItem;
struct KeyboardShortcut;
}  // namespace LumoUtility

namespace MyApp {

// The caption of every error box of the forms.
constexpr char kErrorCaption[] = "Errore";

// A list's double click, routed to OnListDoubleClick of the form (of type FormType) that
// holds the list.
template <typename FormType>
int ListDoubleClickTrampoline(LumoUtility::GUIElement* list, HWND, int, int) {
  if (auto* form = dynamic_cast<FormType*>(LumoUtility::FormHandlers::FormOf(list))) {
    form->OnListDoubleClick(list);
  }
  return 0;
}

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

// A toolbar of the form at a fixed place and size, not docked to an edge, showing its
// buttons' labels or not; the caller adds the items and creates it.
std::unique_ptr<LumoUtility::ToolBar> MakePlacedToolBar(LumoUtility::GUIElement* form, int x, int y,
                                                        int width, int height, bool showText);

// A toolbar button of the form with its label (also its tooltip), standard image (or 0) and
// key; its clicks and key go to the form's OnCommand. The caller adds it to the toolbar.
std::unique_ptr<LumoUtility::ToolBarItem> MakeToolItem(LumoUtility::ToolBar* bar,
                                                       const std::string& label, int image,
                                                       LumoUtility::KeyboardShortcut shortcut);

// The same, added to the toolbar at once.
std::unique_ptr<LumoUtility::ToolBarItem> AddToolItem(LumoUtility::ToolBar& bar,
                                                      const std::string& label, int image,
                                                      LumoUtility::KeyboardShortcut shortcut);

// The kilometres box of a form (digits only, up to 7), created at once in the given
// place; its focus and key handling go to the form's handlers.
std::unique_ptr<LumoUtility::TextBox> MakeKmBox(LumoUtility::GUIElement* form, int x, int y,
                                                LumoUtility::FontSpec* font, bool enabled = true);

}  // namespace MyApp
