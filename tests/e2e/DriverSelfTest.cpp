// The UI driver against a small host program of known windows, so that a fault of the
// driver shows here and not as a puzzling failure of the end-to-end run.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/ScreenCapture.h"
#include "tests/e2e/UiDriver.h"
#include "tests/support/ChooserVisibleFolder.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;
using namespace e2e;

namespace {

class DriverSelfTest : public ::testing::Test {
 protected:
  DriverSelfTest()
      : host_(ExecutableFolder() / "e2e_driver_host.exe", root_.Path(),
              L"\"" + database_.wstring() + L"\"") {}

  static fs::path CopyTemplate(const fs::path& target) {
    fs::copy_file(ExecutableFolder() / "filedat", target);
    return target;
  }

  // The terms window comes first and keeps the main window disabled.
  HWND AcceptTerms() {
    HWND terms = ui_.WaitForForm(L"Leggimi");
    EXPECT_FALSE(ui_.Enabled(ui_.WaitForForm(L"Driver host", false)));
    ui_.ClickButton(terms, L"Accetto");
    ui_.WaitForFormGone(L"Leggimi");
    return ui_.WaitForForm(L"Driver host");
  }

  void ExitAnsweringYes(HWND main) {
    ui_.ChooseMenu(main, {L"&File", L"&Esci"});
    EXPECT_EQ(ui_.AnswerMessageBox(L"Uscita", IDYES), L"Vuoi realmente uscire?");
    EXPECT_EQ(host_.WaitForExit(std::chrono::seconds(10)), 0u);
  }

  // Lookups that are meant to fail need not wait long.
  template <class Action>
  void ExpectNotFound(Action action, const std::string& mention) {
    host_.timeout = std::chrono::milliseconds(300);
    try {
      action();
      ADD_FAILURE() << "found, though it is not there: " << mention;
    } catch (const DriverError& error) {
      EXPECT_NE(std::string(error.what()).find(mention), std::string::npos) << error.what();
    }
    host_.timeout = std::chrono::seconds(10);
  }

  TemporaryDirectory root_{"driver"};
  fs::path database_ = CopyTemplate(root_.Path() / "dati.mdb");
  TargetProcess host_;
  UiDriver ui_{host_};
};

}  // namespace

TEST_F(DriverSelfTest, MenusAndMessageBoxes) {
  HWND main = AcceptTerms();
  ui_.ChooseMenu(main, {L"&Prove", L"&Domanda"});
  MessageBoxSeen question = ui_.WaitForMessageBox(L"Domanda");
  EXPECT_EQ(question.text, L"Rispondi?");
  EXPECT_EQ(question.buttons.size(), 2u);
  ui_.Answer(question, IDNO);
  EXPECT_EQ(ui_.AnswerMessageBox(L"Risposta", IDOK), L"No");

  // The exit question: No keeps the program, Yes ends it.
  ui_.ChooseMenu(main, {L"&File", L"&Esci"});
  ui_.AnswerMessageBox(L"Uscita", IDNO);
  EXPECT_TRUE(host_.Running());
  ExpectNotFound([&] { ui_.AnswerMessageBox(L"Nessuna", IDOK); }, "Nessuna");
  ExitAnsweringYes(main);
}

TEST_F(DriverSelfTest, ToolbarAndGrid) {
  HWND main = AcceptTerms();
  std::vector<ToolbarButton> buttons = ui_.ToolbarButtons(ui_.Toolbar(main));
  ASSERT_EQ(buttons.size(), 5u);
  EXPECT_EQ(buttons[0].label, L"Nuovo");
  EXPECT_TRUE(buttons[1].separator);
  EXPECT_EQ(buttons[2].label, L"Aggiungi");
  EXPECT_EQ(buttons[3].label, L"Bloccato");
  EXPECT_FALSE(buttons[3].enabled);
  EXPECT_TRUE(buttons[4].enabled);
  ExpectNotFound([&] { ui_.ClickToolbarItem(main, L"Bloccato"); }, "disabled");
  ExpectNotFound([&] { ui_.FindToolbarButton(main, L"Assente"); }, "Assente");

  HWND grid = ui_.Grid(main, L"Intervento");
  EXPECT_EQ(ui_.HeaderTexts(grid),
            (std::vector<std::wstring>{L"Intervento", L"Data", L"Km", L"Costo"}));
  EXPECT_EQ(ui_.RowCount(grid), 3);
  EXPECT_EQ(ui_.RowTexts(grid, 1),
            (std::vector<std::wstring>{L"Filtro", L"01/02/2024", L"2000", L""}));
  // A picture of the window holds the grid's red face.
  ui_.WaitForStatus(grid, 0, RowStatus::Due);
  SaveWindowImage(main, root_ / "host.bmp");
  EXPECT_GT(fs::file_size(root_ / "host.bmp"), 700u * 400u * 4u);
  ui_.WaitForStatus(grid, 1, RowStatus::InOrder);
  EXPECT_EQ(ui_.Status(grid, 2), RowStatus::None);
  ExpectNotFound([&] { ui_.CellText(grid, 3, 0); }, "no row 3");
  ui_.DoubleClickCell(grid, 1, 2);
  EXPECT_EQ(ui_.AnswerMessageBox(L"Griglia", IDOK), L"Riga 1");
  // The double-clicked row is highlighted, and its face is still read.
  ui_.WaitForStatus(grid, 1, RowStatus::InOrder);
  ExitAnsweringYes(main);
}

TEST_F(DriverSelfTest, FormsAndTheirControls) {
  HWND main = AcceptTerms();

  ui_.ClickToolbarItem(main, L"Nuovo");
  HWND vehicle = ui_.WaitForForm(L"Nuovo Veicolo");
  EXPECT_FALSE(ui_.Enabled(main));
  HWND plate = ui_.ControlBeside(vehicle, L"Targa:", L"Edit");
  ui_.ReplaceText(plate, L"ab 12");
  EXPECT_EQ(ui_.Text(plate), L"AB12");
  HWND description = ui_.ControlBeside(vehicle, L"Descrizione:", L"Edit");
  ui_.ReplaceText(description, L"prova");
  EXPECT_EQ(ui_.Text(description), L"PROVA");
  ui_.SetDate(ui_.Control(vehicle, L"SysDateTimePick32"), 2024, 3, 5);
  ui_.ClickButton(vehicle, L"Annulla");
  ui_.WaitForFormGone(L"Nuovo Veicolo");

  ui_.ClickToolbarItem(main, L"Opzioni");
  HWND catalogue = ui_.WaitForForm(L"Gestione Anagrafica Interventi");
  std::vector<ToolbarButton> items = ui_.ToolbarButtons(ui_.Toolbar(catalogue));
  ASSERT_EQ(items.size(), 3u);
  // No text on these buttons: read from the tooltips, which name the keys too.
  EXPECT_EQ(items[0].label, L"Nuovo (Ctrl+N)");
  EXPECT_EQ(items[2].label, L"Cancella (Canc)");
  EXPECT_FALSE(items[1].enabled);
  HWND list = ui_.Control(catalogue, L"ListBox");
  std::vector<std::wstring> entries = ui_.ListItems(list);
  ASSERT_FALSE(entries.empty());
  ui_.ChooseListItem(list, entries[1]);
  EXPECT_EQ(ui_.SelectedListItem(list), entries[1]);
  ui_.WaitForText(ui_.ControlBeside(catalogue, L"Intervento:", L"Edit"), entries[1]);
  EXPECT_TRUE(ui_.FindToolbarButton(catalogue, L"Modifica").enabled);
  ExpectNotFound([&] { ui_.ChooseListItem(list, L"Nessun intervento"); }, "Nessun intervento");
  ui_.ClickButton(catalogue, L"Chiudi");
  ui_.WaitForFormGone(L"Gestione Anagrafica Interventi");

  ui_.ClickToolbarItem(main, L"Aggiungi");
  HWND entry = ui_.WaitForForm(L"Nuovo Intervento");
  HWND types = ui_.Control(entry, L"ComboBox");
  ui_.ChooseComboItem(types, entries[1]);
  EXPECT_EQ(ui_.SelectedComboItem(types), entries[1]);
  ui_.ClickButton(entry, L"OK");
  EXPECT_EQ(ui_.AnswerMessageBox(L"Errore", IDOK), L"E' necessario impostare i Km del veicolo.");
  ui_.ReplaceText(ui_.ControlBeside(entry, L"Km:", L"Edit"), L"1500");
  ui_.ClickButton(entry, L"Annulla");
  ui_.WaitForFormGone(L"Nuovo Intervento");
  ExitAnsweringYes(main);
}

TEST_F(DriverSelfTest, FolderChooser) {
  HWND main = AcceptTerms();
  ChooserVisibleFolder picked{"scelta"};
  const fs::path& folder = picked.Path();
  ui_.ChooseMenu(main, {L"&Prove", L"&Cartella"});
  ui_.ChooseFolder(L"Scegli una cartella", folder.wstring());
  std::wstring chosen = ui_.AnswerMessageBox(L"Cartella", IDOK);
  EXPECT_TRUE(fs::equivalent(fs::path(chosen), folder)) << Utf8(chosen);

  ui_.ChooseMenu(main, {L"&Prove", L"&Cartella"});
  ui_.ChooseFolder(L"Scegli una cartella", L"");
  EXPECT_EQ(ui_.AnswerMessageBox(L"Cartella", IDOK), L"(annullato)");
  ExitAnsweringYes(main);
}
