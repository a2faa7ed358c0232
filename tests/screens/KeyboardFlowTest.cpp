// The program from the keyboard: shortcut keys, where the focus goes, Enter on buttons,
// and the shortcuts of the usual visit (the kind preselected, the km offered). Keys are
// real key presses (SendInput): they reach whatever has the focus, as a user's would.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/MaintenanceStore.h"
#include "screens/FormAnagInterv.h"
#include "screens/FormGrid.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "screens/FormStorico.h"
#include "screens/KmText.h"
#include "tests/screens/MainWindowDriving.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/Grid.h"
#include "toolkit/ListBox.h"
#include "toolkit/ListView.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBarItem.h"

using MyApp::FormGrid;

namespace {

class KeyboardFlowTest : public ScreenTest {
 protected:
  std::unique_ptr<FormGrid> OpenMain() {
    std::unique_ptr<FormGrid> main;
    EXPECT_TRUE(OpenMainWindow(main, "Manutenzione di prova"));
    PumpMessagesUntil([&] { return GetForegroundWindow() == main->window; });
    return main;
  }

  // A vehicle opened through "Apri" with the keyboard: one vehicle is selected at once.
  void OpenTheOnlyVehicle(FormGrid& main) {
    Press('O', true);
    ASSERT_TRUE(main.vehicleSelection);
    EXPECT_EQ(GetFocus(), main.vehicleSelection->plateList->window);
    HWND selection = main.vehicleSelection->window;
    Press(VK_RETURN);
    ASSERT_TRUE(WaitGone(selection));
    ASSERT_TRUE(IsWindowVisible(main.grid->window));
  }
};

TEST_F(KeyboardFlowTest, ToolbarKeysActLikeClicksOnlyWhenTheCommandIsEnabled) {
  auto main = OpenMain();
  const std::pair<LumoUtility::ToolBarItem*, const char*> tips[] = {
      {main->newButton.get(), "Nuovo (Ctrl+N)"},
      {main->openButton.get(), "Apri (Ctrl+O)"},
      {main->editButton.get(), "Modifica (F2)"},
      {main->addButton.get(), "Aggiungi (Ins)"},
      {main->historyButton.get(), "Storico (Ctrl+H)"},
      {main->optionsButton.get(), "Opzioni (Ctrl+G)"},
      {main->closeButton.get(), "Chiudi (Ctrl+W)"}};
  for (const auto& [item, tip] : tips) EXPECT_EQ(item->ToolTipText(), tip);
  // Without a vehicle "Modifica", "Aggiungi" and "Storico" are disabled: their keys do
  // nothing.
  Press(VK_F2);
  Press(VK_INSERT);
  Press('H', true);
  EXPECT_FALSE(main->vehicleEditor);
  EXPECT_FALSE(main->interventionEntry);
  EXPECT_FALSE(main->historyForm);

  Press('N', true);
  ASSERT_TRUE(main->vehicleEditor);
  EXPECT_EQ(main->vehicleEditor->GetTextAnsi(), "Nuovo Veicolo");
  EXPECT_EQ(GetFocus(), main->vehicleEditor->plateBox->window);
  ASSERT_TRUE(ConfirmVehicleEditor(*main, "KB100KB", "", "1000"));
  EXPECT_EQ(GetFocus(), main->grid->window);
  Press('H', true);
  ASSERT_TRUE(main->historyForm);
  EXPECT_EQ(GetFocus(), main->historyForm->historyList->window);
  HWND history = main->historyForm->window;
  Press(VK_ESCAPE);
  ASSERT_TRUE(WaitGone(history));
  EXPECT_EQ(GetFocus(), main->grid->window);

  Press('W', true);
  EXPECT_FALSE(IsWindowVisible(main->grid->window));
  // The hidden grid no longer takes Enter: nothing opens.
  Press(VK_RETURN);
  EXPECT_FALSE(main->interventionEntry);
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(KeyboardFlowTest, AddPreselectsTheSelectedKindAndHigherKmOfferToUpdateTheVehicle) {
  const VehicleRecord car = StoreVehicle("KB200KB", "", 90000, false);
  auto main = OpenMain();
  OpenTheOnlyVehicle(*main);
  EXPECT_EQ(GetFocus(), main->grid->window);
  Press(VK_DOWN);
  Press(VK_DOWN);
  const ScheduleRow line = main->schedule.at(2);

  for (const int answer : {IDNO, IDYES}) {
    Press(VK_INSERT);
    ASSERT_TRUE(main->interventionEntry);
    MyApp::FormIntervento& entry = *main->interventionEntry;
    EXPECT_EQ(GetFocus(), entry.typeList->window);
    EXPECT_EQ(entry.typeList->ItemKeyAnsi(entry.typeList->SelectedIndex()),
              std::to_string(line.ID_INTERVENTO));
    entry.kmBox->Focus();
    Type(entry.kmBox->window, answer == IDNO ? "94000" : "95000");
    entry.okButton->Focus();
    boxes.QueueAnswer(answer);
    HWND window = entry.window;
    Press(VK_RETURN);
    ASSERT_TRUE(WaitGone(window));
    ASSERT_FALSE(boxes.Requests().empty());
    EXPECT_EQ(LastBox()->text, "Aggiornare i Km del veicolo a " +
                                   MyApp::GroupedKm(answer == IDNO ? 94000 : 95000) + "?");
    EXPECT_EQ(LastBox()->caption, "Conferma");
    EXPECT_EQ(GetFocus(), main->grid->window);
    EXPECT_EQ(main->grid->selectedRow, 2);
  }
  MaintenanceStore store;
  const VehicleRecord stored = store.LoadVehicleByPlate("KB200KB");
  EXPECT_EQ(stored.KM, 95000);
  EXPECT_TRUE(stored.HasDate);
  EXPECT_EQ(main->currentVehicle.KM, 95000);
  EXPECT_EQ(boxes.Requests().size(), 2u);
}

TEST_F(KeyboardFlowTest, EnterPressesTheFocusedButtonAndNotTheFormsDefault) {
  StoreVehicle("KB300KB", "", 1000, false);
  auto main = OpenMain();
  // In the selection Enter means "OK", except on a focused "Annulla".
  Press('O', true);
  ASSERT_TRUE(main->vehicleSelection);
  MyApp::FormSelezione& selection = *main->vehicleSelection;
  EXPECT_EQ(selection.plateList->SelectedIndex(), 0);
  selection.cancelButton->Focus();
  HWND window = selection.window;
  Press(VK_RETURN);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_EQ(selection.result, MyApp::OwnedForm::kCancelled);
  EXPECT_FALSE(IsWindowVisible(main->grid->window));
}

TEST_F(KeyboardFlowTest, AReactivatedFormGivesTheFocusBackWhereItWas) {
  auto main = OpenMain();
  Press('N', true);
  ASSERT_TRUE(main->vehicleEditor);
  MyApp::FormNuovo& editor = *main->vehicleEditor;
  editor.descriptionBox->Focus();
  // Another program's window comes in front, then the editor again (Alt+Tab).
  HWND other = CreateWindowExW(0, L"STATIC", L"altro", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                               100, nullptr, nullptr, nullptr, nullptr);
  SetForegroundWindow(other);
  PumpMessagesUntil([&] { return GetFocus() != editor.descriptionBox->window; });
  // Back through the main window, which waits on the editor: the editor gets the keys.
  SetForegroundWindow(main->window);
  EXPECT_TRUE(PumpMessagesUntil([&] { return GetFocus() == editor.descriptionBox->window; }));
  EXPECT_EQ(GetActiveWindow(), editor.window);
  DestroyWindow(other);
}

TEST_F(KeyboardFlowTest, EscInTheCatalogueEditorGivesUpTheTypingFirst) {
  auto main = OpenMain();
  Press('G', true);
  ASSERT_TRUE(main->catalogueEditor);
  MyApp::FormAnagInterv& editor = *main->catalogueEditor;
  EXPECT_EQ(GetFocus(), editor.catalogueList->window);
  EXPECT_EQ(editor.newItem->ToolTipText(), "Nuovo (Ctrl+N)");
  EXPECT_EQ(editor.deleteItem->ToolTipText(), "Cancella (Canc)");
  Press('N', true);
  ASSERT_EQ(editor.mode, MyApp::FormAnagInterv::kEnteringNew);
  EXPECT_EQ(GetFocus(), editor.nameBox->window);
  Type(editor.nameBox->window, "PROVA");
  Press(VK_ESCAPE);
  EXPECT_EQ(editor.mode, MyApp::FormAnagInterv::kBrowsing);
  ASSERT_TRUE(IsWindow(editor.window));
  EXPECT_EQ(GetFocus(), editor.catalogueList->window);
  HWND window = editor.window;
  Press(VK_ESCAPE);
  EXPECT_TRUE(WaitGone(window));
  EXPECT_EQ(GetFocus(), main->window);
}

}  // namespace
