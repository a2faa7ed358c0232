// A first visit to the real program driven by the keyboard alone: real keystrokes
// (SendInput) go wherever the program puts its focus, from the terms to the way out, and
// every step checks where the focus is before a key is pressed. The database the visit
// leaves behind is read back with the engine.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/StoredRows.h"
#include "tests/e2e/UiDriver.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;
using namespace e2e;

namespace {

const std::wstring kTitle = L"TorvaneManutenzione - \u00A9 Torvane, tutti i diritti riservati";
const std::wstring kVehicleTitle = L"[Targa: AB123CD] - " + kTitle;

// Rows of the schedule (catalogue order), and their catalogue IDs in the template.
constexpr int kAirFilterRow = 2;    // "Filtro aria": every 30000 km, ID 3
constexpr int kCabinFilterRow = 3;  // "Filtro abitacolo": every 15000 km, ID 4

fs::path FreshFolder(const TemporaryDirectory& root) {
  fs::create_directories(root / "AppData");
  fs::create_directories(root / "lavoro");
  fs::copy_file(ExecutableFolder() / "filedat", root / "lavoro" / "filedat");
  return root.Path();
}

class KeyboardVisit : public ::testing::Test {
 protected:
  // Tab, and the focus must land on the control.
  void TabTo(HWND control, const std::string& what) {
    ui.PressKeys({VK_TAB});
    ui.WaitForFocus(control, what);
  }

  // Selects what the focused box holds as a user would (Home, Shift+End) and types over it.
  void TypeOver(HWND box, const std::wstring& text, const std::wstring& shown) {
    ui.PressKeys({VK_HOME});
    ui.PressKeys({VK_SHIFT, VK_END});
    ui.TypeText(text);
    ui.WaitForText(box, shown);
  }

  // An intervention form, from its kind list (focused) to "OK", pressed with Enter.
  void FillIntervention(HWND form, const std::wstring& km, const std::wstring& cost) {
    ui.WaitForFocus(ui.Control(form, L"ComboBox"), "the kind list");
    HWND kmBox = ui.ControlBeside(form, L"Km:", L"Edit");
    TabTo(kmBox, "the km box");
    TypeOver(kmBox, km, km);
    TabTo(ui.Control(form, L"SysDateTimePick32"), "the date picker");
    HWND costBox = ui.ControlBeside(form, L"Costo:", L"Edit");
    TabTo(costBox, "the cost box");
    TypeOver(costBox, cost, cost);
    TabTo(ui.ControlBeside(form, L"Note:", L"Edit"), "the notes box");
    TabTo(ui.Button(form, L"Annulla"), "\"Annulla\"");
    TabTo(ui.Button(form, L"OK"), "\"OK\"");
    ui.PressKeys({VK_RETURN});
  }

  // Down to the row (the one below the selected one), Ins, the kind preselected, the form
  // filled and confirmed; the grid has the focus again.
  void AddOnRow(HWND grid, int row, const std::wstring& kind, const std::wstring& km,
                const std::wstring& cost) {
    ui.PressKeys({VK_DOWN});
    ui.WaitForSelectedRow(grid, row);
    ui.PressKeys({VK_INSERT});
    HWND entry = ui.WaitForForm(L"Nuovo Intervento");
    EXPECT_EQ(ui.SelectedComboItem(ui.Control(entry, L"ComboBox")), kind);
    FillIntervention(entry, km, cost);
    ui.WaitForFormGone(L"Nuovo Intervento");
    ui.WaitForFocus(grid, "the schedule grid");
  }

  // The grid row's km and cost columns and its face.
  void ExpectRow(HWND grid, int row, const std::wstring& km, const std::wstring& cost,
                 RowStatus status) {
    ui.WaitForCellText(grid, row, 2, km);
    ui.WaitForCellText(grid, row, 3, cost);
    ui.WaitForStatus(grid, row, status);
  }

  // Answers the message box with Enter on its default button, which must be "Sì".
  std::wstring AnswerYesByKeyboard(const std::wstring& caption) {
    MessageBoxSeen box = ui.WaitForMessageBox(caption);
    ui.WaitForFocus(GetDlgItem(box.window, IDYES), "Yes in the box \"" + Utf8(caption) + "\"");
    ui.PressKeys({VK_RETURN});
    ui.WaitGone(box.window, "the box \"" + Utf8(caption) + "\"");
    return box.text;
  }

  TemporaryDirectory root{"keyboard-visit"};
  fs::path folder = FreshFolder(root);
  fs::path database = folder / "AppData" / "TorvaneManutenzione" / "dati" / "dati.mdb";
  LocalAppDataRedirect redirect{folder / "AppData"};
  TargetProcess program{ExecutableFolder() / "TorvaneManutenzione.exe", folder / "lavoro"};
  UiDriver ui{program};
};

}  // namespace

TEST_F(KeyboardVisit, FromTheTermsToTheWayOutWithKeysOnly) {
  // The terms open on "Accetto": Enter accepts them.
  HWND terms = ui.WaitForForm(L"Leggimi");
  ui.WaitForFocus(ui.Button(terms, L"Accetto"), "\"Accetto\"");
  ui.PressKeys({VK_RETURN});
  ui.WaitForFormGone(L"Leggimi");
  HWND main = ui.WaitForForm(kTitle);
  EXPECT_EQ(ui.FindToolbarButton(main, L"Nuovo").toolTip, L"Nuovo (Ctrl+N)");

  // Ctrl+N: the vehicle, field after field; Enter in the boxes never confirms.
  ui.WaitForFocus(main, "the main window");
  ui.PressKeys({VK_CONTROL, 'N'});
  HWND editor = ui.WaitForForm(L"Nuovo Veicolo");
  HWND plate = ui.ControlBeside(editor, L"Targa:", L"Edit");
  ui.WaitForFocus(plate, "the plate box");
  ui.TypeText(L"ab123cd");
  ui.WaitForText(plate, L"AB123CD");
  ui.PressKeys({VK_RETURN});
  HWND description = ui.ControlBeside(editor, L"Descrizione:", L"Edit");
  TabTo(description, "the description box");
  ui.TypeText(L"utilitaria di prova");
  ui.WaitForText(description, L"UTILITARIA DI PROVA");
  HWND km = ui.ControlBeside(editor, L"Km:", L"Edit");
  TabTo(km, "the km box");
  TypeOver(km, L"90000", L"90000");
  TabTo(ui.Control(editor, L"SysDateTimePick32"), "the date picker");
  TabTo(ui.Button(editor, L"Annulla"), "\"Annulla\"");
  TabTo(ui.Button(editor, L"OK"), "\"OK\"");
  EXPECT_TRUE(ui.FormOpen(L"Nuovo Veicolo"));
  ui.PressKeys({VK_RETURN});
  ui.WaitForFormGone(L"Nuovo Veicolo");
  ui.WaitForTitle(main, kVehicleTitle);
  HWND grid = ui.Grid(main, L"Intervento");
  ui.WaitForFocus(grid, "the schedule grid");
  ui.WaitForSelectedRow(grid, 0);
  ExpectRow(grid, kAirFilterRow, L"", L"", RowStatus::Due);
  ExpectRow(grid, kCabinFilterRow, L"", L"", RowStatus::Due);

  // Two interventions, each added with Ins on its row.
  ui.PressKeys({VK_DOWN});
  AddOnRow(grid, kAirFilterRow, L"Filtro aria", L"85000", L"84,50");
  ExpectRow(grid, kAirFilterRow, L"85.000", L"84,5", RowStatus::InOrder);
  AddOnRow(grid, kCabinFilterRow, L"Filtro abitacolo", L"78000", L"20");
  ExpectRow(grid, kCabinFilterRow, L"78.000", L"20", RowStatus::InOrder);

  // The air filter, opened with Enter and moved past the vehicle's km: the program offers
  // to bring the vehicle up to it, and the cabin filter falls due at the new reading.
  ui.PressKeys({VK_UP});
  ui.WaitForSelectedRow(grid, kAirFilterRow);
  ui.PressKeys({VK_RETURN});
  HWND correction = ui.WaitForForm(L"Modifica Intervento");
  EXPECT_EQ(ui.SelectedComboItem(ui.Control(correction, L"ComboBox")), L"Filtro aria");
  FillIntervention(correction, L"95000", L"84,50");
  EXPECT_EQ(AnswerYesByKeyboard(L"Conferma"), L"Aggiornare i Km del veicolo a 95.000?");
  ui.WaitForFormGone(L"Modifica Intervento");
  ui.WaitForFocus(grid, "the schedule grid");
  ExpectRow(grid, kAirFilterRow, L"95.000", L"84,5", RowStatus::InOrder);
  ExpectRow(grid, kCabinFilterRow, L"78.000", L"20", RowStatus::Due);

  // Ctrl+W closes the vehicle; Ctrl+O and Enter on the preselected plate bring it back.
  ui.PressKeys({VK_CONTROL, 'W'});
  ui.WaitForTitle(main, kTitle);
  ui.WaitGone(grid, "the schedule grid");
  ui.PressKeys({VK_CONTROL, 'O'});
  HWND selection = ui.WaitForForm(L"Selezione Veicolo");
  HWND plates = ui.Control(selection, L"ListBox");
  ui.WaitForFocus(plates, "the list of plates");
  EXPECT_EQ(ui.SelectedListItem(plates), L"AB123CD");
  ui.PressKeys({VK_RETURN});
  ui.WaitForFormGone(L"Selezione Veicolo");
  ui.WaitForTitle(main, kVehicleTitle);
  grid = ui.Grid(main, L"Intervento");
  ui.WaitForFocus(grid, "the schedule grid");
  ExpectRow(grid, kAirFilterRow, L"95.000", L"84,5", RowStatus::InOrder);
  ExpectRow(grid, kCabinFilterRow, L"78.000", L"20", RowStatus::Due);

  // Esc asks before leaving; Enter answers "Sì".
  ui.PressKeys({VK_ESCAPE});
  EXPECT_EQ(AnswerYesByKeyboard(L"Uscita"), L"Vuoi realmente uscire?");
  ASSERT_EQ(program.WaitForExit(ui.Timeout()), 0u);

  const std::vector<StoredRow> vehicles = TableRows(database, u"VEICOLO");
  const std::vector<StoredRow> done = TableRows(database, u"INTERVENTI_VEICOLO");
  ASSERT_EQ(vehicles.size(), 1u);
  ASSERT_EQ(done.size(), 2u);
  EXPECT_EQ(vehicles[0].at(u"TARGA").As<std::u16string>(), u"AB123CD");
  EXPECT_EQ(vehicles[0].at(u"KM").As<std::int32_t>(), 95000);
  // The reading was taken the day of the intervention that moved it.
  EXPECT_EQ(vehicles[0].at(u"DATA_KM").As<Jet::DateTime>().oleDate,
            done[0].at(u"DATA").As<Jet::DateTime>().oleDate);
  const std::int32_t kinds[] = {3, 4}, kms[] = {95000, 78000};
  const double costs[] = {84.5, 20};
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(done[i].at(u"ID_INTERVENTO").As<std::int32_t>(), kinds[i]) << i;
    EXPECT_EQ(done[i].at(u"KM").As<std::int32_t>(), kms[i]) << i;
    EXPECT_EQ(done[i].at(u"COSTO").As<double>(), costs[i]) << i;
  }
}
