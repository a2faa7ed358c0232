// The store as the screens make it: `MaintenanceStore store;` on the user's database.
#include <gtest/gtest.h>

#include "data/DatabasePath.h"
#include "data/MaintenanceStore.h"
#include "data/jet/Journal.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TestFiles.h"

namespace {

class ProgramStore : public ::testing::Test {
 protected:
  void UseDatabaseIn(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    std::filesystem::path file = folder / "dati.mdb";
    std::filesystem::copy_file(TemplateFile(), file);
    DatabasePath = file.wstring();
  }
  ~ProgramStore() override { DatabasePath.clear(); }

  TemporaryDirectory root_{"program-store"};
  MessageBoxRecorder boxes_;
};

}  // namespace

TEST_F(ProgramStore, ReadsAndWritesTheUserDatabase) {
  UseDatabaseIn(root_.Path());
  {
    MaintenanceStore store;
    EXPECT_FALSE(store.ErrorFlag()) << store.ErrorText();
    EXPECT_EQ(store.CountInterventionTypes(), 25);
  }
  VehicleRecord car;
  car.TARGA = "AB123CD";
  car.DESCRIZIONE = "Station wagon \x80 rate";  // "€" in the program's code page
  ASSERT_TRUE(MaintenanceStore().SaveVehicle(car));
  EXPECT_EQ(MaintenanceStore().LoadVehicleByPlate("AB123CD").DESCRIZIONE,
            "Station wagon \x80 rate");
  EXPECT_TRUE(boxes_.Requests().empty());
}

TEST_F(ProgramStore, UserFolderOutsideTheCodePage) {
  UseDatabaseIn(root_ / L"\u0141ukasz \u4E2D");
  MaintenanceStore store;
  EXPECT_EQ(store.CountInterventionTypes(), 25) << store.ErrorText();
}

// On Windows too, with the Jet provider registered: only the built-in engine knows the
// lock between running copies, so only it answers that the database is busy.
TEST_F(ProgramStore, TheBuiltInEngineServesTheUserDatabaseEverywhere) {
  UseDatabaseIn(root_.Path());
  Jet::SetLockTimeout(std::chrono::milliseconds(100));
  {
    Jet::WriterLock held{std::filesystem::path(DatabasePath)};
    MaintenanceStore store;
    EXPECT_EQ(store.CountInterventionTypes(), -1);
    VehicleRecord car;
    car.TARGA = "BUSY";
    EXPECT_FALSE(MaintenanceStore().SaveVehicle(car));
  }
  Jet::SetLockTimeout(std::chrono::milliseconds(5000));
  EXPECT_EQ(MaintenanceStore().CountInterventionTypes(), 25);
}
