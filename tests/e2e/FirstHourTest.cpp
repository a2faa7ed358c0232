// A user's first hour with the real program, started as its own process on a fresh user
// folder: terms, a vehicle, interventions, a correction from the grid, the catalogue,
// reopening, backup and restore, and the way out. The database it leaves behind is
// checked afterwards with mdbtools (check-first-hour-database.sh).
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <map>

#include "tests/e2e/UiDriver.h"
#include "tests/support/ChooserVisibleFolder.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;
using namespace e2e;

namespace {

const std::wstring kTitle = L"TorvaneManutenzione - \u00A9 Torvane, tutti i diritti riservati";
const std::wstring kVehicleTitle = L"[Targa: AB123CD] - " + kTitle;
const std::wstring kCatalogueTitle = L"Gestione Anagrafica Interventi";

// Rows of the schedule (catalogue order) used below.
constexpr int kOilRow = 0;          // "Olio motore": 15000 km, also at the end of running-in
constexpr int kAirFilterRow = 2;    // "Filtro aria": 30000 km
constexpr int kCabinFilterRow = 3;  // "Filtro abitacolo": 15000 km

// A day some days before today. The oil and the cabin filter also fall due twelve months
// after they were done, so the story dates them within the last year; the database check
// (check-first-hour-database.sh) counts the same days back.
struct Day {
  WORD year, month, day;
  std::wstring Text() const {  // as the grid shows it: DD/MM/YYYY
    wchar_t text[16] = {};
    swprintf(text, 16, L"%02u/%02u/%04u", day, month, year);
    return text;
  }
};
Day DaysAgo(int days) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  FILETIME time{};
  SystemTimeToFileTime(&now, &time);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  ticks.QuadPart -= static_cast<ULONGLONG>(days) * 24 * 3600 * 10000000ULL;
  time.dwLowDateTime = ticks.LowPart;
  time.dwHighDateTime = ticks.HighPart;
  SYSTEMTIME then{};
  FileTimeToSystemTime(&time, &then);
  return Day{then.wYear, then.wMonth, then.wDay};
}
const Day kOilDay = DaysAgo(60);
const Day kCabinFilterDay = DaysAgo(90);

// The folder the run leaves for the database check; a fresh one when run alone.
fs::path RunFolder() {
  const wchar_t* given = _wgetenv(L"TORVANE_E2E_FOLDER");
  fs::path folder = given ? fs::path(given) : fs::temp_directory_path() / "torvane-first-hour";
  fs::remove_all(folder);
  fs::create_directories(folder / "AppData");
  fs::create_directories(folder / "lavoro");
  fs::copy_file(ExecutableFolder() / "filedat", folder / "lavoro" / "filedat");
  return folder;
}

class FirstHour : public ::testing::Test {
 protected:
  void ExpectToolbar(HWND form, const std::map<std::wstring, bool>& enabled) {
    for (const auto& [label, on] : enabled) {
      EXPECT_EQ(ui.FindToolbarButton(form, label).enabled, on) << Utf8(label);
    }
  }

  void ExpectRow(HWND grid, int row, const std::vector<std::wstring>& texts, RowStatus status) {
    for (std::size_t column = 0; column < texts.size(); ++column) {
      ui.WaitForCellText(grid, row, static_cast<int>(column), texts[column]);
    }
    ui.WaitForStatus(grid, row, status);
  }

  // Fills the intervention form and confirms it.
  void FillIntervention(HWND form, const std::wstring& km, WORD year, WORD month, WORD day,
                        const std::wstring& cost, const std::wstring& notes) {
    ui.ReplaceText(ui.ControlBeside(form, L"Km:", L"Edit"), km);
    ui.SetDate(ui.Control(form, L"SysDateTimePick32"), year, month, day);
    ui.ReplaceText(ui.ControlBeside(form, L"Costo:", L"Edit"), cost);
    ui.ReplaceText(ui.ControlBeside(form, L"Note:", L"Edit"), notes);
    ui.ClickButton(form, L"OK");
  }

  fs::path folder = RunFolder();
  fs::path database = folder / "AppData" / "TorvaneManutenzione" / "dati" / "dati.mdb";
  // Picked in the folder chooser, which may not reach the run folder.
  ChooserVisibleFolder backup{"first-hour-backup"};
  LocalAppDataRedirect redirect{folder / "AppData"};
  TargetProcess program{ExecutableFolder() / "TorvaneManutenzione.exe", folder / "lavoro"};
  UiDriver ui{program};
};

}  // namespace

TEST_F(FirstHour, FromTheTermsToTheWayOut) {
  // The terms come first, over a disabled main window.
  HWND terms = ui.WaitForForm(L"Leggimi");
  HWND main = ui.WaitForForm(kTitle, false);
  EXPECT_FALSE(ui.Enabled(main));
  ui.ClickButton(terms, L"Accetto");
  ui.WaitForFormGone(L"Leggimi");
  main = ui.WaitForForm(kTitle);
  ExpectToolbar(main, {{L"Nuovo", true},
                       {L"Apri", true},
                       {L"Modifica", false},
                       {L"Aggiungi", false},
                       {L"Opzioni", true},
                       {L"Chiudi", false}});

  // No vehicle yet: "Apri" offers to create one.
  ui.ClickToolbarItem(main, L"Apri");
  EXPECT_EQ(ui.AnswerMessageBox(L"Selezione", IDYES),
            L"Non sono presenti veicoli in archivio. Si desidera inserire un nuovo veicolo?");
  HWND editor = ui.WaitForForm(L"Nuovo Veicolo");
  ui.ClickButton(editor, L"OK");
  EXPECT_EQ(ui.AnswerMessageBox(L"Errore", IDOK), L"E' necessario impostare il numero di targa.");
  HWND plate = ui.ControlBeside(editor, L"Targa:", L"Edit");
  ui.ReplaceText(plate, L"ab 123 cd");
  EXPECT_EQ(ui.Text(plate), L"AB123CD");  // no spaces, capitals
  ui.ReplaceText(ui.ControlBeside(editor, L"Descrizione:", L"Edit"), L"utilitaria di prova");
  ui.ReplaceText(ui.ControlBeside(editor, L"Km:", L"Edit"), L"20000");
  ui.SetDate(ui.Control(editor, L"SysDateTimePick32"), 2024, 3, 1);
  ui.ClickButton(editor, L"OK");
  ui.WaitForFormGone(L"Nuovo Veicolo");
  ui.WaitForTitle(main, kVehicleTitle);

  // The schedule: the 25 template entries and the spark plugs added at the first start.
  HWND grid = ui.Grid(main, L"Intervento");
  EXPECT_EQ(ui.HeaderTexts(grid),
            (std::vector<std::wstring>{L"Intervento", L"Data", L"Km", L"Costo"}));
  EXPECT_EQ(ui.RowCount(grid), 26);
  EXPECT_EQ(ui.CellText(grid, 25, 0), L"Candela");
  ExpectRow(grid, kOilRow, {L"Olio motore", L"", L"", L""}, RowStatus::Due);
  ExpectRow(grid, kAirFilterRow, {L"Filtro aria", L"", L"", L""}, RowStatus::InOrder);
  ExpectRow(grid, kCabinFilterRow, {L"Filtro abitacolo", L"", L"", L""}, RowStatus::Due);
  ExpectToolbar(main, {{L"Nuovo", true},
                       {L"Apri", true},
                       {L"Modifica", true},
                       {L"Aggiungi", true},
                       {L"Opzioni", false},
                       {L"Chiudi", true}});

  // An oil change 1000 km ago: in order.
  ui.ClickToolbarItem(main, L"Aggiungi");
  HWND entry = ui.WaitForForm(L"Nuovo Intervento");
  ui.ChooseComboItem(ui.Control(entry, L"ComboBox"), L"Olio motore");
  ui.WaitForText(ui.Control(entry, L"Static", 1),
                 L"Sostituzione olio con la gradazione del libretto - da effettuare ogni "
                 L"15.000 Km o 12 mesi o a fine rodaggio");
  FillIntervention(entry, L"19000", kOilDay.year, kOilDay.month, kOilDay.day, L"45,5",
                   L"olio 5w30");
  ui.WaitForFormGone(L"Nuovo Intervento");
  ExpectRow(grid, kOilRow, {L"Olio motore", kOilDay.Text(), L"19.000", L"45,5"},
            RowStatus::InOrder);

  // A cabin filter 16000 km ago: due. The km figure is checked before the form closes.
  ui.ClickToolbarItem(main, L"Aggiungi");
  entry = ui.WaitForForm(L"Nuovo Intervento");
  ui.ChooseComboItem(ui.Control(entry, L"ComboBox"), L"Filtro abitacolo");
  ui.ClickButton(entry, L"OK");
  EXPECT_EQ(ui.AnswerMessageBox(L"Errore", IDOK), L"E' necessario impostare i Km del veicolo.");
  FillIntervention(entry, L"4000", kCabinFilterDay.year, kCabinFilterDay.month, kCabinFilterDay.day,
                   L"20", L"filtro a carboni");
  ui.WaitForFormGone(L"Nuovo Intervento");
  ExpectRow(grid, kCabinFilterRow, {L"Filtro abitacolo", kCabinFilterDay.Text(), L"4.000", L"20"},
            RowStatus::Due);

  // Corrected from the grid: it was done at 5500 km, so it is in order after all.
  ui.DoubleClickCell(grid, kCabinFilterRow, 1);
  HWND correction = ui.WaitForForm(L"Modifica Intervento");
  EXPECT_EQ(ui.SelectedComboItem(ui.Control(correction, L"ComboBox")), L"Filtro abitacolo");
  EXPECT_EQ(ui.Text(ui.ControlBeside(correction, L"Note:", L"Edit")), L"FILTRO A CARBONI");
  FillIntervention(correction, L"5500", kCabinFilterDay.year, kCabinFilterDay.month,
                   kCabinFilterDay.day, L"22,5", L"filtro a carboni attivi");
  ui.WaitForFormGone(L"Modifica Intervento");
  ExpectRow(grid, kCabinFilterRow, {L"Filtro abitacolo", kCabinFilterDay.Text(), L"5.500", L"22,5"},
            RowStatus::InOrder);
  ExpectRow(grid, kOilRow, {L"Olio motore", kOilDay.Text(), L"19.000", L"45,5"},
            RowStatus::InOrder);

  // The catalogue is offered only without a vehicle on display.
  ui.ClickToolbarItem(main, L"Chiudi");
  ui.WaitForTitle(main, kTitle);
  ui.WaitGone(grid, "the schedule grid");
  ui.ChooseMenu(main, {L"&Opzioni", L"&Gestione Anagrafica Interventi"});
  HWND catalogue = ui.WaitForForm(kCatalogueTitle);
  HWND list = ui.Control(catalogue, L"ListBox");
  EXPECT_EQ(ui.ListItems(list).size(), 26u);
  HWND name = ui.ControlBeside(catalogue, L"Intervento:", L"Edit");
  HWND cadence = ui.ControlBeside(catalogue, L"Da effettuare ogni Km:", L"Edit");
  HWND notes = ui.ControlBeside(catalogue, L"Note:", L"Edit");

  ui.ClickToolbarItem(catalogue, L"Nuovo");
  ui.ReplaceText(name, L"Controllo freno a mano");
  ui.ReplaceText(cadence, L"30000");
  ui.SetChecked(ui.Button(catalogue, L"Da effettuare a fine rodaggio"), true);
  ui.ReplaceText(notes, L"Regolare la corsa della leva");
  ui.ClickButton(catalogue, L"Salva");
  EXPECT_EQ(ui.AnswerMessageBox(L"Inserimento", IDOK), L"Inserimento effettuato correttamente. ");
  EXPECT_EQ(ui.ListItems(list).size(), 27u);
  EXPECT_EQ(ui.SelectedListItem(list), L"Controllo freno a mano");

  ui.ClickToolbarItem(catalogue, L"Modifica");
  ui.ReplaceText(cadence, L"25000");
  ui.ReplaceText(notes, L"Regolare la leva");
  ui.ClickButton(catalogue, L"Salva");
  EXPECT_EQ(ui.AnswerMessageBox(L"Modifica", IDOK), L"Modifica effettuata correttamente. ");
  EXPECT_EQ(ui.SelectedListItem(list), L"Controllo freno a mano");
  ui.WaitForText(notes, L"Regolare la leva");

  ui.ChooseListItem(list, L"Olio motore");
  ui.ClickToolbarItem(catalogue, L"Cancella");
  EXPECT_EQ(ui.AnswerMessageBox(L"Conferma", IDYES),
            L"Si desidera cancellare l'intervento selezionato?");
  EXPECT_EQ(ui.AnswerMessageBox(L"Errore", IDOK), L"Impossibile cancellare gli interventi usati.");
  EXPECT_EQ(ui.ListItems(list).size(), 27u);
  ui.ClickButton(catalogue, L"Chiudi");
  ui.WaitForFormGone(kCatalogueTitle);

  // Reopened, the vehicle shows what was stored, and the grid has grown by the new entry.
  ui.ClickToolbarItem(main, L"Apri");
  HWND selection = ui.WaitForForm(L"Selezione Veicolo");
  HWND plates = ui.Control(selection, L"ListBox");
  EXPECT_EQ(ui.ListItems(plates), std::vector<std::wstring>{L"AB123CD"});
  ui.ChooseListItem(plates, L"AB123CD", true);
  ui.WaitForFormGone(L"Selezione Veicolo");
  ui.WaitForTitle(main, kVehicleTitle);
  grid = ui.Grid(main, L"Intervento");
  EXPECT_EQ(ui.RowCount(grid), 27);
  EXPECT_EQ(ui.CellText(grid, 26, 0), L"Controllo freno a mano");
  ExpectRow(grid, kOilRow, {L"Olio motore", kOilDay.Text(), L"19.000", L"45,5"},
            RowStatus::InOrder);
  ExpectRow(grid, kCabinFilterRow, {L"Filtro abitacolo", kCabinFilterDay.Text(), L"5.500", L"22,5"},
            RowStatus::InOrder);
  ExpectRow(grid, kAirFilterRow, {L"Filtro aria", L"", L"", L""}, RowStatus::InOrder);
  ui.ClickToolbarItem(main, L"Chiudi");
  ui.WaitForTitle(main, kTitle);

  // Backup, then a second vehicle that the restore takes away again.
  const std::wstring backupFolder = backup.Path().wstring();
  ui.ChooseMenu(main, {L"&Opzioni", L"&Backup"});
  ui.ChooseFolder(L"Seleziona dove salvare il backup", backupFolder);
  EXPECT_EQ(ui.AnswerMessageBox(L"Backup", IDOK),
            L"Salvataggio del backup effettuato correttamente.");
  EXPECT_EQ(ReadFileBytes(backup / "TorvaneBackup.dat"), ReadFileBytes(database));

  ui.ClickToolbarItem(main, L"Nuovo");
  editor = ui.WaitForForm(L"Nuovo Veicolo");
  ui.ReplaceText(ui.ControlBeside(editor, L"Targa:", L"Edit"), L"zz999zz");
  ui.ClickButton(editor, L"OK");
  ui.WaitForTitle(main, L"[Targa: ZZ999ZZ] - " + kTitle);
  ui.ClickToolbarItem(main, L"Chiudi");
  ui.WaitForTitle(main, kTitle);

  ui.ChooseMenu(main, {L"&Opzioni", L"&Restore"});
  ui.ChooseFolder(L"Seleziona dove si trova il backup", backupFolder);
  EXPECT_EQ(ui.AnswerMessageBox(L"Attenzione", IDYES),
            L"Continuando come richiesto il database verr\u00E0 ripristinato. Si desidera "
            L"realmente procedere?");
  EXPECT_EQ(ui.AnswerMessageBox(L"Restore", IDOK),
            L"Ripristino del backup effettuato correttamente.");
  EXPECT_TRUE(fs::exists(database.string() + ".000"));
  ui.ClickToolbarItem(main, L"Apri");
  selection = ui.WaitForForm(L"Selezione Veicolo");
  EXPECT_EQ(ui.ListItems(ui.Control(selection, L"ListBox")), std::vector<std::wstring>{L"AB123CD"});
  ui.ClickButton(selection, L"Annulla");
  ui.WaitForFormGone(L"Selezione Veicolo");

  // The way out asks first; No keeps the program, Esc asks again, Yes ends it.
  ui.ChooseMenu(main, {L"&File", L"&Esci"});
  EXPECT_EQ(ui.AnswerMessageBox(L"Uscita", IDNO), L"Vuoi realmente uscire?");
  main = ui.WaitForForm(kTitle);
  EXPECT_TRUE(program.Running());
  ui.PressKey(main, VK_ESCAPE);
  EXPECT_EQ(ui.AnswerMessageBox(L"Uscita", IDYES), L"Vuoi realmente uscire?");
  EXPECT_EQ(program.WaitForExit(std::chrono::seconds(10)), 0u);
}
