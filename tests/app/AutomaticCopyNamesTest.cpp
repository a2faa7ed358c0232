#include "app/AutomaticCopyNames.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/base/NumberPunctuation.h"

namespace {

TEST(AutomaticCopyNames, OnlyExactNamesOfARealTimeAreCopies) {
  const struct {
    const wchar_t* name;
    bool copy;
  } cases[] = {
      {L"dati-20261207-203105.mdb", true},
      {L"dati-20240229-000000.mdb", true},
      {L"dati-99991231-235959.mdb", true},
      {L"dati-20230229-120000.mdb", false},  // no 29 February that year
      {L"dati-20261307-203105.mdb", false},
      {L"dati-20261200-203105.mdb", false},
      {L"dati-20261207-243105.mdb", false},
      {L"dati-20261207-206005.mdb", false},
      {L"dati-20261207-2031.mdb", false},
      {L"dati-20261207-2031050.mdb", false},
      {L"dati-2026120a-203105.mdb", false},
      {L"dati-20261207_203105.mdb", false},
      {L"Dati-20261207-203105.mdb", false},
      {L"dati-20261207-203105.MDB", false},
      {L"dati-20261207-203105.mdb.tmp", false},
      {L"dati-20261207-203105 (2).mdb", false},
      {L"xdati-20261207-203105.mdb", false},
      {L"dati.mdb", false},
      {L"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + std::wcslen(c.name)));
    const std::optional<CopyTime> time = AutomaticCopyTime(c.name);
    ASSERT_EQ(time.has_value(), c.copy);
    if (time) EXPECT_EQ(AutomaticCopyName(*time), c.name);
  }
  EXPECT_EQ(AutomaticCopyName({2027, 1, 2, 3, 4, 5}), L"dati-20270102-030405.mdb");
}

TEST(AutomaticCopyNames, TheOldestCopiesGoAndNothingElse) {
  std::vector<std::wstring> twelve;
  for (int second = 10; second < 22; ++second) {
    twelve.push_back(AutomaticCopyName({2026, 12, 7, 20, 31, second}));
  }
  std::vector<std::wstring> folder = {L"note.txt", L"dati-20261207-2031.mdb", L"dati.mdb.000"};
  folder.insert(folder.begin() + 1, twelve.rbegin(), twelve.rend());
  const struct {
    const char* what;
    std::vector<std::wstring> names;
    std::wstring justWritten;
    std::vector<std::wstring> deleted;
  } cases[] = {
      {"twelve copies among other files", folder, twelve.back(), {twelve[1], twelve[0]}},
      {"ten copies", {twelve.begin(), twelve.begin() + 10}, twelve[9], {}},
      // The clock was set back: the copy just written is the oldest by name.
      {"copy named before the others", folder, twelve[0], {twelve[2], twelve[1]}},
      {"no copies", {L"note.txt"}, L"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(CopiesToDelete(c.names, c.justWritten), c.deleted);
  }
  const std::vector<std::wstring> newest = NewestCopiesFirst(folder);
  EXPECT_EQ(newest, std::vector<std::wstring>(twelve.rbegin(), twelve.rend()));
}

TEST(AutomaticCopyNames, ALineShowsDateTimeAndWholeKilobytesGroupedTheUsersWay) {
  LumoUtility::NumberPunctuation italian{',', '.', "\3"};
  const std::locale numbers = LumoUtility::LocaleWithPunctuation(italian);
  const CopyTime time{2026, 12, 7, 20, 31, 5};
  EXPECT_EQ(AutomaticCopyLine(time, 1234 * 1024, numbers), "07/12/2026  20:31:05   1.234 KB");
  EXPECT_EQ(AutomaticCopyLine(time, 1234 * 1024 + 1, numbers), "07/12/2026  20:31:05   1.235 KB");
  EXPECT_EQ(AutomaticCopyLine({2027, 1, 2, 3, 4, 5}, 0, numbers), "02/01/2027  03:04:05   0 KB");
}

}  // namespace
