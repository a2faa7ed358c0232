// Commits are whole or absent on disk. Every write and sync of a commit is stopped in turn
// (through the file shim's fault hook), and every write is also torn half-way, for an
// insert, an update that grows a row on a full page, a delete and a bulk insert that
// splits the primary key's index pages; after
// each stop the database reopens as exactly the state before or after the statement, the
// validator passes and (natively) mdbtools and mdb-reader read it. Also: a journal is
// never applied to a file it was not made for, an unfinished journal is dropped, the
// writer lock gives up with kBusy, and a commit over another copy's commit is refused.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>

#include "data/jet/DatabaseCreator.h"
#include "data/jet/FileShim.h"
#include "data/jet/Journal.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"
#include "tests/data/SampleFiles.h"
#include "tests/data/ShellCommand.h"
#include "tests/support/TemporaryDirectory.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using Jet::Value;
const std::u16string kTable = u"VOCI";

// A database with one table of `rows` rows (AutoNumber primary key, text, memo, long).
void MakeDatabase(const std::filesystem::path& path, int rows) {
  Jet::NewDatabaseFacts facts = Jet::NewDatabaseFacts::FromJetSample();
  facts.headerCreationDate = facts.objectsCreationDate = 46000.5;
  Jet::CreateEmptyDatabase(path, facts);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  using T = Jet::NewColumnType;
  database.CreateTable(
      {kTable,
       {{u"ID", T::kAutoNumber}, {u"NOME", T::kText, 60}, {u"NOTE", T::kMemo}, {u"KM", T::kLong}},
       u"ID"},
      46000.5);
  database.BeginWrites();
  for (int i = 0; i < rows; ++i) {
    database.InsertRow(
        kTable, {Value(), Value(std::u16string(u"riga ") + char16_t(u'a' + i % 26)),
                 Value(Jet::MemoText{std::u16string(static_cast<std::size_t>(i % 7) * 20, u'n')}),
                 Value(static_cast<std::int32_t>(i * 1000))});
  }
  database.CommitWrites();
}

std::string Dump(const std::filesystem::path& path) {
  return DumpDatabase(Jet::Database::OpenFile(path));
}

std::vector<Jet::RowPointer> RowsOf(Jet::WritableDatabase& database) {
  std::vector<Jet::RowPointer> rows;
  Jet::TableScan scan = database.Reader().Scan(database.ReadTable(kTable));
  std::vector<Value> values;
  while (scan.Next(values)) rows.push_back(scan.CurrentRow());
  return rows;
}

std::size_t RowCount(const std::filesystem::path& path) {
  Jet::Database database = Jet::Database::OpenFile(path);
  Jet::TableScan scan = database.Scan(database.ReadTable(kTable));
  std::vector<Value> values;
  std::size_t count = 0;
  while (scan.Next(values)) ++count;
  return count;
}

#ifndef _WIN32
// mdb-export and mdb-reader read every row the engine reads.
void ExpectIndependentReadersAgree(const std::filesystem::path& path) {
  std::size_t rows = RowCount(path);
  int status = 0;
  std::string csv =
      RunShellCommand("mdb-export " + ShellQuote(path.string()) + " VOCI 2>&1", status);
  EXPECT_EQ(status, 0) << csv.substr(0, 500);
  std::size_t lines = 0;
  for (char c : csv) lines += c == '\n';
  EXPECT_EQ(lines, rows + 1) << "mdb-export";
  std::string dump =
      RunShellCommand("TZ=UTC node " + ShellQuote(MDB_READER_SCRIPT) + " " +
                          ShellQuote(MDB_READER_ROOT) + " " + ShellQuote(path.string()) + " 2>&1",
                      status);
  EXPECT_EQ(status, 0) << dump.substr(0, 500);
  std::size_t readerRows = 0;
  for (std::size_t start = 0, end; (end = dump.find('\n', start)) != std::string::npos;
       start = end + 1) {
    if (end > start && dump[start] != '\x1e') ++readerRows;
  }
  EXPECT_EQ(readerRows, rows) << "mdb-reader";
}
#else
void ExpectIndependentReadersAgree(const std::filesystem::path&) {}
#endif

void ExpectValid(const std::filesystem::path& path) {
  Jet::Database database = Jet::Database::OpenFile(path);
  Jet::ValidationReport report = Jet::ValidateDatabase(database.Pages());
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
}

struct Scenario {
  const char* name;
  int rows;  // in the database before the statement
  std::function<void(Jet::WritableDatabase&)> statement;
};

std::vector<Scenario> Scenarios() {
  return {
      {"insert", 40,
       [](Jet::WritableDatabase& db) {
         db.InsertRow(kTable, {Value(), Value(std::u16string(u"nuova")),
                               Value(Jet::MemoText{u"nota"}), Value(std::int32_t{7})});
       }},
      {"update that grows a row on a full page", 120,
       [](Jet::WritableDatabase& db) {
         db.UpdateRow(kTable, RowsOf(db).front(),
                      {Value(), Value(std::u16string(60, u'x')),
                       Value(Jet::MemoText{std::u16string(1500, u'm')}), Value(std::int32_t{1})});
       }},
      {"delete", 40, [](Jet::WritableDatabase& db) { db.DeleteRow(kTable, RowsOf(db)[5]); }},
      {"bulk insert splitting index pages", 300,
       [](Jet::WritableDatabase& db) {
         db.BeginWrites();
         for (int i = 0; i < 700; ++i) {
           db.InsertRow(kTable, {Value(), Value(std::u16string(u"molte")), Value(),
                                 Value(static_cast<std::int32_t>(i))});
         }
         db.CommitWrites();
       }},
  };
}

class FaultHookReset {
 public:
  ~FaultHookReset() { Jet::SetFileFaultHook(nullptr); }
};

// By bytes: MinGW's copy_file does not overwrite.
void CopyOver(const std::filesystem::path& from, const std::filesystem::path& to) {
  WriteFileBytes(to, ReadFileBytes(from));
}

void ResetFile(const std::filesystem::path& base, const std::filesystem::path& path) {
  CopyOver(base, path);
  std::filesystem::remove(Jet::JournalPath(path));
}

TEST(SafeCommit, EveryStopOfACommitLeavesTheStateBeforeOrAfter) {
  FaultHookReset reset;
  TemporaryDirectory directory("safe");
  std::size_t stopsChecked = 0;
  for (const Scenario& scenario : Scenarios()) {
    SCOPED_TRACE(scenario.name);
    std::filesystem::path base = directory / "base.mdb";
    std::filesystem::path path = directory / "dati.mdb";
    std::filesystem::remove(base);
    MakeDatabase(base, scenario.rows);
    ResetFile(base, path);
    std::string before = Dump(path);

    // The whole statement once, counting its writes and syncs.
    std::vector<std::string> steps;
    {
      Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
      Jet::SetFileFaultHook([&](const std::string& step) {
        steps.push_back(step);
        return Jet::FaultAction::kProceed;
      });
      scenario.statement(database);
      Jet::SetFileFaultHook(nullptr);
    }
    std::string after = Dump(path);
    ASSERT_NE(before, after);
    ASSERT_GE(steps.size(), 5u);  // journal write and sync, a page, database sync, removal
    EXPECT_FALSE(std::filesystem::exists(Jet::JournalPath(path)));
    std::printf("%s: %zu writes, syncs and removals\n", scenario.name, steps.size());

    for (std::size_t stop = 0; stop < steps.size(); ++stop) {
      SCOPED_TRACE("stopped before " + steps[stop]);
      // The machine stops: this step and every later one never happen (a write may be
      // torn half-way); or only this step fails and the system goes on working.
      enum Mode { kStopHere, kTearHere, kFailOnlyHere };
      bool isWrite = steps[stop].rfind("write", 0) == 0;
      for (Mode mode : {kStopHere, kTearHere, kFailOnlyHere}) {
        if (mode == kTearHere && !isWrite) continue;
        bool laterStepsWork = mode == kFailOnlyHere;
        ResetFile(base, path);
        {
          Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
          std::size_t seen = 0;
          Jet::SetFileFaultHook([&](const std::string&) {
            ++seen;
            if (seen == stop + 1)
              return mode == kTearHere ? Jet::FaultAction::kTear : Jet::FaultAction::kStop;
            return seen > stop + 1 && !laterStepsWork ? Jet::FaultAction::kStop
                                                      : Jet::FaultAction::kProceed;
          });
          EXPECT_THROW(scenario.statement(database), Jet::JetError);
          Jet::SetFileFaultHook(nullptr);
          // The copy that failed goes on: its pages in memory are the state before.
          EXPECT_EQ(DumpDatabase(
                        Jet::Database(std::make_unique<Jet::BorrowedPageSource>(database.Pages()))),
                    before);
        }
        // When the system still works after the failed step the copy undid it at once;
        // otherwise the next open finds the journal and rolls the file back.
        if (laterStepsWork) {
          EXPECT_FALSE(std::filesystem::exists(Jet::JournalPath(path)));
        }
        std::string reopened = Dump(path);
        EXPECT_TRUE(reopened == before || reopened == after);
        EXPECT_EQ(reopened, before);  // the commit point is the journal's removal, the last step
        EXPECT_FALSE(std::filesystem::exists(Jet::JournalPath(path)));
        ExpectValid(path);
        if (mode == kStopHere) ExpectIndependentReadersAgree(path);
        ++stopsChecked;
      }
    }
    // And the statement still goes through on the recovered file.
    {
      Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
      scenario.statement(database);
    }
    EXPECT_EQ(Dump(path), after);
  }
  std::printf("%zu stopped commits reopened as the state before the statement\n", stopsChecked);
}

// A journal left beside a database, as a commit cut short leaves it.
std::vector<std::uint8_t> LeaveJournal(const std::filesystem::path& path) {
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  std::vector<std::uint8_t> journal;
  Jet::SetFileFaultHook([&](const std::string& step) {
    return step.rfind("removal", 0) == 0 ? Jet::FaultAction::kStop : Jet::FaultAction::kProceed;
  });
  EXPECT_THROW(database.DeleteRow(kTable, RowsOf(database).front()), Jet::JetError);
  Jet::SetFileFaultHook(nullptr);
  std::string bytes = ReadFileBytes(Jet::JournalPath(path));
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

TEST(SafeCommit, AJournalIsOnlyAppliedToTheFileItWasMadeFor) {
  FaultHookReset reset;
  TemporaryDirectory directory("journal");
  std::filesystem::path path = directory / "dati.mdb";
  std::filesystem::path backup = directory / "backup.mdb";
  MakeDatabase(path, 30);
  std::filesystem::copy_file(path, backup);
  {
    // A different database of the same size: the same table, other values.
    Jet::WritableDatabase database = Jet::WritableDatabase::Open(backup);
    database.UpdateRow(
        kTable, RowsOf(database)[3],
        {Value(), Value(std::u16string(u"ripristino")), Value(), Value(std::int32_t{3})});
  }
  std::string restored = Dump(backup);
  std::uintmax_t size = std::filesystem::file_size(backup);

  LeaveJournal(path);
  ASSERT_TRUE(std::filesystem::exists(Jet::JournalPath(path)));
  // The user restores the backup over the database before the program runs again.
  CopyOver(backup, path);
  ASSERT_EQ(std::filesystem::file_size(path), size);
  EXPECT_EQ(Dump(path), restored);  // the old journal was not applied
  EXPECT_FALSE(std::filesystem::exists(Jet::JournalPath(path)));
  std::size_t orphans = 0;
  for (const auto& entry : std::filesystem::directory_iterator(directory.Path())) {
    orphans += entry.path().extension() == ".orphan";
  }
  EXPECT_EQ(orphans, 1u);  // kept aside, never deleted
  ExpectValid(path);
}

TEST(SafeCommit, AnUnfinishedOrDamagedJournalIsDropped) {
  FaultHookReset reset;
  TemporaryDirectory directory("torn");
  std::filesystem::path path = directory / "dati.mdb";
  MakeDatabase(path, 30);
  std::string before = Dump(path);
  std::vector<std::uint8_t> journal = LeaveJournal(path);
  ASSERT_GT(journal.size(), Jet::Format::Journal::kHeaderSize);
  // Cut at a few lengths and flipped bytes: never believed, never a crash. The database
  // itself was not touched in these cases (the journal is synced before the database).
  std::string intact = ReadFileBytes(path);
  for (std::size_t cut :
       {std::size_t{0}, std::size_t{7}, Jet::Format::Journal::kHeaderSize, journal.size() - 1}) {
    WriteFileBytes(
        Jet::JournalPath(path),
        std::string(journal.begin(), journal.begin() + static_cast<std::ptrdiff_t>(cut)));
    EXPECT_NO_THROW(Jet::WritableDatabase::Open(path));
    EXPECT_FALSE(std::filesystem::exists(Jet::JournalPath(path)));
  }
  for (std::size_t at :
       {std::size_t{3}, std::size_t{0x14}, std::size_t{0x40}, journal.size() - 5}) {
    std::vector<std::uint8_t> damaged = journal;
    damaged[at] ^= 0x5A;
    WriteFileBytes(Jet::JournalPath(path), std::string(damaged.begin(), damaged.end()));
    EXPECT_NO_THROW(Jet::Database::OpenFile(path));
    EXPECT_FALSE(std::filesystem::exists(Jet::JournalPath(path)));
  }
  EXPECT_EQ(ReadFileBytes(path), intact);
  // The intact journal rolls back (here: the file holds the commit whole, up to removal).
  WriteFileBytes(Jet::JournalPath(path), std::string(journal.begin(), journal.end()));
  EXPECT_EQ(Dump(path), before);
  ExpectValid(path);
}

TEST(SafeCommit, TheWriterLockGivesUpWithBusyAndACommitOverAnotherCopysIsRefused) {
  TemporaryDirectory directory("lock");
  std::filesystem::path path = directory / "dati.mdb";
  MakeDatabase(path, 10);
  Jet::SetLockTimeout(std::chrono::milliseconds(200));
  {
    Jet::WriterLock held(path);
    auto started = std::chrono::steady_clock::now();
    try {
      Jet::WritableDatabase::Open(path);
      ADD_FAILURE() << "opened while another copy held the lock";
    } catch (const Jet::JetError& error) {
      EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kBusy);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(3));
    EXPECT_THROW(Jet::Database::OpenFile(path), Jet::JetError);
    // The lock is beyond the data: the bytes stay readable (backup copies the file).
    EXPECT_EQ(ReadFileBytes(path).size(), std::filesystem::file_size(path));
  }
  Jet::SetLockTimeout(std::chrono::milliseconds(5000));

  Jet::WritableDatabase first = Jet::WritableDatabase::Open(path);
  Jet::WritableDatabase second = Jet::WritableDatabase::Open(path);
  first.InsertRow(kTable,
                  {Value(), Value(std::u16string(u"prima")), Value(), Value(std::int32_t{1})});
  try {
    second.InsertRow(kTable,
                     {Value(), Value(std::u16string(u"seconda")), Value(), Value(std::int32_t{2})});
    ADD_FAILURE() << "a commit over another copy's commit went through";
  } catch (const Jet::JetError& error) {
    EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kChangedElsewhere);
  }
  // The refused copy reloaded the file: the statement run again goes through.
  second.InsertRow(kTable,
                   {Value(), Value(std::u16string(u"seconda")), Value(), Value(std::int32_t{2})});
  EXPECT_EQ(RowCount(path), 12u);
  ExpectValid(path);
}

// Copies compare the file with what they hold a block of pages at a time: a change to one
// page far past the first block is still seen, by a statement's hold (which reloads) and
// by a commit without one (which is refused).
TEST(SafeCommit, AChangeToOneLatePageIsSeenByTheOtherCopies) {
  TemporaryDirectory directory("late-page");
  std::filesystem::path path = directory / "dati.mdb";
  MakeDatabase(path, 6000);
  ASSERT_GT(std::filesystem::file_size(path), 2u * 64u * 4096u);
  Jet::WritableDatabase first = Jet::WritableDatabase::Open(path);
  Jet::WritableDatabase second = Jet::WritableDatabase::Open(path);
  Jet::WritableDatabase third = Jet::WritableDatabase::Open(path);
  Jet::TableDefinition table = first.ReadTable(kTable);
  Jet::RowPointer last;
  std::vector<Value> values;
  {
    Jet::TableScan scan = first.Reader().Scan(table);
    std::vector<Value> read;
    while (scan.Next(read)) {
      last = scan.CurrentRow();
      values = read;
    }
  }
  ASSERT_GT(last.page, 64u);  // past the first block of pages compared
  values[3] = Value(std::int32_t{-1});
  first.UpdateRow(kTable, last, values);
  second.BeginStatement();
  {
    Jet::TableScan scan = second.Reader().Scan(second.ReadTable(kTable));
    std::int32_t lastKm = 0;
    while (scan.Next(values)) lastKm = values[3].As<std::int32_t>();
    EXPECT_EQ(lastKm, -1);
  }
  second.EndStatement();
  try {
    third.InsertRow(kTable, {Value(), Value(std::u16string(u"terza")), Value(), Value()});
    ADD_FAILURE() << "a commit over another copy's commit went through";
  } catch (const Jet::JetError& error) {
    EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kChangedElsewhere);
  }
}

#ifdef _WIN32
// A virus scanner opens a new file the moment it is closed and holds it a little while,
// without sharing its removal: the commit waits for it rather than failing.
TEST(SafeCommit, AJournalHeldByAnotherProgramForAMomentIsWaitedFor) {
  FaultHookReset reset;
  TemporaryDirectory directory("scanner");
  std::filesystem::path path = directory / "dati.mdb";
  MakeDatabase(path, 10);
  HANDLE scanner = INVALID_HANDLE_VALUE;
  std::thread release;
  Jet::SetFileFaultHook([&](const std::string& step) {
    if (step.rfind("removal", 0) == 0 && !release.joinable()) {
      scanner = CreateFileW(Jet::JournalPath(path).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
      release = std::thread([&] {
        Sleep(300);
        CloseHandle(scanner);
      });
    }
    return Jet::FaultAction::kProceed;
  });
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  EXPECT_NO_THROW(database.InsertRow(
      kTable, {Value(), Value(std::u16string(u"scansione")), Value(), Value(std::int32_t{1})}));
  ASSERT_TRUE(release.joinable());
  release.join();
  EXPECT_NE(scanner, INVALID_HANDLE_VALUE);
  Jet::SetFileFaultHook(nullptr);
  EXPECT_FALSE(std::filesystem::exists(Jet::JournalPath(path)));
  EXPECT_NO_THROW(database.InsertRow(
      kTable, {Value(), Value(std::u16string(u"dopo")), Value(), Value(std::int32_t{2})}));
  EXPECT_EQ(RowCount(path), 12u);
}
#endif

}  // namespace
