// The main window over a database marked read-only (and, as Wine run by root writes
// read-only files, held by another program that denies writing): the vehicles, the
// schedule and the catalogue show; a save fails with the program's message and the
// reason; the file never changes.
#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "data/DatabasePath.h"
#include "screens/FormAnagInterv.h"
#include "screens/FormGrid.h"
#include "screens/FormSelezione.h"
#include "screens/KmText.h"
#include "tests/screens/MainWindowDriving.h"
#include "tests/screens/ScreenTestSupport.h"
#include "toolkit/Button.h"
#include "toolkit/Grid.h"
#include "toolkit/ListBox.h"
#include "toolkit/ToolBarItem.h"

namespace fs = std::filesystem;

namespace {

class ReadOnlyDatabase : public ScreenTest {
 protected:
  ReadOnlyDatabase() {
    VehicleRecord car = StoreVehicle("RO123AB", "Sola lettura", 42000, true);
    StoreDone(car, 1, 30000);
    MaintenanceStore().SeedInterventionTypes();
    before_ = ReadFileBytes(database_);
    SetFileAttributesW(database_.c_str(), FILE_ATTRIBUTE_READONLY);
    reader_ = CreateFileW(database_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~ReadOnlyDatabase() override {
    if (reader_ != INVALID_HANDLE_VALUE) CloseHandle(reader_);
    SetFileAttributesW(database_.c_str(), FILE_ATTRIBUTE_NORMAL);
  }

  fs::path database_{DatabasePath};
  std::string before_;
  HANDLE reader_ = INVALID_HANDLE_VALUE;
};

}  // namespace

TEST_F(ReadOnlyDatabase, TheScreensReadAndSavesFailWithTheReason) {
  ASSERT_NE(reader_, INVALID_HANDLE_VALUE);
  std::unique_ptr<MyApp::FormGrid> main;
  ASSERT_TRUE(OpenMainWindow(main, "Prova"));
  EXPECT_EQ(main->grid->rowCount, 26);
  const std::size_t quiet = boxes.Requests().size();

  ClickTool(*main, main->openButton.get());
  ASSERT_TRUE(main->vehicleSelection);
  ASSERT_EQ(SendMessageW(main->vehicleSelection->plateList->window, LB_GETCOUNT, 0, 0), 1);
  SendMessageW(main->vehicleSelection->plateList->window, LB_SETCURSEL, 0, 0);
  HWND selection = main->vehicleSelection->window;
  SendMessageW(main->vehicleSelection->okButton->window, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitGone(selection));
  EXPECT_EQ(main->grid->GetRowCells(0).at(2)->GetTextAnsi(), MyApp::GroupedKm(30000));
  EXPECT_EQ(boxes.Requests().size(), quiet) << LastBox()->text;

  ClickTool(*main, main->closeButton.get());
  ClickTool(*main, main->optionsButton.get());
  ASSERT_TRUE(main->catalogueEditor);
  EXPECT_EQ(main->catalogueEditor->catalogue.size(), 26u);
  main->catalogueEditor.reset();
  EXPECT_EQ(boxes.Requests().size(), quiet) << LastBox()->text;

  ClickTool(*main, main->newButton.get());
  ASSERT_TRUE(ConfirmVehicleEditor(*main, "NUOVO01", "", "1000"));
  ASSERT_GT(boxes.Requests().size(), quiet);
  EXPECT_EQ(LastBox()->caption, "Errore");
  EXPECT_EQ(LastBox()->text.rfind("Errore durante l'inserimento del veicolo [", 0), 0u)
      << LastBox()->text;
  EXPECT_NE(LastBox()->text.find("sola lettura"), std::string::npos) << LastBox()->text;
  main.reset();
  EXPECT_TRUE(ReadFileBytes(database_) == before_);
}
