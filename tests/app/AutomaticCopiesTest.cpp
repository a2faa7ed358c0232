// The automatic copies on real files, in a folder that also holds files of other kinds.
#include "app/AutomaticCopies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

class AutomaticCopies : public ::testing::Test {
 protected:
  AutomaticCopies() {
    fs::create_directories(copies);
    WriteFileBytes(copies / "note.txt", "della persona");
    WriteFileBytes(copies / "dati-20261207-2031.mdb", "quasi una copia");
  }

  std::set<std::wstring> CopiesFolder() {
    std::set<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(copies)) {
      names.insert(entry.path().filename().wstring());
    }
    return names;
  }

  TemporaryDirectory root{"automatic-copies"};
  fs::path database = root / "dati.mdb";
  fs::path copies = root / "copie";
  std::set<std::wstring> others = {L"note.txt", L"dati-20261207-2031.mdb"};
  SYSTEMTIME now{2026, 12, 1, 7, 20, 31, 0, 0};
};

TEST_F(AutomaticCopies, TwelveRunsLeaveTheTenNewestAndNothingElseTouched) {
  fs::copy_file(TemplateFile(), database);
  const std::string content = ReadFileBytes(database);
  // A run every four seconds, the last two ending in the same second.
  for (int run = 0; run < 12; ++run) {
    now.wSecond = static_cast<WORD>(std::min(run, 10) * 4);
    ASSERT_TRUE(WriteAutomaticCopy(database.wstring(), now));
  }
  std::set<std::wstring> expected = others;
  expected.insert(L"dati-20261207-203141.mdb");
  for (int second = 8; second <= 40; second += 4) {
    expected.insert(AutomaticCopyName({2026, 12, 7, 20, 31, second}));
  }
  EXPECT_EQ(CopiesFolder(), expected);
  EXPECT_EQ(ReadFileBytes(copies / "note.txt"), "della persona");
  EXPECT_EQ(ReadFileBytes(copies / "dati-20261207-2031.mdb"), "quasi una copia");
  const std::vector<AutomaticCopy> listed = ListAutomaticCopies(database.wstring());
  ASSERT_EQ(listed.size(), 10u);
  EXPECT_EQ(fs::path(listed.front().path), copies / "dati-20261207-203141.mdb");
  for (const AutomaticCopy& copy : listed) {
    EXPECT_EQ(ReadFileBytes(copy.path), content);
    EXPECT_EQ(copy.bytes, content.size());
  }
}

TEST_F(AutomaticCopies, ACopyThatIsNotTheProgramsDatabaseLeavesNothing) {
  // An Access file the engine reads, without the program's tables.
  fs::copy_file(SampleDatabaseFolder() / "empty_access2000.mdb", database);
  const std::string content = ReadFileBytes(database);
  EXPECT_FALSE(WriteAutomaticCopy(database.wstring(), now));
  EXPECT_EQ(CopiesFolder(), others);
  EXPECT_EQ(ReadFileBytes(database), content);
}

}  // namespace
