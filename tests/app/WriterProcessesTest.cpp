// Running copies of the program writing one database under Windows file locking: copies
// killed in the middle of their writes, and two copies writing at once. Each copy is the
// StoreWriter helper, a process of its own writing through the program's store.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

#include "data/jet/Journal.h"
#include "tests/app/StoreWriterProcess.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WindowsTestSupport.h"

namespace fs = std::filesystem;

namespace {

class WriterProcesses : public ::testing::Test {
 protected:
  WriterProcesses() {
    database_ = root_ / "dati.mdb";
    fs::copy_file(ExecutableFolder() / "filedat", database_);
  }

  TemporaryDirectory root_{"writer-processes"};
  fs::path database_;
};

// Kills (default 40 here; KILL_TEST_ROUNDS_WINE for a longer run, see scripts/kill-test).
int KillRounds() {
  const char* rounds = std::getenv("KILL_TEST_ROUNDS_WINE");
  return rounds ? std::atoi(rounds) : 40;
}

}  // namespace

TEST_F(WriterProcesses, CopiesKilledWhileWritingLeaveEveryCommittedRow) {
  std::mt19937 random(7);
  int reported = 0;
  int cutShort = 0;
  const int rounds = KillRounds();
  for (int round = 0; round < rounds; ++round) {
    StoreWriterProcess writer(database_, root_.Path(), 'K');
    ASSERT_TRUE(writer.Started());
    // It starts from what the last one committed (its reopen rolled back any cut commit).
    ASSERT_TRUE(writer.WaitForCommitted(reported + 1)) << "round " << round;
    Sleep(std::uniform_int_distribution<int>(0, 40)(random));
    writer.Kill();
    reported = writer.Committed();
    if (fs::exists(Jet::JournalPath(database_))) ++cutShort;
    const std::set<int> numbers = WriterVehiclesIn(database_, 'K');
    ExpectPrefix(numbers, database_);
    const int highest = numbers.empty() ? 0 : *numbers.rbegin();
    // Every commit it reported is there; at most the one it was reporting besides.
    ASSERT_GE(highest, reported) << "round " << round;
    ASSERT_LE(highest, reported + 1) << "round " << round;
    reported = highest;
    if (HasFatalFailure()) return;
  }
  std::printf(
      "[ figures  ] %d kills under Wine (%d in the middle of a commit), %d vehicles "
      "committed\n",
      rounds, cutShort, reported);
}

// Each save runs against the file as it is then, under the lock: two copies saving
// different vehicles back to back never refuse a save, and lose nothing.
TEST_F(WriterProcesses, TwoCopiesWritingAtOnceLoseNoUpdate) {
  int committedA = 0;
  int committedB = 0;
  {
    StoreWriterProcess first(database_, root_.Path(), 'A');
    StoreWriterProcess second(database_, root_.Path(), 'B');
    ASSERT_TRUE(first.Started());
    ASSERT_TRUE(second.Started());
    ASSERT_TRUE(first.WaitForCommitted(40));
    ASSERT_TRUE(second.WaitForCommitted(40));
    EXPECT_EQ(first.Stop(), 0u);
    EXPECT_EQ(second.Stop(), 0u);
    EXPECT_EQ(first.Refused(), 0);
    EXPECT_EQ(second.Refused(), 0);
    committedA = first.Committed();
    committedB = second.Committed();
  }
  const std::set<int> a = WriterVehiclesIn(database_, 'A');
  const std::set<int> b = WriterVehiclesIn(database_, 'B');
  ExpectPrefix(a, database_);
  ExpectPrefix(b, database_);
  EXPECT_EQ(static_cast<int>(a.size()), committedA);
  EXPECT_EQ(static_cast<int>(b.size()), committedB);
}
