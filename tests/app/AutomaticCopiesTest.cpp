// The automatic copies on real files: written, checked and thinned out in a folder that
// also holds files of other kinds.
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

std::set<std::wstring> FolderContent(const fs::path& folder) {
  std::set<std::wstring> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().wstring());
  }
  return names;
}

class AutomaticCopies : public ::testing::Test {
 protected:
  AutomaticCopies() {
    fs::create_directories(root / "dati" / "copie");
    WriteFileBytes(copies / "note.txt", "della persona");
    WriteFileBytes(copies / "dati-20261207-2031.mdb", "quasi una copia");
  }

  TemporaryDirectory root{"automatic-copies"};
  fs::path database = root / "dati" / "dati.mdb";
  fs::path copies = root / "dati" / "copie";
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

  // The two oldest went; the second copy of 20:31:40 moved on a second.
  std::set<std::wstring> expected = {L"note.txt", L"dati-20261207-2031.mdb",
                                     L"dati-20261207-203141.mdb"};
  for (int second = 8; second <= 40; second += 4) {
    expected.insert(AutomaticCopyName({2026, 12, 7, 20, 31, second}));
  }
  EXPECT_EQ(FolderContent(copies), expected);
  EXPECT_EQ(ReadFileBytes(copies / "note.txt"), "della persona");
  EXPECT_EQ(ReadFileBytes(copies / "dati-20261207-2031.mdb"), "quasi una copia");
  EXPECT_EQ(ReadFileBytes(database), content);

  const std::vector<AutomaticCopy> listed = ListAutomaticCopies(database.wstring());
  ASSERT_EQ(listed.size(), 10u);
  EXPECT_EQ(fs::path(listed.front().path), copies / "dati-20261207-203141.mdb");
  EXPECT_EQ(fs::path(listed.back().path), copies / "dati-20261207-203108.mdb");
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
  EXPECT_EQ(FolderContent(copies),
            (std::set<std::wstring>{L"note.txt", L"dati-20261207-2031.mdb"}));
  EXPECT_EQ(ReadFileBytes(database), content);
  EXPECT_TRUE(ListAutomaticCopies(database.wstring()).empty());
}

}  // namespace
