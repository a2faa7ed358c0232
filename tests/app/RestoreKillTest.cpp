// Restores killed at random moments (the RestoreRunner helper, a process of its own,
// restoring two backups of different sizes in turn): the database the next open finds is
// always the one before or after a restore, byte for byte, and valid; every safety copy
// is a whole database.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "data/jet/Database.h"
#include "data/jet/Journal.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"
#include "tests/app/StoreWriterProcess.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;

namespace {

// Kills (default 50; KILL_TEST_ROUNDS_WINE for a longer run).
int KillRounds() {
  const char* rounds = std::getenv("KILL_TEST_ROUNDS_WINE");
  return rounds ? std::atoi(rounds) : 50;
}

// A backup in `folder`: the template with `vehicles` vehicles more.
std::string MakeBackup(const fs::path& folder, int vehicles) {
  fs::create_directories(folder);
  fs::path file = folder / "TorvaneBackup.dat";
  fs::copy_file(ExecutableFolder() / "filedat", file);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(file);
  database.BeginWrites();
  for (int i = 0; i < vehicles; ++i) {
    database.InsertRow(
        u"VEICOLO",
        {Jet::Value(),
         Jet::Value(u"R" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                    std::u16string(static_cast<std::size_t>(i / 26 + 1), u'0')),
         Jet::Value(std::u16string(180, u'd')), Jet::Value(std::int32_t{i}), Jet::Value()});
  }
  database.CommitWrites();
  return ReadFileBytes(file);
}

void ExpectValid(const fs::path& file) {
  Jet::Database database = Jet::Database::OpenFile(file);
  Jet::ValidationReport report = Jet::ValidateDatabase(database.Pages());
  for (const std::string& problem : report.problems) ADD_FAILURE() << file << ": " << problem;
}

}  // namespace

TEST(RestoreKill, RestoresKilledAtAnyMomentLeaveTheOldOrTheNewDatabase) {
  TemporaryDirectory root("restore-kill");
  fs::create_directories(root / "dati");
  const fs::path database = root / "dati" / "dati.mdb";
  fs::copy_file(ExecutableFolder() / "filedat", database);
  const std::string original = ReadFileBytes(database);
  const std::string small = MakeBackup(root / "a", 1);
  const std::string large = MakeBackup(root / "b", 150);
  ASSERT_NE(small.size(), large.size());

  std::mt19937 random(11);
  int midCommit = 0;
  int restores = 0;
  const int rounds = KillRounds();
  for (int round = 0; round < rounds; ++round) {
    StoreWriterProcess restorer(database, root.Path(), root / "a", root / "b");
    ASSERT_TRUE(restorer.Started());
    ASSERT_TRUE(restorer.WaitForCommitted(1)) << "round " << round;
    Sleep(std::uniform_int_distribution<int>(0, 40)(random));
    restorer.Kill();
    restores += restorer.Committed();
    EXPECT_EQ(restorer.Refused(), 0) << "round " << round;
    if (fs::exists(Jet::JournalPath(database))) ++midCommit;
    Jet::Database::OpenFile(database);  // rolls back a restore cut short
    const std::string now = ReadFileBytes(database);
    ASSERT_TRUE(now == small || now == large || now == original)
        << "round " << round << ": " << now.size();
    ExpectValid(database);
    if (HasFatalFailure()) return;
  }
  int safetyCopies = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(root / "dati")) {
    std::string name = entry.path().filename().string();
    if (name.rfind("dati.mdb.", 0) != 0 || name.size() != std::string("dati.mdb.000").size())
      continue;
    const std::string copy = ReadFileBytes(entry.path());
    EXPECT_TRUE(copy == small || copy == large || copy == original) << name << ": " << copy.size();
    ++safetyCopies;
  }
  EXPECT_GE(safetyCopies, restores);
  std::printf(
      "[ figures  ] %d kills during restores (%d in the middle of a commit), %d restores, %d "
      "safety copies\n",
      rounds, midCommit, restores, safetyCopies);
}
