#include "tests/screens/MainWindowDriving.h"

#include "app/BackupRestore.h"

#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/ListBox.h"
#include "toolkit/Menus.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/base/TextEncoding.h"

namespace {

bool WaitWindowGone(HWND window) {
  return PumpMessagesUntil([window] { return !IsWindow(window); });
}

}  // namespace

bool OpenMainWindow(std::unique_ptr<MyApp::FormGrid>& main, const std::string& caption,
                    bool acceptTerms) {
  main = std::make_unique<MyApp::FormGrid>(
      TestInstance(), caption,
      MyApp::FormGrid::HousekeepingCommands{BackupDatabase, RestoreDatabase, nullptr, nullptr});
  if (!IsWindow(main->window) || !main->termsViewer) return false;
  HWND terms = main->termsViewer->window;
  LumoUtility::Button& answer =
      acceptTerms ? *main->termsViewer->acceptButton : *main->termsViewer->declineButton;
  SendMessageW(answer.window, BM_CLICK, 0, 0);
  return WaitWindowGone(terms);
}

void ClickTool(MyApp::FormGrid& main, LumoUtility::ToolBarItem* item) {
  SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(item->id, BN_CLICKED),
               reinterpret_cast<LPARAM>(main.toolBar->window));
}

void ChooseMenu(MyApp::FormGrid& main, LumoUtility::SubMenu* item) {
  SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(item->id, 0), 0);
}

bool OpenStoredVehicle(MyApp::FormGrid& main, const std::string& plate) {
  ClickTool(main, main.openButton.get());
  if (!main.vehicleSelection) return false;
  MyApp::FormSelezione& selection = *main.vehicleSelection;
  const std::wstring wide = LumoUtility::WidenText(plate);
  const LRESULT index =
      SendMessageW(selection.plateList->window, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(wide.c_str()));
  if (index < 0) return false;
  SendMessageW(selection.plateList->window, LB_SETCURSEL, index, 0);
  HWND window = selection.window;
  SendMessageW(selection.okButton->window, BM_CLICK, 0, 0);
  return WaitWindowGone(window);
}

bool ConfirmVehicleEditor(MyApp::FormGrid& main, const std::string& plate,
                          const std::string& description, const std::string& km) {
  if (!main.vehicleEditor) return false;
  MyApp::FormNuovo& editor = *main.vehicleEditor;
  SetWindowTextA(editor.plateBox->window, plate.c_str());
  SetWindowTextA(editor.descriptionBox->window, description.c_str());
  // Through the km box, as a user passing through it would.
  editor.kmBox->Focus();
  SetWindowTextA(editor.kmBox->window, km.c_str());
  editor.descriptionBox->Focus();
  HWND window = editor.window;
  SendMessageW(editor.okButton->window, BM_CLICK, 0, 0);
  return WaitWindowGone(window);
}
