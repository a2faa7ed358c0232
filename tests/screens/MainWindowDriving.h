#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "screens/FormGrid.h"

namespace LumoUtility {
class SubMenu;
class ToolBarItem;
}  // namespace LumoUtility

// Drives the main window in-process as its user would, through its real windows.

// Builds the main window and answers its terms; false when the terms did not go away.
bool OpenMainWindow(std::unique_ptr<MyApp::FormGrid>& main, const std::string& caption,
                    bool acceptTerms = true);
// A click on a toolbar button, as the toolbar reports it.
void ClickTool(MyApp::FormGrid& main, LumoUtility::ToolBarItem* item);
// A menu item chosen, as the menu reports it.
void ChooseMenu(MyApp::FormGrid& main, LumoUtility::SubMenu* item);
// "Apri", then the plate chosen in the selection form and confirmed; false when the
// plate is not offered or the selection did not close.
bool OpenStoredVehicle(MyApp::FormGrid& main, const std::string& plate);
// Fills the open vehicle editor's plate, description and km and presses "OK"; false when
// the editor did not close.
bool ConfirmVehicleEditor(MyApp::FormGrid& main, const std::string& plate,
                          const std::string& description, const std::string& km);
