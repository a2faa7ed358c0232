#include "screens/FormGrid.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/DatabasePath.h"
#include "data/ProgramStore.h"
#include "data/jet/Database.h"
#include "data/jet/FormatConstants.h"
#include "screens/FormAnagInterv.h"
#include "screens/FormIntervento.h"
#include "screens/FormNuovo.h"
#include "screens/FormSelezione.h"
#include "screens/KmText.h"
#include "screens/ScheduleLines.h"
#include "tests/screens/MainWindowDriving.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/CellControl.h"
#include "toolkit/ComboBox.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/Grid.h"
#include "toolkit/ListBox.h"
#include "toolkit/Menus.h"
#include "toolkit/SystemDates.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/base/CalendarMonths.h"
#include "toolkit/base/TextEncoding.h"

using MyApp::FormGrid;

namespace {

constexpr char kCaption[] = "Manutenzione di prova";

class FormGridTest : public ScreenTest {
 protected:
  // The main window with its terms answered.
  std::unique_ptr<FormGrid> OpenMain(bool acceptTerms = true) {
    std::unique_ptr<FormGrid> main;
    EXPECT_TRUE(OpenMainWindow(main, kCaption, acceptTerms));
    return main;
  }

  static bool MenuItemEnabled(FormGrid& main, const LumoUtility::SubMenu& item) {
    const UINT state = GetMenuState(main.optionsMenu->menuHandle, item.id, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && !(state & (MF_DISABLED | MF_GRAYED));
  }
  static bool ToolEnabled(FormGrid& main, const LumoUtility::ToolBarItem& item) {
    return SendMessageW(main.toolBar->window, TB_ISBUTTONENABLED, item.id, 0) != 0;
  }

  static void OpenStored(FormGrid& main, const std::string& plate) {
    ASSERT_TRUE(OpenStoredVehicle(main, plate));
  }

  static std::string Cell(FormGrid& main, int row, int column) {
    return main.grid->GetRowCells(row).at(column)->GetTextAnsi();
  }
  static HBITMAP Picture(FormGrid& main, int row) {
    return main.grid->GetRowCells(row).at(0)->image;
  }
  // The text the face's tooltip control holds, empty without one.
  static std::string FaceTip(FormGrid& main, int row) {
    LumoUtility::CellControl& face = *main.grid->GetRowCells(row).at(0);
    if (!face.toolTipWindow) return "";
    std::wstring text =
        ToolTipText(face.toolTipWindow, face.window, reinterpret_cast<UINT_PTR>(face.window));
    EXPECT_EQ(LumoUtility::NarrowText(text), face.toolTip);
    return face.toolTip;
  }
  // A kind done once, the given calendar months before today.
  static LumoUtility::DateTimeValue StoreDoneMonthsAgo(const VehicleRecord& vehicle,
                                                       std::int32_t typeId, std::int32_t km,
                                                       int monthsAgo) {
    const LumoUtility::DateTimeValue now = LumoUtility::LocalNow();
    VehicleIntervention done;
    done.ID_INTERVENTO = typeId;
    done.KM = km;
    done.DATA = LumoUtility::AddCalendarMonths(LumoUtility::MakeDate(now.year, now.month, now.day),
                                               -monthsAgo);
    MaintenanceStore store;
    EXPECT_TRUE(store.SaveVehicleIntervention(store.FindVehicleIdByPlate(vehicle.TARGA), done));
    return done.DATA;
  }
  static int RowOf(FormGrid& main, const std::string& intervention) {
    for (int row = 0; row < main.grid->RowsBuilt(); ++row) {
      if (Cell(main, row, 0) == intervention) return row;
    }
    return -1;
  }
  static int CatalogueSize() {
    MaintenanceStore store;
    return store.CountInterventionTypes();
  }
  // Leaves the catalogue with exactly this many entries, none named "Candela".
  static void KeepCatalogueEntries(int count) {
    MaintenanceStore store;
    std::vector<InterventionType> types = store.ListInterventionTypes();
    for (size_t i = static_cast<size_t>(count); i < types.size(); ++i) {
      ASSERT_TRUE(store.DeleteInterventionType(types[i])) << store.ErrorText();
    }
  }
};

TEST_F(FormGridTest, StartsEmptyBehindTheTermsAndAcceptingThemLeavesItUsable) {
  ASSERT_EQ(CatalogueSize(), 25);
  auto main = OpenMain(true);
  EXPECT_TRUE(IsWindowEnabled(main->window));
  EXPECT_TRUE(IsWindow(main->window));
  EXPECT_EQ(main->GetTextAnsi(), kCaption);
  EXPECT_EQ(main->termsViewer->result, LumoUtility::FormLeggimi::kAccepted);
  EXPECT_TRUE(boxes.Requests().empty());
  RECT client{};
  GetClientRect(main->window, &client);
  EXPECT_EQ(client.right, 750);
  EXPECT_EQ(client.bottom, 550);
  EXPECT_NE(SendMessageW(main->window, WM_GETICON, ICON_SMALL, 0), 0);

  // The grid's windows wait for the first vehicle.
  EXPECT_EQ(main->grid->window, nullptr);
  EXPECT_FALSE(main->grid->visible);
  EXPECT_TRUE(ToolEnabled(*main, *main->newButton));
  EXPECT_TRUE(ToolEnabled(*main, *main->openButton));
  EXPECT_TRUE(ToolEnabled(*main, *main->optionsButton));
  EXPECT_FALSE(ToolEnabled(*main, *main->editButton));
  EXPECT_FALSE(ToolEnabled(*main, *main->addButton));
  EXPECT_FALSE(ToolEnabled(*main, *main->historyButton));
  EXPECT_FALSE(ToolEnabled(*main, *main->closeButton));
  EXPECT_EQ(SendMessageW(main->toolBar->window, TB_BUTTONCOUNT, 0, 0), 8);
  EXPECT_TRUE(MenuItemEnabled(*main, *main->catalogueItem));
  EXPECT_EQ(GetMenuItemCount(GetMenu(main->window)), 3);

  // The first-release catalogue of 25 gains the spark plug, and the grid a row for it.
  EXPECT_EQ(CatalogueSize(), 26);
  EXPECT_EQ(main->grid->rowCount, 26);
  EXPECT_NE(main->inOrderIcon.Get(), nullptr);
  EXPECT_NE(main->dueIcon.Get(), nullptr);
}

TEST_F(FormGridTest, DecliningTheTermsClosesWithoutTheExitQuestion) {
  auto main = std::make_unique<FormGrid>(TestInstance(), kCaption);
  ASSERT_TRUE(main->termsViewer && IsWindow(main->termsViewer->window));
  EXPECT_EQ(main->termsViewer->GetTextAnsi(), "Leggimi");
  EXPECT_FALSE(IsWindowEnabled(main->window));
  EXPECT_EQ(main->companion, main->termsViewer.get());
  SendMessageW(main->termsViewer->declineButton->window, BM_CLICK, 0, 0);
  EXPECT_TRUE(PumpMessagesUntil([&] { return !IsWindow(main->window); }));
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(FormGridTest, TheSparkPlugIsAddedOnlyToTwentyFiveEntriesWithoutIt) {
  { auto first = OpenMain(); }
  ASSERT_EQ(CatalogueSize(), 26);
  KeepCatalogueEntries(24);
  StoreType("Candela", 6000, false, "");
  {
    auto main = OpenMain();
    EXPECT_EQ(CatalogueSize(), 25) << "a second spark plug was added";
    EXPECT_EQ(main->grid->rowCount, 25);
  }
  KeepCatalogueEntries(24);
  {
    auto main = OpenMain();
    EXPECT_EQ(CatalogueSize(), 24);
    EXPECT_EQ(main->grid->rowCount, 24);
  }
}

TEST_F(FormGridTest, OpenOnAnEmptyVehicleTableOffersTheEditor) {
  auto main = OpenMain();
  boxes.QueueAnswer(IDNO);
  ClickTool(*main, main->openButton.get());
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text,
            "Non sono presenti veicoli in archivio. Si desidera inserire un nuovo veicolo?");
  EXPECT_EQ(LastBox()->caption, "Selezione");
  EXPECT_EQ(LastBox()->owner, main->window);
  EXPECT_FALSE(main->vehicleEditor);
  EXPECT_FALSE(main->vehicleSelection);

  boxes.QueueAnswer(IDYES);
  ClickTool(*main, main->openButton.get());
  ASSERT_TRUE(main->vehicleEditor);
  EXPECT_EQ(main->vehicleEditor->GetTextAnsi(), "Nuovo Veicolo");
  EXPECT_FALSE(IsWindowEnabled(main->window));
}

TEST_F(FormGridTest, ANewVehicleIsSavedAndShownWithItsSchedule) {
  auto main = OpenMain();
  ClickTool(*main, main->newButton.get());
  ASSERT_TRUE(ConfirmVehicleEditor(*main, "AB123CD", "PANDA", "30000"));
  ASSERT_TRUE(boxes.Requests().empty()) << LastBox()->text;

  EXPECT_GT(main->currentVehicle.ID, 0);
  EXPECT_EQ(main->currentVehicle.TARGA, "AB123CD");
  EXPECT_EQ(main->GetTextAnsi(), std::string("[Targa: AB123CD] - ") + kCaption);
  EXPECT_TRUE(IsWindowVisible(main->grid->window));
  EXPECT_EQ(main->schedule.size(), 26u);
  EXPECT_EQ(main->grid->selectedRow, 0);
  // Never done: no date, km or cost; due only where the rule says so at 30.000 km.
  for (int row = 0; row < 26; ++row) {
    const ScheduleRow& line = main->schedule[static_cast<size_t>(row)];
    EXPECT_EQ(Cell(*main, row, 0), line.INTERVENTO);
    EXPECT_EQ(Cell(*main, row, 1), "");
    EXPECT_EQ(Cell(*main, row, 2), "");
    const bool due = MyApp::StatusOf(30000, line) == MyApp::ScheduleStatus::Due;
    EXPECT_EQ(Picture(*main, row), due ? main->dueIcon.Get() : main->inOrderIcon.Get());
  }
  MaintenanceStore store;
  EXPECT_EQ(store.LoadVehicleByPlate("AB123CD").KM, 30000);
}

TEST_F(FormGridTest, TheScheduleShowsDueAndInOrderLinesAndGrowsWithTheCatalogue) {
  const VehicleRecord car = StoreVehicle("ZZ999ZZ", "PUNTO", 20000, true);
  const InterventionType due = StoreType("FILTRO ARIA PROVA", 10000, false, "");
  const InterventionType inOrder = StoreType("CINGHIA PROVA", 30000, false, "");
  StoreDone(car, due.ID, 5000);
  StoreDone(car, inOrder.ID, 15000);
  auto main = OpenMain();
  ASSERT_EQ(main->grid->rowCount, 27);  // the seeding ran with 27 entries: none added
  for (int i = 0; i < 3; ++i) StoreType("EXTRA PROVA " + std::to_string(i), 1000, false, "");

  OpenStored(*main, "ZZ999ZZ");
  ASSERT_TRUE(boxes.Requests().empty()) << LastBox()->text;
  EXPECT_EQ(main->schedule.size(), 30u);
  EXPECT_EQ(main->grid->RowsBuilt(), 30);
  const int dueRow = RowOf(*main, "FILTRO ARIA PROVA");
  const int inOrderRow = RowOf(*main, "CINGHIA PROVA");
  ASSERT_GE(dueRow, 0);
  ASSERT_GE(inOrderRow, 0);
  EXPECT_EQ(Picture(*main, dueRow), main->dueIcon.Get());
  EXPECT_EQ(Picture(*main, inOrderRow), main->inOrderIcon.Get());
  EXPECT_EQ(Cell(*main, dueRow, 1), "06/05/2022");
  EXPECT_GE(RowOf(*main, "EXTRA PROVA 2"), 0);
}

TEST_F(FormGridTest, SavingAnInterventionKeepsTheRowWhileOpeningSelectsTheFirst) {
  StoreVehicle("RR111RR", "", 50000, false);
  const InterventionType oil = StoreType("OLIO PROVA", 15000, false, "");
  auto main = OpenMain();
  OpenStored(*main, "RR111RR");
  const int row = RowOf(*main, "OLIO PROVA");
  ASSERT_GT(row, 0);
  main->grid->ActivateRow(row);
  ASSERT_TRUE(main->interventionEntry);
  MyApp::FormIntervento& entry = *main->interventionEntry;
  EXPECT_EQ(entry.GetTextAnsi(), "Modifica Intervento");
  entry.kmBox->Focus();
  Type(entry.kmBox->window, "48000");
  entry.notesBox->Focus();
  HWND window = entry.window;
  SendMessageW(entry.okButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(window));
  ASSERT_TRUE(boxes.Requests().empty()) << LastBox()->text;
  EXPECT_EQ(main->grid->selectedRow, row);
  EXPECT_EQ(Cell(*main, row, 2), MyApp::GroupedKm(48000));
  EXPECT_EQ(Picture(*main, row), main->inOrderIcon.Get());
  ASSERT_EQ(main->schedule[static_cast<size_t>(row)].ID_INTERVENTO, oil.ID);
  EXPECT_EQ(main->schedule[static_cast<size_t>(row)].KM, 48000);

  OpenStored(*main, "RR111RR");
  EXPECT_EQ(main->grid->selectedRow, 0);
}

TEST_F(FormGridTest, CloseRestoresTheStateWithoutAVehicleAndKeepsItsData) {
  StoreVehicle("CC222CC", "", 1000, false);
  auto main = OpenMain();
  OpenStored(*main, "CC222CC");
  EXPECT_TRUE(ToolEnabled(*main, *main->editButton));
  EXPECT_TRUE(ToolEnabled(*main, *main->addButton));
  EXPECT_TRUE(ToolEnabled(*main, *main->historyButton));
  EXPECT_TRUE(ToolEnabled(*main, *main->closeButton));
  EXPECT_FALSE(ToolEnabled(*main, *main->optionsButton));
  // With a vehicle on display, the catalogue, backup and the restores cannot be chosen.
  EXPECT_FALSE(MenuItemEnabled(*main, *main->catalogueItem));
  EXPECT_FALSE(MenuItemEnabled(*main, *main->backupItem));
  EXPECT_FALSE(MenuItemEnabled(*main, *main->restoreItem));
  EXPECT_FALSE(MenuItemEnabled(*main, *main->restoreCopyItem));

  ClickTool(*main, main->closeButton.get());
  EXPECT_FALSE(IsWindowVisible(main->grid->window));
  EXPECT_EQ(main->GetTextAnsi(), kCaption);
  EXPECT_FALSE(ToolEnabled(*main, *main->editButton));
  EXPECT_FALSE(ToolEnabled(*main, *main->historyButton));
  EXPECT_TRUE(ToolEnabled(*main, *main->optionsButton));
  EXPECT_TRUE(MenuItemEnabled(*main, *main->catalogueItem));
  EXPECT_TRUE(MenuItemEnabled(*main, *main->backupItem));
  EXPECT_TRUE(MenuItemEnabled(*main, *main->restoreItem));
  EXPECT_TRUE(MenuItemEnabled(*main, *main->restoreCopyItem));
  EXPECT_EQ(main->currentVehicle.TARGA, "CC222CC");
  EXPECT_FALSE(main->schedule.empty());

  // "Opzioni" and the menu item open the same editor, a new one each time.
  ClickTool(*main, main->optionsButton.get());
  ASSERT_TRUE(main->catalogueEditor);
  EXPECT_EQ(main->catalogueEditor->GetTextAnsi(), "Gestione Anagrafica Interventi");
  const int firstId = main->catalogueEditor->id;
  ChooseMenu(*main, main->catalogueItem.get());
  ASSERT_TRUE(main->catalogueEditor);
  EXPECT_NE(main->catalogueEditor->id, firstId);
}

TEST_F(FormGridTest, EscAndExitAskAndNoKeepsTheWindow) {
  auto main = OpenMain();
  boxes.QueueAnswer(IDNO);
  SendMessageW(main->window, WM_CHAR, 27, 1);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text, "Vuoi realmente uscire?");
  EXPECT_EQ(LastBox()->caption, "Uscita");
  EXPECT_EQ(LastBox()->owner, nullptr);
  EXPECT_TRUE(IsWindow(main->window));

  boxes.QueueAnswer(IDNO);
  ChooseMenu(*main, main->exitItem.get());
  EXPECT_TRUE(PumpMessagesUntil([&] { return boxes.Requests().size() == 2; }));
  PumpMessagesFor(std::chrono::milliseconds(50));
  EXPECT_TRUE(IsWindow(main->window));
  EXPECT_TRUE(IsWindowEnabled(main->window));

  boxes.QueueAnswer(IDYES);
  ChooseMenu(*main, main->exitItem.get());
  EXPECT_TRUE(PumpMessagesUntil([&] { return !IsWindow(main->window); }));
  EXPECT_EQ(boxes.Requests().size(), 3u);
}

TEST_F(FormGridTest, AFailedLoadOrSaveLeavesTheVehicleOnDisplay) {
  StoreVehicle("OK000OK", "", 1000, false);
  StoreVehicle("GONE000", "", 2000, false);
  auto main = OpenMain();
  OpenStored(*main, "OK000OK");
  const std::string title = main->GetTextAnsi();
  const std::int32_t shownId = main->currentVehicle.ID;

  // The plate vanished (another running copy) between the list and the choice.
  ClickTool(*main, main->openButton.get());
  ASSERT_TRUE(main->vehicleSelection);
  MyApp::FormSelezione& selection = *main->vehicleSelection;
  const LRESULT index = SendMessageW(selection.plateList->window, LB_FINDSTRINGEXACT,
                                     static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"GONE000"));
  ASSERT_GE(index, 0);
  SendMessageW(selection.plateList->window, LB_SETCURSEL, index, 0);
  {
    DbConnection connection(MaintenanceStore::ConnectionStringFor(DatabasePath),
                            MakeProgramEngine());
    ASSERT_TRUE(connection.OpenConnection());
    ASSERT_EQ(connection.ExecuteCommand("DELETE FROM VEICOLO WHERE TARGA='GONE000'"), 1);
    connection.CloseConnection();
  }
  HWND window = selection.window;
  SendMessageW(selection.okButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(window));
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(LastBox()->text.rfind("Errore durante il caricamento del veicolo [", 0), 0u)
      << LastBox()->text;
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(main->currentVehicle.ID, shownId);
  EXPECT_EQ(main->GetTextAnsi(), title);

  // A save that cannot write (the file went bad meanwhile): the editor's values do not
  // replace the vehicle in use.
  const std::wstring goodDatabase = DatabasePath;
  DatabasePath = (root / "rovinato.mdb").wstring();
  WriteFileBytes(root / "rovinato.mdb", std::string(8192, 'x'));
  ClickTool(*main, main->newButton.get());
  ASSERT_TRUE(ConfirmVehicleEditor(*main, "NEW0001", "", "10"));
  DatabasePath = goodDatabase;
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(main->currentVehicle.TARGA, "OK000OK");
  EXPECT_EQ(main->GetTextAnsi(), title);
  EXPECT_TRUE(IsWindowVisible(main->grid->window));
}

TEST_F(FormGridTest, DeletingItWithAChildFormOpenCallsNothingBack) {
  auto main = OpenMain();
  ClickTool(*main, main->newButton.get());
  ASSERT_TRUE(main->vehicleEditor);
  HWND editor = main->vehicleEditor->window;
  main.reset();
  EXPECT_FALSE(IsWindow(editor));
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(FormGridTest, TheBackgroundIsDrawnBelowTheToolbarUnscaled) {
  auto main = OpenMain();
  PixelCanvas canvas(750, 650, RGB(1, 2, 3));
  main->PaintBackground(canvas.Context());
  EXPECT_EQ(canvas.CountNot(RGB(1, 2, 3), RECT{0, 0, 750, 50}), 0);
  EXPECT_EQ(canvas.CountOf(RGB(1, 2, 3), RECT{0, 50, 750, 625}), 0);
  EXPECT_EQ(canvas.CountNot(RGB(1, 2, 3), RECT{0, 625, 750, 650}), 0);
}

// The schedule is read from the catalogue, the vehicle is saved in its own table: with the
// catalogue's definition page damaged, a save works and the reload after it fails.
void DamageCatalogueTable() {
  const std::filesystem::path database(DatabasePath);
  std::uint32_t page = 0;
  for (const Jet::CatalogTable& table : Jet::Database::OpenFile(database).UserTables()) {
    if (table.name == u"INTERVENTI") page = table.definitionPage;
  }
  ASSERT_NE(page, 0u);
  std::string bytes = ReadFileBytes(database);
  bytes.replace(page * Jet::Format::kPageSize, Jet::Format::kPageSize, Jet::Format::kPageSize,
                '\0');
  WriteFileBytes(database, bytes);
}

TEST_F(FormGridTest, AVehicleSavedBeforeAFailedReloadIsWhatTheNextEditOffers) {
  StoreVehicle("AB123CD", "BERLINA", 10000, false);
  auto main = OpenMain();
  OpenStored(*main, "AB123CD");
  DamageCatalogueTable();

  ClickTool(*main, main->editButton.get());
  const size_t seen = boxes.Requests().size();
  ASSERT_TRUE(ConfirmVehicleEditor(*main, "AB123CD", "FURGONE", "12000"));
  ASSERT_EQ(boxes.Requests().size(), seen + 1) << "the reload did not fail";
  EXPECT_EQ(LastBox()->caption, "Errore");

  ClickTool(*main, main->editButton.get());
  ASSERT_TRUE(main->vehicleEditor);
  MyApp::FormNuovo& editor = *main->vehicleEditor;
  EXPECT_EQ(editor.descriptionBox->GetTextAnsi(), "FURGONE");
  EXPECT_EQ(editor.kmBox->GetTextAnsi(), MyApp::GroupedKm(12000));
  HWND window = editor.window;
  SendMessageW(editor.okButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(window));
  MaintenanceStore store;
  const VehicleRecord stored = store.LoadVehicleByPlate("AB123CD");
  EXPECT_EQ(stored.KM, 12000);
  EXPECT_EQ(stored.DESCRIZIONE, "FURGONE");
}

TEST_F(FormGridTest, TheSelectionListsPlatesInTheOrderOfTheDatabaseIndex) {
  // Apostrophes and hyphens count only between plates otherwise the same; other
  // punctuation comes before digits, digits before letters.
  const std::vector<std::string> ordered = {"AB_1",    "AB-12",  "AB123CD", "ABCD",
                                            "OA123BC", "OBRIEN", "O'BRIEN", "ZZ999ZZ"};
  for (const char* plate :
       {"ZZ999ZZ", "O'BRIEN", "ABCD", "AB-12", "OA123BC", "AB_1", "OBRIEN", "AB123CD"}) {
    StoreVehicle(plate, "", 0, false);
  }
  auto main = OpenMain();
  ClickTool(*main, main->openButton.get());
  ASSERT_TRUE(main->vehicleSelection);
  HWND list = main->vehicleSelection->plateList->window;
  std::vector<std::string> shown;
  for (LRESULT i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i) {
    wchar_t item[64] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
    shown.push_back(LumoUtility::NarrowText(item));
  }
  EXPECT_EQ(shown, ordered);
}

TEST_F(FormGridTest, EachFaceTellsWhatIsLeftAndRowsBeyondTheScheduleTellNothing) {
  const VehicleRecord car = StoreVehicle("TT111TT", "", 20000, false);
  const InterventionType inOrder = StoreType("KM IN ORDINE", 10000, false, "");
  const InterventionType due = StoreType("KM SCADUTO", 10000, false, "");
  const InterventionType spare = StoreType("DA TOGLIERE", 10000, false, "");
  StoreDone(car, inOrder.ID, 13200);
  StoreDone(car, due.ID, 8500);
  auto main = OpenMain();
  OpenStored(*main, "TT111TT");
  EXPECT_EQ(FaceTip(*main, RowOf(*main, "KM IN ORDINE")),
            "Prossimo: tra " + MyApp::GroupedKm(3200) + " km");
  EXPECT_EQ(FaceTip(*main, RowOf(*main, "KM SCADUTO")),
            "Scaduto da " + MyApp::GroupedKm(1500) + " km");

  // One kind fewer: the last row is left over, with no face and nothing to tell.
  ASSERT_TRUE(MaintenanceStore().DeleteInterventionType(spare));
  const int rows = main->grid->RowsBuilt();
  OpenStored(*main, "TT111TT");
  ASSERT_EQ(main->schedule.size(), static_cast<size_t>(rows - 1));
  EXPECT_EQ(Picture(*main, rows - 1), nullptr);
  EXPECT_EQ(FaceTip(*main, rows - 1), "");

  std::vector<HWND> tips;
  for (int row = 0; row < rows; ++row)
    tips.push_back(main->grid->GetRowCells(row)[0]->toolTipWindow);
  main.reset();
  for (HWND tip : tips) EXPECT_FALSE(IsWindow(tip));
}

TEST_F(FormGridTest, AFaceFallsDueWhenTheMonthsHavePassed) {
  if (!MaintenanceStore().EnsureMonthsTable()) GTEST_SKIP() << "no months table in this store";
  const VehicleRecord car = StoreVehicle("MM222MM", "", 20000, false);
  const struct {
    const char* name;
    int monthsAgo;
    bool due;
    const char* tipStart;
    const char* tipMiddle;
  } cases[] = {
      {"MESI SCADUTI", 25, true, "Scaduto dal ", ""},
      {"MESI IN ORDINE", 23, false, "Prossimo: tra ", " km o entro il "},
  };
  LumoUtility::DateTimeValue doneOn[2];
  for (int i = 0; i < 2; ++i) {
    const InterventionType type = StoreType(cases[i].name, 30000, false, "");
    ASSERT_TRUE(MaintenanceStore().SaveInterventionMonths(type.ID, 24));
    doneOn[i] = StoreDoneMonthsAgo(car, type.ID, 1000, cases[i].monthsAgo);
  }
  auto main = OpenMain();
  OpenStored(*main, "MM222MM");
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(cases[i].name);
    const int row = RowOf(*main, cases[i].name);
    ASSERT_GE(row, 0);
    EXPECT_EQ(Picture(*main, row), cases[i].due ? main->dueIcon.Get() : main->inOrderIcon.Get());
    const std::string dueDate =
        LumoUtility::FormatDayMonthYear(LumoUtility::AddCalendarMonths(doneOn[i], 24));
    const std::string km = cases[i].due ? "" : MyApp::GroupedKm(11000);
    EXPECT_EQ(FaceTip(*main, row), cases[i].tipStart + km + cases[i].tipMiddle + dueDate);
  }
}

}  // namespace
