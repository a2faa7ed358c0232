// Random sequences of inserts, updates and deletes against a simple in-memory model of
// the table: after every step the engine's scan equals the model, after every commit the
// file reopened equals it too, rolled-back groups leave no trace, and the validator
// (index entries against the live rows' keys included) passes at the end.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <random>

#include "data/jet/DatabaseCreator.h"
#include "data/jet/IndexKey.h"
#include "data/jet/IndexPageWriter.h"
#include "data/jet/IndexReader.h"
#include "data/jet/JetError.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"
#include "tests/data/SampleFiles.h"
#include "tests/support/TemporaryDirectory.h"
#include "tools/ValueText.h"

namespace {

using Jet::Value;
using Model = std::map<Jet::RowPointer, std::vector<Value>>;

std::string RowText(const std::vector<Value>& values) {
  std::string text;
  for (const Value& value : values) text += FormatValue(value) + "|";
  return text;
}

Model ScanAll(const Jet::Database& database, const std::u16string& name) {
  Model rows;
  Jet::TableScan scan = database.Scan(database.ReadTable(name));
  std::vector<Value> values;
  while (scan.Next(values)) rows[scan.CurrentRow()] = values;
  return rows;
}

void ExpectEqual(const Model& actual, const Model& expected, const std::string& where) {
  ASSERT_EQ(actual.size(), expected.size()) << where;
  for (auto a = actual.begin(), e = expected.begin(); a != actual.end(); ++a, ++e) {
    ASSERT_TRUE(a->first == e->first) << where << ": row identities differ";
    ASSERT_EQ(RowText(a->second), RowText(e->second)) << where;
  }
}

class RandomValues {
 public:
  explicit RandomValues(unsigned seed) : random_(seed) {}

  int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::u16string Text(std::size_t maxLength, bool asciiOnly) {
    static const char16_t kAccented[] = u"àèéìòùÀÈÉç'\"’€ ";
    static const char kAscii[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ 0123456789'-.,/";
    std::size_t length = static_cast<std::size_t>(Below(static_cast<int>(maxLength) + 1));
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) {
      if (!asciiOnly && Below(5) == 0) {
        text += kAccented[Below(static_cast<int>(sizeof kAccented / sizeof kAccented[0]) - 1)];
      } else {
        text += static_cast<char16_t>(kAscii[Below(static_cast<int>(sizeof kAscii) - 1)]);
      }
    }
    return text;
  }

  // Sizes that stay inline, need one long-value row, or a chain of them.
  std::u16string MemoText() {
    switch (Below(4)) {
      case 0: return Text(30, false);
      case 1: return Text(600, false);
      case 2: return Text(3000, Below(2) == 0);
      default:
        return std::u16string(static_cast<std::size_t>(Below(6000)),
                              static_cast<char16_t>(u'm' + Below(3)));
    }
  }

  Value Date() {
    return Value(Jet::DateTime{static_cast<double>(Below(80000)) + Below(86400) / 86400.0});
  }

 private:
  std::mt19937 random_;
};

// dates_memo.mdb's DateTest: IDCol Long, three Date/Time, LongTextCol Memo,
// ShortTextCol Text(255); no index.
std::vector<Value> RandomDateTestRow(RandomValues& random) {
  auto maybe = [&](Value value) { return random.Below(5) == 0 ? Value() : value; };
  return {maybe(Value(static_cast<std::int32_t>(random.Below(2000000) - 1000000))),
          maybe(random.Date()),
          maybe(random.Date()),
          maybe(random.Date()),
          maybe(Value(Jet::MemoText{random.MemoText()})),
          maybe(Value(random.Text(255, false)))};
}

std::vector<Value> Normalised(const Jet::TableDefinition& table, std::vector<Value> values) {
  // What a read gives back: the Memo kind for Memo columns.
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (table.columns[i].typeCode == Jet::Format::kTypeMemo && values[i].Is<std::u16string>()) {
      values[i] = Value(Jet::MemoText{values[i].As<std::u16string>()});
    }
  }
  return values;
}

TEST(WriteModel, RandomWritesWithMemosMatchTheModelAfterEveryStepAndReopen) {
  TemporaryDirectory directory("model");
  std::filesystem::path path = directory / "model.mdb";
  std::filesystem::copy_file(SamplesDirectory() / "dates_memo.mdb", path);
  const std::u16string name = U16("DateTest");
  RandomValues random(20261207);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  Jet::TableDefinition table = database.ReadTable(name);
  Model model = ScanAll(database.Reader(), name);
  Model committed = model;
  std::size_t operations = 0;
  for (int group = 0; group < 110; ++group) {
    bool rollBack = random.Below(6) == 0;
    database.BeginWrites();
    int steps = 1 + random.Below(12);
    for (int step = 0; step < steps; ++step, ++operations) {
      int choice = random.Below(10);
      if (model.empty() || choice < 4) {
        std::vector<Value> row = RandomDateTestRow(random);
        Jet::RowPointer at = database.InsertRow(name, row);
        ASSERT_EQ(model.count(at), 0u);
        model[at] = Normalised(table, row);
      } else {
        auto it = model.begin();
        std::advance(it, random.Below(static_cast<int>(model.size())));
        if (choice < 7) {
          std::vector<Value> row = RandomDateTestRow(random);
          database.UpdateRow(name, it->first, row);
          it->second = Normalised(table, row);
        } else {
          database.DeleteRow(name, it->first);
          model.erase(it);
        }
      }
      ExpectEqual(ScanAll(database.Reader(), name), model, "step " + std::to_string(operations));
      if (HasFatalFailure()) return;
    }
    if (rollBack) {
      database.RollbackWrites();
      model = committed;
    } else {
      database.CommitWrites();
      committed = model;
    }
    ExpectEqual(ScanAll(database.Reader(), name), model, "after group " + std::to_string(group));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(operations, 500u);
  ExpectEqual(ScanAll(Jet::Database::OpenFile(path), name), model, "reopened");
  Jet::Database reopened = Jet::Database::OpenFile(path);
  Jet::ValidationReport report = Jet::ValidateDatabase(reopened.Pages());
  std::string problems;
  for (const auto& problem : report.problems) problems += problem + "\n";
  EXPECT_TRUE(report.Ok()) << problems;
}

TEST(WriteModel, RandomWritesKeepTheIndexEqualToTheSortedKeysOfLiveRows) {
  TemporaryDirectory directory("model");
  std::filesystem::path path = directory / "index.mdb";
  std::filesystem::copy_file(SamplesDirectory() / "autonumber_pk_v2000.mdb", path);
  const std::u16string name = U16("Table1");
  RandomValues random(7);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  Model model = ScanAll(database.Reader(), name);
  std::int32_t lastNumber = static_cast<std::int32_t>(database.ReadTable(name).lastAutoNumber);
  for (int operation = 0; operation < 1500; ++operation) {
    int choice = random.Below(10);
    Value text = random.Below(6) == 0 ? Value() : Value(random.Text(120, false));
    if (model.empty() || choice < 6) {
      Jet::RowPointer at = database.InsertRow(name, {Value(), text});
      model[at] = {Value(++lastNumber), text};
    } else {
      auto it = model.begin();
      std::advance(it, random.Below(static_cast<int>(model.size())));
      if (choice < 8) {
        database.UpdateRow(name, it->first, {Value(), text});
        it->second[1] = text;
      } else {
        database.DeleteRow(name, it->first);
        model.erase(it);
      }
    }
    if (operation % 50 == 0 || operation == 1499) {
      Jet::Database reopened = Jet::Database::OpenFile(path);
      ExpectEqual(ScanAll(reopened, name), model, "operation " + std::to_string(operation));
      Jet::TableDefinition table = reopened.ReadTable(name);
      std::vector<std::vector<std::uint8_t>> keys;
      for (const auto& row : model) {
        keys.push_back(
            Jet::MakeIndexEntry(Jet::EncodeIndexKey(table, table.realIndexes[0], row.second),
                                row.first.page, row.first.row));
      }
      std::sort(keys.begin(), keys.end());
      EXPECT_EQ(
          Jet::ReadIndexTree(reopened.Pages(), table.definitionPage, table.realIndexes[0]).entries,
          keys);
      EXPECT_EQ(table.lastAutoNumber, static_cast<std::uint32_t>(lastNumber));
      if (HasFailure()) return;
    }
  }
  Jet::Database reopened = Jet::Database::OpenFile(path);
  Jet::ValidationReport report = Jet::ValidateDatabase(reopened.Pages());
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
}

// A unique Text key with accents, apostrophes and case differences: duplicates (equal
// under Access's case-insensitive sort codes) are refused with nothing written, and the
// index always equals the sorted keys of the live rows.
TEST(WriteModel, RandomWritesOnAUniqueTextKeyRefuseDuplicatesAndKeepTheIndex) {
  TemporaryDirectory directory("model");
  std::filesystem::path path = directory / "text.mdb";
  Jet::CreateEmptyDatabase(path);
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
  database.CreateTable(
      {u"VEICOLO",
       {{u"TARGA", Jet::NewColumnType::kText, 12}, {u"KM", Jet::NewColumnType::kLong}},
       u"TARGA"},
      46000.0);
  const std::u16string name = u"VEICOLO";
  Jet::TableDefinition table = database.ReadTable(name);
  RandomValues random(99);
  Model model;
  auto plate = [&] {
    static const char16_t kLetters[] = u"aAbBcCèÈéÉ'-";
    std::u16string text;
    for (int i = 0, n = 1 + random.Below(3); i < n; ++i) text += kLetters[random.Below(12)];
    return text;
  };
  auto keyOf = [&](const std::vector<Value>& row) {
    return Jet::EncodeIndexKey(table, table.realIndexes[0], row);
  };
  std::size_t refused = 0;
  for (int operation = 0; operation < 600; ++operation) {
    std::vector<Value> row = {Value(plate()),
                              Value(static_cast<std::int32_t>(random.Below(100000)))};
    bool duplicate = false;
    for (const auto& entry : model) duplicate = duplicate || keyOf(entry.second) == keyOf(row);
    int choice = random.Below(10);
    if (model.empty() || choice < 5) {
      try {
        Jet::RowPointer at = database.InsertRow(name, row);
        EXPECT_FALSE(duplicate);
        model[at] = row;
      } catch (const Jet::JetError& error) {
        EXPECT_TRUE(duplicate) << error.what();
        EXPECT_EQ(error.Kind(), Jet::JetErrorKind::kDuplicateKey);
        ++refused;
      }
    } else {
      auto it = model.begin();
      std::advance(it, random.Below(static_cast<int>(model.size())));
      if (choice < 8) {
        bool clash = false;
        for (const auto& entry : model)
          clash = clash || (!(entry.first == it->first) && keyOf(entry.second) == keyOf(row));
        try {
          database.UpdateRow(name, it->first, row);
          EXPECT_FALSE(clash);
          it->second = row;
        } catch (const Jet::JetError& error) {
          EXPECT_TRUE(clash) << error.what();
          ++refused;
        }
      } else {
        database.DeleteRow(name, it->first);
        model.erase(it);
      }
    }
    ExpectEqual(ScanAll(database.Reader(), name), model, "operation " + std::to_string(operation));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(refused, 10u);
  Jet::Database reopened = Jet::Database::OpenFile(path);
  ExpectEqual(ScanAll(reopened, name), model, "reopened");
  std::vector<std::vector<std::uint8_t>> keys;
  for (const auto& row : model)
    keys.push_back(Jet::MakeIndexEntry(keyOf(row.second), row.first.page, row.first.row));
  std::sort(keys.begin(), keys.end());
  Jet::TableDefinition stored = reopened.ReadTable(name);
  EXPECT_EQ(
      Jet::ReadIndexTree(reopened.Pages(), stored.definitionPage, stored.realIndexes[0]).entries,
      keys);
  Jet::ValidationReport report = Jet::ValidateDatabase(reopened.Pages());
  EXPECT_TRUE(report.Ok()) << (report.problems.empty() ? "" : report.problems.front());
}

}  // namespace
