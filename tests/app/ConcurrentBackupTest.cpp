// Backups and a restore made while another running copy of the program keeps inserting
// vehicles into the database (the StoreWriter helper, a process of its own): every file
// they leave is a committed state that the engine opens and validates, holding whole
// rows only and the vehicles in the order they were committed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "app/BackupRestore.h"
#include "app/DatabasePath.h"
#include "data/jet/Database.h"
#include "data/jet/OleDate.h"
#include "data/jet/Validator.h"
#include "tests/app/WriterRows.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"
#include "toolkit/Shell.h"
#include "toolkit/TextEncoding.h"

namespace fs = std::filesystem;

namespace {

// The helper process; stopped (cleanly, through its stop file) when the object goes.
// It reports its progress through shared memory: a file would be replaced under a
// reader's open handle, which Windows refuses.
class StoreWriterProcess {
 public:
  StoreWriterProcess(const fs::path& database, const fs::path& folder) : stopFile_(folder / "writer.stop") {
    std::wstring mappingName =
        L"Local\\StoreWriterProgress-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
        std::to_wstring(GetTickCount());
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG),
                                  mappingName.c_str());
    if (mapping_ == nullptr) return;
    progress_ = static_cast<volatile LONG*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (progress_ == nullptr) return;
    std::wstring program = (ExecutableFolder() / "StoreWriter.exe").wstring();
    std::wstring commandLine = L"\"" + program + L"\" \"" + database.wstring() + L"\" \"" +
                               stopFile_.wstring() + L"\" " + mappingName;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, &info_) != FALSE;
  }
  ~StoreWriterProcess() {
    Stop();
    if (progress_ != nullptr) UnmapViewOfFile(const_cast<LONG*>(progress_));
    if (mapping_ != nullptr) CloseHandle(mapping_);
  }
  StoreWriterProcess(const StoreWriterProcess&) = delete;
  StoreWriterProcess& operator=(const StoreWriterProcess&) = delete;

  bool Started() const { return started_; }

  // Vehicles committed so far, as the helper last reported.
  int Committed() const { return InterlockedCompareExchange(progress_, 0, 0); }

  // Waits until at least `count` vehicles are committed; false if the helper ended first.
  bool WaitForCommitted(int count) const {
    for (int waited = 0; waited < 20000; waited += 5) {
      if (Committed() >= count) return true;
      if (WaitForSingleObject(info_.hProcess, 5) == WAIT_OBJECT_0) return false;
    }
    return false;
  }

  // The helper's exit code (0 after a clean stop); STILL_ACTIVE if it had to be killed.
  DWORD Stop() {
    if (!started_) return exitCode_;
    started_ = false;
    WriteFileBytes(stopFile_, "stop");
    if (WaitForSingleObject(info_.hProcess, 20000) == WAIT_OBJECT_0) {
      GetExitCodeProcess(info_.hProcess, &exitCode_);
    } else {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    return exitCode_;
  }

 private:
  fs::path stopFile_;
  HANDLE mapping_ = nullptr;
  volatile LONG* progress_ = nullptr;
  PROCESS_INFORMATION info_{};
  bool started_ = false;
  DWORD exitCode_ = STILL_ACTIVE;
};

std::size_t ColumnIndex(const Jet::TableDefinition& table, const char16_t* name) {
  for (std::size_t i = 0; i < table.columns.size(); ++i) {
    if (Jet::NamesEqual(table.columns[i].name, name)) return i;
  }
  ADD_FAILURE() << "no column " << LumoUtility::NarrowUtf16(name);
  return 0;
}

// Opens the file with the engine, runs its validator, and checks that every vehicle is
// one of the helper's, whole, and present once. Returns the helper's numbers found.
std::set<int> WriterVehiclesIn(const fs::path& file) {
  std::set<int> numbers;
  try {
    Jet::Database database = Jet::Database::OpenFile(file);
    Jet::ValidationReport report = Jet::ValidateDatabase(database.Pages());
    for (const std::string& problem : report.problems) ADD_FAILURE() << file << ": " << problem;
    Jet::TableDefinition table = database.ReadTable(u"VEICOLO");
    std::size_t id = ColumnIndex(table, u"ID");
    std::size_t plate = ColumnIndex(table, u"TARGA");
    std::size_t description = ColumnIndex(table, u"DESCRIZIONE");
    std::size_t km = ColumnIndex(table, u"KM");
    std::size_t date = ColumnIndex(table, u"DATA_KM");
    std::set<std::int32_t> ids;
    Jet::TableScan scan = database.Scan(table);
    std::vector<Jet::Value> row;
    while (scan.Next(row)) {
      std::string text = LumoUtility::NarrowUtf16(row[plate].As<std::u16string>());
      int number = 0;
      if (std::sscanf(text.c_str(), "W%d", &number) != 1 || WriterRows::Plate(number) != text) {
        ADD_FAILURE() << file << ": a vehicle the helper did not write: " << text;
        continue;
      }
      EXPECT_TRUE(numbers.insert(number).second) << file << ": twice " << text;
      EXPECT_TRUE(ids.insert(row[id].As<std::int32_t>()).second) << file << ": ID twice";
      EXPECT_EQ(LumoUtility::NarrowUtf16(row[description].As<std::u16string>()),
                WriterRows::Description(number))
          << file << " " << text;
      EXPECT_EQ(row[km].As<std::int32_t>(), WriterRows::Kilometres(number)) << file << " " << text;
      Jet::CivilDateTime civil;
      if (!Jet::OleDateToCivil(row[date].As<Jet::DateTime>().oleDate, civil)) {
        ADD_FAILURE() << file << ": no date for " << text;
        continue;
      }
      EXPECT_EQ(civil.year * 10000 + civil.month * 100 + civil.day,
                WriterRows::Year(number) * 10000 + WriterRows::Month(number) * 100 +
                    WriterRows::Day(number))
          << file << " " << text;
    }
  } catch (const std::exception& error) {
    ADD_FAILURE() << file << ": " << error.what();
  }
  return numbers;
}

// Every vehicle from 1 to the highest one present (the committed order has no gaps).
void ExpectPrefix(const std::set<int>& numbers, const fs::path& file) {
  if (numbers.empty()) return;
  EXPECT_EQ(*numbers.begin(), 1) << file;
  EXPECT_EQ(static_cast<int>(numbers.size()), *numbers.rbegin()) << file << ": a gap";
}

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
  StoreWriterProcess writer(database_, root_.Path());
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
