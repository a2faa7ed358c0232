// Creating databases: an empty database equals the one Jet itself created, byte for
// byte; user tables are written the way Access writes them and take rows at once.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "data/jet/DatabaseCreator.h"
#include "data/jet/JetError.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"
#include "tests/data/SampleFiles.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

std::vector<std::uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ProblemsOf(const std::vector<std::uint8_t>& bytes) {
  Jet::MemoryPageSource source(bytes.data(), bytes.size());
  Jet::ValidationReport report = Jet::ValidateDatabase(source);
  std::string text;
  for (const auto& problem : report.problems) text += problem + "\n";
  return text;
}

TEST(CreateDatabase, EmptyDatabaseEqualsTheOneJetCreatedByteForByte) {
  TemporaryDirectory directory("create");
  std::filesystem::path path = directory / "empty.mdb";
  Jet::CreateEmptyDatabase(path);
  std::vector<std::uint8_t> ours = FileBytes(path);
  std::vector<std::uint8_t> jets = ReadSampleBytes("jet_adox_empty.mdb");
  ASSERT_EQ(ours.size(), jets.size());
  std::string differences;
  for (std::size_t i = 0; i < ours.size(); ++i) {
    if (ours[i] != jets[i] && differences.size() < 2000) {
      char line[64];
      std::snprintf(line, sizeof line, "page %zu offset 0x%03zx: %02x, Jet %02x\n", i / 4096, i % 4096, ours[i], jets[i]);
      differences += line;
    }
  }
  EXPECT_EQ(differences, "");
  EXPECT_EQ(ProblemsOf(ours), "");
}

}  // namespace
