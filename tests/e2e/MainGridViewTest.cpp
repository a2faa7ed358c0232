// The main window's grid as the user sees it, in the real program under Italian settings:
// the header captions reach the screen, and a vehicle opened after another one was
// scrolled down starts at its first line, selected, with the scroll bar at the top.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "data/jet/WritableDatabase.h"
#include "tests/e2e/ScreenCapture.h"
#include "tests/e2e/UiDriver.h"
#include "tests/e2e/WindowSearch.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;
using namespace e2e;

namespace {

const std::wstring kTitle = L"TorvaneManutenzione - \u00A9 Torvane, tutti i diritti riservati";

// The user's folder with a database holding two vehicles.
fs::path PreparedFolder(const TemporaryDirectory& root) {
  fs::path data = root / "AppData" / "TorvaneManutenzione" / "dati";
  fs::create_directories(data);
  fs::create_directories(root / "lavoro");
  fs::copy_file(ExecutableFolder() / "filedat", root / "lavoro" / "filedat");
  fs::copy_file(ExecutableFolder() / "filedat", data / "dati.mdb");
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(data / "dati.mdb");
  for (const char16_t* plate : {u"AA111AA", u"BB222BB"}) {
    database.InsertRow(u"VEICOLO", {Jet::Value(), Jet::Value(std::u16string(plate)),
                                    Jet::Value(std::u16string(u"prova")),
                                    Jet::Value(std::int32_t{50000}), Jet::Value()});
  }
  return root.Path();
}

// How many pixels of the area differ from its most frequent colour (the background).
int ForegroundPixels(const RECT& area) {
  std::map<DWORD, int> counts;
  const std::vector<DWORD> pixels = CaptureScreen(area);
  for (DWORD pixel : pixels) ++counts[pixel];
  int most = 0;
  for (const auto& [colour, count] : counts) most = std::max(most, count);
  return static_cast<int>(pixels.size()) - most;
}

// Where the header sits in the grid's client area: 1 when the grid is scrolled to the top.
// (Another process's scroll bar cannot be read; what the bar does is checked instead.)
LONG HeaderTop(UiDriver& ui, HWND grid) { return RectInParent(ui.HeaderCell(grid, 0)).top; }

class MainGridView : public ::testing::Test {
 protected:
  void Open(HWND main, const std::wstring& plate) {
    ui.ClickToolbarItem(main, L"Apri");
    HWND selection = ui.WaitForForm(L"Selezione Veicolo");
    ui.ChooseListItem(ui.Control(selection, L"ListBox"), plate);
    ui.ClickButton(selection, L"OK");
    ui.WaitForTitle(main, L"[Targa: " + plate + L"] - " + kTitle);
  }

  TemporaryDirectory root{"main-grid"};
  fs::path folder = PreparedFolder(root);
  LocalAppDataRedirect redirect{folder / "AppData"};
  TargetProcess program{ExecutableFolder() / "TorvaneManutenzione.exe", folder / "lavoro"};
  UiDriver ui{program};
};

}  // namespace

TEST_F(MainGridView, HeaderCaptionsShowAndAVehicleOpensAtItsFirstLine) {
  ui.ClickButton(ui.WaitForForm(L"Leggimi"), L"Accetto");
  HWND main = ui.WaitForForm(kTitle);
  Open(main, L"AA111AA");
  HWND grid = ui.Grid(main, L"Intervento");
  for (int column = 0; column < 4; ++column) {
    HWND header = ui.HeaderCell(grid, column);
    WaitUntil([&] { return ForegroundPixels(ScreenRect(header)) > 15; }, ui.Timeout(),
              "the caption of header cell " + std::to_string(column) + " on the screen");
  }

  // The last line of the first vehicle, reached with the keyboard: the grid scrolls down.
  const int rows = ui.RowCount(grid);
  for (int row = 1; row < rows + 3; ++row) ui.PressKey(grid, VK_DOWN);
  WaitUntil([&] { return HeaderTop(ui, grid) < 0; }, ui.Timeout(), "the grid scrolled down");

  ui.ClickToolbarItem(main, L"Chiudi");
  ui.WaitForTitle(main, kTitle);
  Open(main, L"BB222BB");
  // The header and the first line at the top, the first line selected.
  WaitUntil([&] { return HeaderTop(ui, grid) == 1; }, ui.Timeout(), "the header in view");
  EXPECT_EQ(ScreenRect(ui.Cell(grid, 0, 0)).top, ScreenRect(ui.HeaderCell(grid, 0)).bottom + 1);
  ui.WaitForSelectedRow(grid, 0);
  // The scroll bar agrees: a line down and a line up bring the header back to the top.
  PostMessageW(grid, WM_VSCROLL, SB_LINEDOWN, 0);
  WaitUntil([&] { return HeaderTop(ui, grid) < 1; }, ui.Timeout(), "a line scrolled down");
  PostMessageW(grid, WM_VSCROLL, SB_LINEUP, 0);
  WaitUntil([&] { return HeaderTop(ui, grid) == 1; }, ui.Timeout(), "the header back at the top");
  // Down and Up move the selection and keep the header where it is.
  ui.PressKey(grid, VK_DOWN);
  ui.WaitForSelectedRow(grid, 1);
  ui.PressKey(grid, VK_UP);
  ui.WaitForSelectedRow(grid, 0);
  EXPECT_EQ(HeaderTop(ui, grid), 1);

  ui.CloseWindow(main);
  ui.AnswerMessageBox(L"Uscita", IDYES);
  EXPECT_EQ(program.WaitForExit(ui.Timeout()), 0u);
}
