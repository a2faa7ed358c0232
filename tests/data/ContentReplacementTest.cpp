// A restore replaces the whole database as one commit through the journal: each write,
// sync, truncation and removal of it is stopped in turn (and each write torn), for a
// database that grows, one that shrinks and a damaged one whose size is not a whole
// number of pages; the file reopens as the old content or the new one, byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/jet/Database.h"
#include "data/jet/FileShim.h"
#include "data/jet/FormatConstants.h"
#include "data/jet/Journal.h"
#include "tests/data/SampleFiles.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

std::string Text(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

void Replace(const std::filesystem::path& path, const std::vector<std::uint8_t>& content) {
  Jet::WriterLock lock(path);
  Jet::ReplaceContent(path, lock.File(), content);
}

// The file as the next open finds it (a journal left behind is rolled back first).
std::string Reopened(const std::filesystem::path& path) {
  Jet::Database::OpenFile(path);
  return ReadFileBytes(path);
}

struct Case {
  const char* name;
  std::string oldBytes;
  std::vector<std::uint8_t> newBytes;
  std::string oldAfterRollback;  // a damaged file comes back padded to whole pages
};

std::vector<Case> Cases() {
  std::vector<std::uint8_t> small = ReadSampleBytes("desc_index_2level_v2000.mdb");
  std::vector<std::uint8_t> large = ReadSampleBytes("index_fk_v2000.mdb");
  std::string damaged = Text(small) + std::string(100, 'x');
  std::string padded = damaged + std::string(Jet::Format::kPageSize - 100, '\0');
  return {{"growing", Text(small), large, Text(small)},
          {"shrinking", Text(large), small, Text(large)},
          {"over a damaged file", damaged, large, padded}};
}

class FaultHookReset {
 public:
  ~FaultHookReset() { Jet::SetFileFaultHook(nullptr); }
};

}  // namespace

TEST(ContentReplacement, EveryStopLeavesTheOldOrTheNewContent) {
  FaultHookReset reset;
  TemporaryDirectory directory("replace");
  std::filesystem::path path = directory / "dati.mdb";
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    WriteFileBytes(path, c.oldBytes);
    std::vector<std::string> steps;
    Jet::SetFileFaultHook([&](const std::string& step) {
      steps.push_back(step);
      return Jet::FaultAction::kProceed;
    });
    Replace(path, c.newBytes);
    Jet::SetFileFaultHook(nullptr);
    ASSERT_EQ(ReadFileBytes(path), Text(c.newBytes));
    ASSERT_GE(steps.size(), 5u);

    for (std::size_t stop = 0; stop < steps.size(); ++stop) {
      bool isWrite = steps[stop].rfind("write", 0) == 0;
      // Every step but the run of page writes in the middle, of which a sample is enough.
      if (isWrite && stop > 6 && stop + 6 < steps.size() && stop % 9 != 0) continue;
      SCOPED_TRACE("stopped before " + steps[stop]);
      for (Jet::FaultAction action : {Jet::FaultAction::kStop, Jet::FaultAction::kTear}) {
        if (action == Jet::FaultAction::kTear && !isWrite) continue;
        WriteFileBytes(path, c.oldBytes);
        std::size_t seen = 0;
        Jet::SetFileFaultHook([&](const std::string&) {
          ++seen;
          if (seen == stop + 1) return action;
          return seen > stop + 1 ? Jet::FaultAction::kStop : Jet::FaultAction::kProceed;
        });
        EXPECT_THROW(Replace(path, c.newBytes), Jet::JetError);
        Jet::SetFileFaultHook(nullptr);
        std::string reopened = Reopened(path);
        // Before the journal's removal nothing is committed; a stop in the padding of a
        // damaged file leaves it as it was or padded.
        EXPECT_TRUE(reopened == c.oldAfterRollback || reopened == c.oldBytes) << reopened.size();
        EXPECT_FALSE(std::filesystem::exists(Jet::JournalPath(path)));
      }
    }
  }
}

TEST(ContentReplacement, ContentThatIsNotWholePagesIsRefusedUntouched) {
  TemporaryDirectory directory("replace-refused");
  std::filesystem::path path = directory / "dati.mdb";
  std::vector<std::uint8_t> old = ReadSampleBytes("desc_index_2level_v2000.mdb");
  WriteFileBytes(path, Text(old));
  std::vector<std::uint8_t> cut = ReadSampleBytes("index_fk_v2000.mdb");
  cut.resize(cut.size() - 10);
  EXPECT_THROW(Replace(path, cut), Jet::JetError);
  EXPECT_EQ(ReadFileBytes(path), Text(old));
}
