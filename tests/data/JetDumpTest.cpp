// The jetdump tool and the value texts it prints.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <sys/wait.h>

#include "tests/data/SampleFiles.h"
#include "tests/data/ShellCommand.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TestFiles.h"
#include "tools/ValueText.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  std::string out;
  std::string err;
};

ToolRun RunJetDump(const std::string& arguments) {
  TemporaryDirectory folder("jetdump");
  std::string errPath = (folder / "stderr.txt").string();
  std::string command = ShellQuote(JETDUMP_PATH) + " " + arguments + " 2>" + ShellQuote(errPath);
  ToolRun run;
  int status = 0;
  run.out = RunShellCommand(command, status);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = ReadFileBytes(errPath);
  return run;
}

std::string Sample(const char* name) { return ShellQuote((SamplesDirectory() / name).string()); }

TEST(JetDump, ListsUserTablesOneALine) {
  ToolRun run = RunJetDump(Sample("types_v2000.mdb"));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "Table1\nTable2\nTable3\nTable4\n");
  EXPECT_EQ(RunJetDump(Sample("jet_adox_empty.mdb")).out, "");
}

TEST(JetDump, PrintsATableAsCsvWithHeaderDatesCurrencyAndBooleans) {
  ToolRun run = RunJetDump(Sample("types_v2000.mdb") + " Table1");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out,
            "A,B,C,D,E,F,G,H,I\n"
            "abcdefg,hijklmnop,2,222,333333333,444.555,1974-09-21 00:00:00,3.5000,1\n"
            "a,b,0,0,0,0,1981-12-12 00:00:00,0.0000,0\n");
}

TEST(JetDump, QuotesFieldsWithLineBreaksAndPrintsNullAsAnEmptyField) {
  ToolRun run = RunJetDump(Sample("dates_memo.mdb") + " DateTest");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_NE(
      run.out.find("4,0632-01-01 00:00:00,0633-01-01 00:00:00,0634-01-01 00:00:00,Pre-1000 years"),
      std::string::npos);
  EXPECT_NE(run.out.find("6,2021-12-02 00:00:00,2021-12-02 00:00:00,2021-12-02 00:00:00,\"New "
                         "line\r\nin field\",No new line\n"),
            std::string::npos);
  ToolRun overflow = RunJetDump(Sample("overflow_rows_v2000.mdb") + " table1");
  EXPECT_NE(overflow.out.find("\n,row3col3,,,,,,row3col9,\n"), std::string::npos);
}

TEST(JetDump, UnreadableFilesAndUnknownTablesExitWithOneAndTheReason) {
  TemporaryDirectory folder("jetdump-bad");
  WriteFileBytes(folder / "notes.mdb", "just some text, not a database");
  ToolRun run = RunJetDump("'" + (folder / "notes.mdb").string() + "'");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("not an Access database"), std::string::npos) << run.err;

  ToolRun missing = RunJetDump("'" + (folder / "absent.mdb").string() + "'");
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos) << missing.err;

  ToolRun table = RunJetDump(Sample("types_v2000.mdb") + " NoSuchTable");
  EXPECT_EQ(table.exitCode, 1);
  EXPECT_NE(table.err.find("no table"), std::string::npos) << table.err;
}

std::string Fnv1a64(const std::string& bytes) {
  std::uint64_t hash = 0xcbf29ce484222325u;
  for (unsigned char c : bytes) hash = (hash ^ c) * 0x100000001b3u;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// Every export must stay byte for byte what the tool printed before it was made fast,
// damaged files included (the same message, exit code and rows printed before the error).
TEST(JetDump, ExportsStayByteIdenticalToTheRecordedOnes) {
  std::ifstream table(JETDUMP_EXPORTS);
  ASSERT_TRUE(table) << JETDUMP_EXPORTS;
  TemporaryDirectory folder("jetdump-exports");
  int checked = 0;
  for (std::string line; std::getline(table, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string file, damage, tableName, exitCode, length, hash, message;
    std::getline(fields, file, '\t');
    std::getline(fields, damage, '\t');
    std::getline(fields, tableName, '\t');
    std::getline(fields, exitCode, '\t');
    std::getline(fields, length, '\t');
    std::getline(fields, hash, '\t');
    std::getline(fields, message);
    std::string path =
        file == "filedat" ? TemplateFile().string() : (SamplesDirectory() / file).string();
    if (damage != "-") {
      std::string bytes = ReadFileBytes(path);
      std::size_t equals = damage.find('=');
      bytes.at(std::stoul(damage.substr(0, equals))) =
          static_cast<char>(std::stoi(damage.substr(equals + 1)));
      path = (folder / "damaged.mdb").string();
      WriteFileBytes(path, bytes);
    }
    ToolRun run = RunJetDump(ShellQuote(path) + " " + ShellQuote(tableName));
    std::string expectedErr = message.empty() ? "" : "jetdump: " + path + ": " + message + "\n";
    EXPECT_EQ(std::to_string(run.exitCode) + " " + std::to_string(run.out.size()) + " " +
                  Fnv1a64(run.out) + " " + run.err,
              exitCode + " " + length + " " + hash + " " + expectedErr)
        << file << " " << damage << " " << tableName;
    ++checked;
  }
  EXPECT_EQ(checked, 32);
}

TEST(ValueTexts, NumbersDatesAndUnsupportedValues) {
  using Jet::Value;
  EXPECT_EQ(FormatValue(Value()), "");
  EXPECT_EQ(FormatValue(Value(true)), "1");
  EXPECT_EQ(FormatValue(Value(std::uint8_t{255})), "255");
  EXPECT_EQ(FormatValue(Value(std::int16_t{-32768})), "-32768");
  EXPECT_EQ(FormatValue(Value(0.1)), "0.1");
  EXPECT_EQ(FormatValue(Value(1e21)), "1e+21");
  EXPECT_EQ(FormatValue(Value(1.5f)), "1.5");
  EXPECT_EQ(FormatValue(Value(Jet::Currency{-12345})), "-1.2345");
  EXPECT_EQ(FormatValue(Value(Jet::Currency{INT64_MIN})), "-922337203685477.5808");
  EXPECT_EQ(FormatValue(Value(Jet::DateTime{0.75})), "1899-12-30 18:00:00");
  EXPECT_EQ(FormatValue(Value(Jet::DateTime{1e10})), "1e+10");
  EXPECT_EQ(FormatValue(Value(Jet::Unsupported{Jet::Format::kTypeOle})), "[OLE Object]");
  EXPECT_EQ(FormatValue(Value(std::u16string(u"\u00A3\u20AC\U0001F600"))),
            "\xC2\xA3\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

}  // namespace
