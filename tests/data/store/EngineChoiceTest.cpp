// Which engine serves the user's database: the built-in one, with ADO standing in only for
// what it refuses as beyond its support and only where the provider is registered. The
// stand-in ADO here records that it was asked; the files are copies of the template.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "data/EngineChoice.h"
#include "data/JetFileEngine.h"
#include "data/MaintenanceStore.h"
#include "data/jet/FormatConstants.h"
#include "data/jet/Journal.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TestFiles.h"

namespace {

using Kind = Jet::JetErrorKind;

// Answers every query with one row holding 99 and every command with 7 rows.
struct StandInAdo : DbEngine {
  explicit StandInAdo(int& opens) : opens(opens) {}
  struct Session : DbSession {
    Sql::QueryResult Query(const std::string&) override {
      Sql::QueryResult result;
      result.rows.push_back({Sql::Value::Integer(99)});
      return result;
    }
    std::int64_t Execute(const std::string&) override { return 7; }
  };
  std::unique_ptr<DbSession> Open(const std::wstring&) override {
    ++opens;
    return std::make_unique<Session>();
  }
  int& opens;
};

class EngineChoice : public ::testing::Test {
 protected:
  EngineChoice() { std::filesystem::copy_file(TemplateFile(), database_); }

  // The program's engine, with ADO registered or not; counts how often ADO is looked for.
  std::unique_ptr<DbEngine> Engine(bool registered) {
    return MakeChoosingEngine(
        MakeJetFileEngine(), [this, registered]() -> std::unique_ptr<DbEngine> {
          ++lookups_;
          return registered ? std::make_unique<StandInAdo>(adoOpens_) : nullptr;
        });
  }

  std::int32_t Count(bool registered, std::string& error) {
    MaintenanceStore store(Engine(registered), database_.wstring(), nullptr);
    std::int32_t count = store.CountInterventionTypes();
    error = store.ErrorText();
    return count;
  }

  void PatchByte(std::size_t offset, std::uint8_t value) {
    std::fstream file(database_, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(offset));
    file.put(static_cast<char>(value));
  }

  TemporaryDirectory folder_{"engine-choice"};
  std::filesystem::path database_ = folder_ / "dati.mdb";
  int lookups_ = 0;
  int adoOpens_ = 0;
};

}  // namespace

TEST(EngineChoiceRule, OnlyWhatTheBuiltInEngineDoesNotSupportGoesToAdo) {
  const Kind beyond[] = {Kind::kUnsupportedVersion, Kind::kEncrypted, Kind::kUnsupportedWrite};
  const Kind answered[] = {Kind::kFileAccess,   Kind::kNotJetDatabase, Kind::kPasswordProtected,
                           Kind::kCorrupt,      Kind::kNotFound,       Kind::kInvalidValue,
                           Kind::kDuplicateKey, Kind::kBusy,           Kind::kChangedElsewhere,
                           Kind::kReadOnly};
  for (Kind kind : beyond) {
    EXPECT_TRUE(UseAdoAfterRefusal(kind, true)) << static_cast<int>(kind);
    EXPECT_FALSE(UseAdoAfterRefusal(kind, false)) << static_cast<int>(kind);
  }
  for (Kind kind : answered) {
    EXPECT_FALSE(UseAdoAfterRefusal(kind, true)) << static_cast<int>(kind);
  }
}

TEST_F(EngineChoice, TheUserDatabaseIsServedByTheBuiltInEngineAlone) {
  std::string error;
  EXPECT_EQ(Count(true, error), 25) << error;
  EXPECT_EQ(lookups_, 0);
}

TEST_F(EngineChoice, AnUnsupportedFormatGoesToAdoWhereRegisteredElseTheUsualMessage) {
  PatchByte(Jet::Format::Header::kVersion, Jet::Format::Header::kVersionJet3);
  std::string error;
  EXPECT_EQ(Count(true, error), 99) << error;
  EXPECT_EQ(adoOpens_, 1);
  EXPECT_EQ(Count(false, error), -1);
  EXPECT_EQ(error, "Errore durante l'apertura della connessione");
}

TEST_F(EngineChoice, DamagedMissingAndBusyFilesNeverGoToAdo) {
  std::string error;
  {  // busy: another copy holds the lock past the wait
    Jet::SetLockTimeout(std::chrono::milliseconds(100));
    Jet::WriterLock held(database_);
    EXPECT_EQ(Count(true, error), -1);
    Jet::SetLockTimeout(std::chrono::milliseconds(5000));
  }
  std::filesystem::resize_file(database_, std::filesystem::file_size(database_) - 100);  // damaged
  EXPECT_EQ(Count(true, error), -1);
  std::filesystem::remove(database_);  // missing
  EXPECT_EQ(Count(true, error), -1);
  EXPECT_EQ(error, "Errore durante l'apertura della connessione");
  EXPECT_EQ(lookups_, 0);
  EXPECT_EQ(adoOpens_, 0);
}

TEST_F(EngineChoice, AStatementTheBuiltInEngineCannotWriteGoesToAdoWhereRegistered) {
  // A built-in engine whose writes meet an index it cannot maintain.
  struct CannotWrite : DbEngine {
    struct Session : DbSession {
      Sql::QueryResult Query(const std::string&) override { return {}; }
      std::int64_t Execute(const std::string&) override {
        throw JetRefusal(Jet::JetError(Kind::kUnsupportedWrite, "index"));
      }
    };
    std::unique_ptr<DbSession> Open(const std::wstring&) override {
      return std::make_unique<Session>();
    }
  };
  for (bool registered : {true, false}) {
    DbConnection connection(
        MaintenanceStore::ConnectionStringFor(database_.wstring()),
        MakeChoosingEngine(std::make_unique<CannotWrite>(), [&]() -> std::unique_ptr<DbEngine> {
          return registered ? std::make_unique<StandInAdo>(adoOpens_) : nullptr;
        }));
    ASSERT_TRUE(connection.OpenConnection());
    EXPECT_EQ(connection.ExecuteCommand("DELETE FROM VEICOLO"), registered ? 7 : -1);
    if (!registered) {
      EXPECT_EQ(connection.ErrorText(),
                "Impossibile eseguire il comando. La tabella ha un indice che il programma "
                "non sa aggiornare: la modifica non è stata eseguita.");
    }
  }
  EXPECT_EQ(adoOpens_, 1);
}
