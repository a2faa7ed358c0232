#include "app/AutomaticCopyNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "toolkit/base/NumberPunctuation.h"

TEST(AutomaticCopyNames, OnlyExactNamesOfARealTimeAreCopies) {
  const std::vector<std::wstring> copies = {L"dati-20261207-203105.mdb",
                                            L"dati-20240229-000000.mdb"};
  const std::vector<std::wstring> others = {
      L"dati-20230229-120000.mdb",     L"dati-20261307-203105.mdb",
      L"dati-20261207-246105.mdb",     L"dati-20261207-2031.mdb",
      L"dati-2026120a-203105.mdb",     L"dati-20261207_203105.mdb",
      L"Dati-20261207-203105.mdb",     L"dati-20261207-203105.MDB",
      L"dati-20261207-203105.mdb.tmp", L"dati.mdb",
      L"dati-20261207-203105 (2).mdb"};
  for (const std::wstring& name : copies) {
    ASSERT_TRUE(AutomaticCopyTime(name)) << name;
    EXPECT_EQ(AutomaticCopyName(*AutomaticCopyTime(name)), name);
  }
  for (const std::wstring& name : others) EXPECT_FALSE(AutomaticCopyTime(name)) << name;
}

TEST(AutomaticCopyNames, TheOldestCopiesGoAndNothingElse) {
  std::vector<std::wstring> folder = {L"note.txt", L"dati-20261207-2031.mdb"};
  for (int second = 21; second >= 10; --second) {
    folder.push_back(AutomaticCopyName({2026, 12, 7, 20, 31, second}));
  }
  const std::wstring oldest = folder.back();
  const struct {
    std::wstring justWritten;
    std::vector<std::wstring> deleted;
  } cases[] = {
      {folder[2], {folder[12], folder[13]}},
      // The clock was set back: the copy just written has the oldest name, and stays.
      {oldest, {folder[11], folder[12]}},
  };
  for (const auto& c : cases) EXPECT_EQ(CopiesToDelete(folder, c.justWritten), c.deleted);
  EXPECT_TRUE(CopiesToDelete({folder.begin(), folder.begin() + 12}, folder[2]).empty());
  EXPECT_EQ(NewestCopiesFirst({oldest, L"note.txt", folder[2]}),
            (std::vector<std::wstring>{folder[2], oldest}));
}

TEST(AutomaticCopyNames, ALineShowsDateTimeAndWholeKilobytesGroupedTheUsersWay) {
  const std::locale italian = LumoUtility::LocaleWithPunctuation({',', '.', "\3"});
  const CopyTime time{2026, 12, 7, 20, 31, 5};
  EXPECT_EQ(AutomaticCopyLine(time, 1234 * 1024, italian), "07/12/2026  20:31:05   1.234 KB");
  EXPECT_EQ(AutomaticCopyLine(time, 1234 * 1024 + 1, italian), "07/12/2026  20:31:05   1.235 KB");
}
