// A vehicle's history through the real program, under Italian settings, on a database
// prepared with the engine before the start: the list and its totals by year, a
// correction and a deletion that the history, the totals and the main grid follow, the
// export of the list sorted by a column, read back byte by byte, and the database the run
// leaves behind. A second run opens a history of 10,000 interventions and goes to its end.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e/HistoryDatabase.h"
#include "tests/e2e/ProgramRuns.h"
#include "tests/e2e/StoredRows.h"
#include "tests/e2e/UiDriver.h"

namespace fs = std::filesystem;
using namespace e2e;

namespace {

const std::wstring kHistoryTitle = L"Storico interventi";
constexpr std::int32_t kOilChange = 1;  // "Olio motore", the template's first kind

class HistoryVisit : public ProgramRuns {
 protected:
  HistoryVisit() : ProgramRuns("history") {
    fs::create_directories(database.parent_path());
    fs::copy_file(ExecutableFolder() / "filedat", database);
  }

  // Starts the program, opens the vehicle and its history; answers the history form.
  HWND OpenHistory() {
    main = Start();
    EXPECT_FALSE(ui->FindToolbarButton(main, L"Storico").enabled);
    ui->ClickToolbarItem(main, L"Apri");
    HWND selection = ui->WaitForForm(L"Selezione Veicolo");
    ui->ChooseListItem(ui->Control(selection, L"ListBox"), L"AB123CD");
    ui->ClickButton(selection, L"OK");
    ui->WaitForTitle(main, L"[Targa: AB123CD] - " + kMainTitle);
    EXPECT_EQ(ui->FindToolbarButton(main, L"Storico").toolTip, L"Storico (Ctrl+H)");
    ui->ClickToolbarItem(main, L"Storico");
    return ui->WaitForForm(kHistoryTitle);
  }

  HWND main = nullptr;
};

}  // namespace

TEST_F(HistoryVisit, ListCorrectDeleteSortAndExport) {
  StoreVehicle(
      database, u"AB123CD", 62000,
      {{OleDay(2025, 6, 10), kOilChange, 30000, 84.5, u"Olio 5W30; rabbocco\r\nliquido \"DOT 4\""},
       {OleDay(2026, 1, 15), kOilChange, 45000, 92.3, u"Filtro \"originale\""},
       // In capitals: the notes box of the correction writes capitals.
       {OleDay(2026, 6, 10), kOilChange, 60000, 105.75, u"OFFICINA CITT\u00C0, SCONTO 10 \u20AC"}});
  const std::vector<std::wstring> june2025 = {L"10/06/2025", L"30.000", L"Olio motore", L"84,50",
                                              L"Olio 5W30; rabbocco liquido \"DOT 4\""};
  const std::vector<std::wstring> january2026 = {L"15/01/2026", L"45.000", L"Olio motore", L"92,30",
                                                 L"Filtro \"originale\""};
  std::vector<std::wstring> june2026 = {L"10/06/2026", L"60.000", L"Olio motore", L"105,75",
                                        L"OFFICINA CITT\u00C0, SCONTO 10 \u20AC"};

  // Newest first, and the totals of each year.
  HWND history = OpenHistory();
  HWND list = ui->Control(history, L"SysListView32", 0);
  HWND totals = ui->Control(history, L"SysListView32", 1);
  EXPECT_EQ(ui->ListViewColumns(list),
            (std::vector<std::wstring>{L"Data", L"Km", L"Intervento", L"Costo", L"Note"}));
  EXPECT_EQ(ui->ListViewColumns(totals),
            (std::vector<std::wstring>{L"Anno", L"Interventi", L"Costo"}));
  ui->WaitForListViewRows(list, {june2026, january2026, june2025});
  ui->WaitForListViewRows(
      totals,
      {{L"2026", L"2", L"198,05"}, {L"2025", L"1", L"84,50"}, {L"Totale", L"3", L"282,55"}});

  // The newest corrected: the history, its totals and the main grid's oil line follow.
  ui->ActivateListViewRow(list, 0);
  HWND correction = ui->WaitForForm(L"Modifica Intervento");
  ui->ReplaceText(ui->ControlBeside(correction, L"Km:", L"Edit"), L"61000");
  ui->ReplaceText(ui->ControlBeside(correction, L"Costo:", L"Edit"), L"110,40");
  ui->ClickButton(correction, L"OK");
  ui->WaitForFormGone(L"Modifica Intervento");
  june2026[1] = L"61.000";
  june2026[3] = L"110,40";
  ui->WaitForListViewRows(list, {june2026, january2026, june2025});
  ui->WaitForListViewRows(
      totals,
      {{L"2026", L"2", L"202,70"}, {L"2025", L"1", L"84,50"}, {L"Totale", L"3", L"287,20"}});
  HWND grid = ui->Grid(main, L"Intervento");
  ui->WaitForCellText(grid, 0, 2, L"61.000");
  ui->WaitForCellText(grid, 0, 3, L"110,4");

  // The middle one deleted after the exact question.
  ui->SelectListViewRow(list, 1);
  ui->ClickToolbarItem(history, L"Elimina");
  EXPECT_EQ(ui->AnswerMessageBox(L"Conferma", IDYES),
            L"Eliminare l'intervento del 15/01/2026 (Olio motore)?");
  ui->WaitForListViewRows(list, {june2026, june2025});
  ui->WaitForListViewRows(
      totals,
      {{L"2026", L"1", L"110,40"}, {L"2025", L"1", L"84,50"}, {L"Totale", L"2", L"194,90"}});
  ui->WaitForCellText(grid, 0, 2, L"61.000");

  // Sorted by km; the export proposes the plate's file and writes the rows in the list's
  // order.
  ui->ClickListViewColumn(list, 1);
  ui->WaitForListViewRows(list, {june2025, june2026});
  ui->ClickToolbarItem(history, L"Esporta");
  HWND dialog = ui->WaitForSaveDialog(L"Esporta storico");
  // Windows' own dialog may hide the extension of a known kind of file.
  const std::wstring proposed = ui->SaveDialogFileName(dialog);
  EXPECT_TRUE(proposed == L"Storico_AB123CD.csv" || proposed == L"Storico_AB123CD")
      << Utf8(proposed);
  const fs::path exported = root / "storico esportato.csv";
  ui->SaveAs(dialog, exported.wstring());
  ui->WaitForForm(kHistoryTitle);
  WaitUntil([&] { return fs::exists(exported); }, ui->Timeout(), "the exported file");
  // UTF-8 with its mark; notes with ";", quotes or line breaks quoted, quotes doubled.
  EXPECT_EQ(ReadFileBytes(exported),
            std::string(u8"\uFEFF"
                        u8"Targa;Data;Km;Intervento;Costo;Note\r\n"
                        u8"AB123CD;10/06/2025;30000;Olio motore;84,50;"
                        u8"\"Olio 5W30; rabbocco\r\nliquido \"\"DOT 4\"\"\"\r\n"
                        u8"AB123CD;10/06/2026;61000;Olio motore;110,40;"
                        u8"OFFICINA CITT\u00C0, SCONTO 10 \u20AC\r\n"));
  // A second click on the column reverses the order. No box came after the export.
  ui->ClickListViewColumn(list, 1);
  ui->WaitForListViewRows(list, {june2026, june2025});
  EXPECT_TRUE(ui->NoMessageBox());

  ui->ClickButton(history, L"Chiudi");
  ui->WaitForFormGone(kHistoryTitle);
  Exit(main);

  // The deleted row is gone, the corrected one stored, the oldest untouched.
  const std::vector<StoredRow> done = TableRows(database, u"INTERVENTI_VEICOLO");
  ASSERT_EQ(done.size(), 2u);
  const std::int32_t ids[] = {1, 3}, kms[] = {30000, 61000};
  const double costs[] = {84.5, 110.4}, dates[] = {OleDay(2025, 6, 10), OleDay(2026, 6, 10)};
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(done[i].at(u"ID").As<std::int32_t>(), ids[i]) << i;
    EXPECT_EQ(done[i].at(u"KM").As<std::int32_t>(), kms[i]) << i;
    EXPECT_EQ(done[i].at(u"COSTO").As<double>(), costs[i]) << i;
    EXPECT_EQ(done[i].at(u"DATA").As<Jet::DateTime>().oleDate, dates[i]) << i;
  }
  EXPECT_EQ(done[1].at(u"NOTE").As<std::u16string>(), u"OFFICINA CITT\u00C0, SCONTO 10 \u20AC");
}

TEST_F(HistoryVisit, TenThousandInterventionsOpenAndScrollToTheOldest) {
  constexpr int kCount = 10000;
  StoreVehicle(database, u"AB123CD", 200000, LongHistory(kCount));

  HWND form = OpenHistory();
  HWND list = ui->Control(form, L"SysListView32", 0);
  WaitUntil([&] { return ui->ListViewRowCount(list) == kCount; }, ui->Timeout(),
            "10,000 rows in the history");
  ui->WaitForFocus(list, "the history list");
  ui->PressKeys({VK_END});
  WaitUntil([&] { return ui->ListViewSelectedRow(list) == kCount - 1; }, ui->Timeout(),
            "the last row selected");
  EXPECT_TRUE(ui->ListViewRowInView(list, kCount - 1));
  EXPECT_EQ(ui->ListViewRow(list, kCount - 1),
            (std::vector<std::wstring>{L"01/01/1999", L"1.000", L"Olio motore", L"10,00", L""}))
      << "the oldest intervention";
  ui->PressKeys({VK_ESCAPE});
  ui->WaitForFormGone(kHistoryTitle);
  Exit(main);
}
