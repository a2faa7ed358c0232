// Backups and a restore made while another running copy of the program keeps inserting
// vehicles into the database (the StoreWriter helper, a process of its own): every file
// they leave is a committed state that the engine opens and validates, holding whole
// rows only and the vehicles in the order they were committed.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/BackupRestore.h"
#include "data/DatabasePath.h"
#include "tests/app/StoreWriterProcess.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"
#include "toolkit/Shell.h"

namespace fs = std::filesystem;

namespace {

// Enough copies that one landing in the middle of a commit is likely (a copy made
// without the writer lock is caught in most runs).
constexpr int kBackups = 150;

class ConcurrentBackup : public ::testing::Test {
 protected:
  ConcurrentBackup() {
    fs::create_directories(root_ / "dati");
    database_ = root_ / "dati" / "dati.mdb";
    fs::copy_file(ExecutableFolder() / "filedat", database_);
    DatabasePath = database_.wstring();
    previous_ = LumoUtility::SetFolderChooser(
        [this](const std::string&, HWND) { return chosen_.wstring(); });
  }
  ~ConcurrentBackup() override {
    LumoUtility::SetFolderChooser(std::move(previous_));
    DatabasePath.clear();
  }

  TemporaryDirectory root_{"concurrent-backup"};
  fs::path database_;
  fs::path chosen_;
  MessageBoxRecorder boxes_;
  LumoUtility::FolderChooser previous_;
};

}  // namespace

TEST_F(ConcurrentBackup, WhileAnotherCopyInsertsEveryFileIsACommittedState) {
  StoreWriterProcess writer(database_, root_.Path(), 'W');
  ASSERT_TRUE(writer.Started());
  ASSERT_TRUE(writer.WaitForCommitted(3)) << "the helper wrote nothing";

  // Back to back, so that the copies fall anywhere in the helper's cycle of load, insert
  // and commit.
  std::vector<fs::path> backups;
  int lastHighest = 0;
  for (int round = 0; round < kBackups; ++round) {
    chosen_ = root_ / ("backup" + std::to_string(round));
    fs::create_directories(chosen_);
    int committedBefore = writer.Committed();
    BackupDatabase(nullptr);
    int committedAfter = writer.Committed();
    ASSERT_EQ(boxes_.Requests().back().text, "Salvataggio del backup effettuato correttamente.");
    fs::path backup = chosen_ / "TorvaneBackup.dat";
    std::set<int> numbers = WriterVehiclesIn(backup);
    ExpectPrefix(numbers, backup);
    int highest = numbers.empty() ? 0 : *numbers.rbegin();
    // Nothing committed before the copy is missing, nothing is there that came later.
    EXPECT_GE(highest, committedBefore) << backup;
    EXPECT_LE(highest, committedAfter + 1) << backup;
    EXPECT_GE(highest, lastHighest) << backup;
    lastHighest = highest;
    backups.push_back(backup);
  }

  // Restoring the first backup while the helper goes on: the safety copy is a committed
  // state too, and the helper's later inserts land on the restored database.
  chosen_ = backups.front().parent_path();
  int committedBefore = writer.Committed();
  boxes_.QueueAnswer(IDYES);
  RestoreDatabase(nullptr);
  ASSERT_EQ(boxes_.Requests().back().text, "Ripristino del backup effettuato correttamente.");
  std::set<int> safety = WriterVehiclesIn(root_ / "dati" / "dati.mdb.000");
  ExpectPrefix(safety, "dati.mdb.000");
  EXPECT_GE(safety.empty() ? 0 : *safety.rbegin(), committedBefore);
  ASSERT_TRUE(writer.WaitForCommitted(writer.Committed() + 3));
  EXPECT_EQ(writer.Stop(), 0u);

  std::set<int> restoredOn = WriterVehiclesIn(database_);
  std::set<int> first = WriterVehiclesIn(backups.front());
  for (int number : first) EXPECT_EQ(restoredOn.count(number), 1u) << number;
  // The vehicles the helper inserted after the restore follow the backup's.
  EXPECT_GT(restoredOn.size(), first.size());
}
