// The history form through its real windows, on a copy of the template database, opened
// from the main window as the user opens it.
#include "screens/FormStorico.h"

#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "screens/FormGrid.h"
#include "screens/FormIntervento.h"
#include "screens/HistoryLines.h"
#include "screens/KmText.h"
#include "tests/screens/MainWindowDriving.h"
#include "tests/screens/ScreenTestSupport.h"
#include "tests/support/InterventionRecords.h"
#include "toolkit/Button.h"
#include "toolkit/CellControl.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/Grid.h"
#include "toolkit/ListView.h"
#include "toolkit/SaveFileDialog.h"
#include "toolkit/SortArrows.h"
#include "toolkit/TextBox.h"
#include "toolkit/ToolBarItem.h"
#include "toolkit/UserLocale.h"
#include "toolkit/base/CurrencyText.h"
#include "toolkit/base/TextEncoding.h"

using LumoUtility::MakeDate;
using MyApp::FormStorico;

namespace {

constexpr char kPlate[] = "AB/12";

std::wstring ItemText(HWND list, int row, int column) {
  wchar_t text[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return text;
}

// A list as the user reads it: the header's captions, then one line per row, cells
// joined by "|".
std::vector<std::string> ListLines(HWND list) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  std::vector<std::string> lines(1);
  for (int column = 0; column < columns; ++column) {
    wchar_t caption[64] = {};
    LVCOLUMNW description{};
    description.mask = LVCF_TEXT;
    description.pszText = caption;
    description.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&description));
    lines[0] += (column ? "|" : "") + LumoUtility::NarrowText(caption);
  }
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    std::string line;
    for (int column = 0; column < columns; ++column) {
      line += (column ? "|" : "") + LumoUtility::NarrowText(ItemText(list, row, column));
    }
    lines.push_back(line);
  }
  return lines;
}

// A click on a column's header, as the mouse gives it.
void ClickHeader(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  RECT bounds{};
  SendMessageW(header, HDM_GETITEMRECT, column, reinterpret_cast<LPARAM>(&bounds));
  const LPARAM point =
      MAKELPARAM((bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(header, WM_LBUTTONUP, 0, point);
  PumpMessagesFor(std::chrono::milliseconds(50));
}

// The header's arrow: 1 up, -1 down, 0 none.
int SortArrow(HWND list, int column) {
  HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
  if (!(item.fmt & HDF_IMAGE)) return 0;
  return item.iImage == LumoUtility::kSortUpImage ? 1 : -1;
}

std::string Cost(double cost) { return MyApp::HistoryCost(cost, LumoUtility::UserDefaultLocale()); }

class FormStoricoTest : public ScreenTest {
 protected:
  FormStoricoTest() {
    vehicle_ = StoreVehicle(kPlate, "", 100000, false);
    const VehicleRecord other = StoreVehicle("ZZ999ZZ", "", 100000, false);
    // Kinds 1, 2 and 3 of the template: "Olio motore", "Filtro olio", "Filtro aria".
    Store(vehicle_, 1, MakeDate(2024, 3, 15), 80000, 84.5, "olio 5W30; filtro\r\nincluso");
    Store(vehicle_, 2, MakeDate(2025, 6, 10), 90000, 1234, "marca \"Bosch\"");
    Store(vehicle_, 1, MakeDate(2026, 6, 10), 95000, 90.25, "\x80 20 di sconto, caff\xE8");
    Store(vehicle_, 3, MakeDate(2026, 6, 10), 95000, 0, "");
    Store(other, 1, MakeDate(2026, 7, 1), 1000, 50, "altro veicolo");
  }

  void Store(const VehicleRecord& vehicle, std::int32_t kind, LumoUtility::DateTimeValue date,
             std::int32_t km, double cost, const std::string& notes) {
    MaintenanceStore store;
    ASSERT_TRUE(store.SaveVehicleIntervention(vehicle.ID, Done(kind, km, date, cost, notes)))
        << store.ErrorText();
  }

  // The main window showing the vehicle, and its history opened with "Storico".
  FormStorico& OpenHistory() {
    EXPECT_TRUE(OpenMainWindow(main_, "Manutenzione di prova"));
    EXPECT_TRUE(OpenStoredVehicle(*main_, kPlate));
    ClickTool(*main_, main_->historyButton.get());
    EXPECT_TRUE(main_->historyForm);
    return *main_->historyForm;
  }

  static std::vector<VehicleIntervention> Stored(std::int32_t vehicleId) {
    MaintenanceStore store;
    return store.ListVehicleHistory(vehicleId);
  }

  std::string GridCost(int row) { return main_->grid->GetRowCells(row).at(3)->GetTextAnsi(); }

  VehicleRecord vehicle_;
  std::unique_ptr<MyApp::FormGrid> main_;
};

TEST_F(FormStoricoTest, ListsTheVehiclesInterventionsNewestFirstWithTheTotalsOfEachYear) {
  FormStorico& history = OpenHistory();
  EXPECT_EQ(history.GetTextAnsi(), "Storico interventi");
  EXPECT_FALSE(IsWindowEnabled(main_->window));
  // The first list view of the form is the history, the second the totals.
  HWND first = FindWindowExW(history.window, nullptr, WC_LISTVIEWW, nullptr);
  EXPECT_EQ(first, history.historyList->window);
  EXPECT_EQ(FindWindowExW(history.window, first, WC_LISTVIEWW, nullptr),
            history.totalsList->window);
  const std::vector<std::string> expected = {
      "Data|Km|Intervento|Costo|Note",
      "10/06/2026|" + MyApp::GroupedKm(95000) + "|Filtro aria|" + Cost(0) + "|",
      "10/06/2026|" + MyApp::GroupedKm(95000) + "|Olio motore|" + Cost(90.25) +
          "|\x80 20 di sconto, caff\xE8",
      "10/06/2025|" + MyApp::GroupedKm(90000) + "|Filtro olio|" + Cost(1234) + "|marca \"Bosch\"",
      "15/03/2024|" + MyApp::GroupedKm(80000) + "|Olio motore|" + Cost(84.5) +
          "|olio 5W30; filtro incluso",
  };
  EXPECT_EQ(ListLines(history.historyList->window), expected);
  EXPECT_EQ(ListLines(history.totalsList->window),
            (std::vector<std::string>{"Anno|Interventi|Costo", "2026|2|" + Cost(90.25),
                                      "2025|1|" + Cost(1234), "2024|1|" + Cost(84.5),
                                      "Totale|4|" + Cost(1408.75)}));
  EXPECT_EQ(GetFocus(), history.historyList->window);
  EXPECT_EQ(history.historyList->SelectedRow(), 0);
  EXPECT_EQ(history.changeItem->ToolTipText(), "Modifica (F2)");
  EXPECT_EQ(history.deleteItem->ToolTipText(), "Elimina (Canc)");
  EXPECT_EQ(history.exportItem->ToolTipText(), "Esporta (Ctrl+E)");
  EXPECT_TRUE(boxes.Requests().empty());

  HWND window = history.window;
  SendMessageW(history.closeButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(window));
  EXPECT_TRUE(IsWindowEnabled(main_->window));
}

TEST_F(FormStoricoTest, AHeaderClickSortsByValueAndASecondOneReverses) {
  FormStorico& history = OpenHistory();
  HWND list = history.historyList->window;
  history.historyList->SelectRow(2);  // "Filtro olio", which stays selected wherever it goes
  const struct {
    int column;
    int arrow;
    std::vector<std::wstring> firstColumn;
  } clicks[] = {
      // Km as numbers; the two at 95,000 keep the newest-first order.
      {MyApp::kHistoryKm, 1, {L"15/03/2024", L"10/06/2025", L"10/06/2026", L"10/06/2026"}},
      {MyApp::kHistoryKm, -1, {L"10/06/2026", L"10/06/2026", L"10/06/2025", L"15/03/2024"}},
      {MyApp::kHistoryDate, 1, {L"15/03/2024", L"10/06/2025", L"10/06/2026", L"10/06/2026"}},
  };
  for (const auto& click : clicks) {
    ClickHeader(list, click.column);
    std::vector<std::wstring> dates;
    for (int row = 0; row < 4; ++row) dates.push_back(ItemText(list, row, MyApp::kHistoryDate));
    EXPECT_EQ(dates, click.firstColumn) << click.column;
    EXPECT_EQ(SortArrow(list, click.column), click.arrow);
    EXPECT_EQ(ItemText(list, history.historyList->SelectedRow(), MyApp::kHistoryKind),
              L"Filtro olio");
  }
  EXPECT_EQ(SortArrow(list, MyApp::kHistoryKm), 0);
}

TEST_F(FormStoricoTest, AnyRecordIsCorrectedInTheInterventionFormAndTheScheduleFollows) {
  FormStorico& history = OpenHistory();
  const int oilLine = 0;  // the schedule's first line is "Olio motore", kind 1
  ASSERT_EQ(main_->schedule.at(oilLine).ID, 3);
  // Enter on the older oil change, which the schedule does not show, then F2 on the newer.
  const struct {
    int row;
    WORD key;
    std::int32_t id;
  } edits[] = {{3, VK_RETURN, 1}, {1, VK_F2, 3}};
  for (const auto& edit : edits) {
    history.historyList->SelectRow(edit.row);
    Press(edit.key);
    ASSERT_TRUE(history.interventionEntry);
    MyApp::FormIntervento& entry = *history.interventionEntry;
    EXPECT_EQ(entry.GetTextAnsi(), "Modifica Intervento");
    EXPECT_FALSE(IsWindowEnabled(history.window));
    SetWindowTextA(entry.costBox->window, "77");
    HWND window = entry.window;
    SendMessageW(entry.okButton->window, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitGone(window));
    EXPECT_EQ(ItemText(history.historyList->window, edit.row, MyApp::kHistoryCost),
              LumoUtility::WidenText(Cost(77)));
    EXPECT_EQ(history.historyList->SelectedRow(), edit.row);
    EXPECT_EQ(GetFocus(), history.historyList->window);
  }
  const std::vector<VehicleIntervention> stored = Stored(vehicle_.ID);
  EXPECT_EQ(stored.at(1).COSTO, 77.0);
  EXPECT_EQ(stored.at(3).COSTO, 77.0);
  EXPECT_EQ(stored.at(3).KM, 80000);
  EXPECT_EQ(GridCost(oilLine), LumoUtility::FormatCurrency(77, LumoUtility::UserDefaultLocale()));
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST_F(FormStoricoTest, DeleteAsksAboutTheRecordAndDeletesOnYesOnly) {
  FormStorico& history = OpenHistory();
  history.historyList->SelectRow(1);
  for (const int answer : {IDNO, IDYES}) {
    boxes.QueueAnswer(answer);
    Press(VK_DELETE);
    ASSERT_TRUE(LastBox());
    EXPECT_EQ(LastBox()->text, "Eliminare l'intervento del 10/06/2026 (Olio motore)?");
    EXPECT_EQ(LastBox()->caption, "Conferma");
    EXPECT_EQ(LastBox()->owner, history.window);
    EXPECT_EQ(Stored(vehicle_.ID).size(), answer == IDNO ? 4u : 3u);
  }
  EXPECT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(ListLines(history.historyList->window).size(), 4u);
  EXPECT_EQ(ListLines(history.totalsList->window).at(1), "2026|1|" + Cost(0));
  // The schedule shows the oil change left.
  EXPECT_EQ(main_->schedule.at(0).ID, 1);
  EXPECT_EQ(Stored(2).size(), 1u);
}

TEST_F(FormStoricoTest, ExportWritesTheListInItsOrderAsUtf8Csv) {
  std::vector<LumoUtility::SaveFileRequest> requests;
  std::wstring target = (root / "storico.csv").wstring();
  const auto previous = LumoUtility::SetSaveFileChooser([&](const auto& request) {
    requests.push_back(request);
    return target;
  });
  FormStorico& history = OpenHistory();
  ClickHeader(history.historyList->window, MyApp::kHistoryKind);
  Press('E', true);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].title, "Esporta storico");
  EXPECT_EQ(requests[0].proposedPath, LumoUtility::DocumentsFolder() + L"\\Storico_AB_12.csv");
  EXPECT_EQ(requests[0].filterPattern, L"*.csv");
  EXPECT_EQ(requests[0].owner, history.window);
  std::ifstream file(std::filesystem::path(target), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  EXPECT_EQ(bytes,
            "\xEF\xBB\xBF"
            "Targa;Data;Km;Intervento;Costo;Note\r\n"
            "AB/12;10/06/2026;95000;Filtro aria;0,00;\r\n"
            "AB/12;10/06/2025;90000;Filtro olio;1234,00;\"marca \"\"Bosch\"\"\"\r\n"
            "AB/12;10/06/2026;95000;Olio motore;90,25;\xE2\x82\xAC 20 di sconto, caff\xC3\xA8\r\n"
            "AB/12;15/03/2024;80000;Olio motore;84,50;\"olio 5W30; filtro\r\nincluso\"\r\n");
  EXPECT_TRUE(boxes.Requests().empty());

  // A folder that does not exist: the error, and no file.
  target = (root / "manca" / "storico.csv").wstring();
  Press('E', true);
  ASSERT_TRUE(LastBox());
  EXPECT_EQ(LastBox()->text, "Impossibile scrivere il file: " + LumoUtility::NarrowText(target));
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_FALSE(std::filesystem::exists(root / "manca"));
  LumoUtility::SetSaveFileChooser(previous);
}

}  // namespace
