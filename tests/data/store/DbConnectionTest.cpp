#include "data/DbConnection.h"

#include <gtest/gtest.h>

#include "tests/data/store/MemoryEngine.h"

namespace {

const wchar_t kConnection[] =
    L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\dati\\dati.mdb;User Id=admin;Password=;";

class Connection : public ::testing::Test {
 protected:
  Connection() {
    using T = Sql::ColumnType;
    store_.AddTable({"T",
                     {{"ID", T::Long, true, 0},
                      {"NOME", T::Text, false, 50},
                      {"QUANDO", T::DateTime, false, 0},
                      {"COSTO", T::Double, false, 0},
                      {"FATTO", T::Boolean, false, 0}},
                     {0}});
  }
  DbConnection Make() { return DbConnection(kConnection, std::make_unique<MemoryEngine>(&store_)); }
  MemoryTableStore store_;
};

}  // namespace

TEST(ConnectionString, ValuesByKey) {
  EXPECT_EQ(ConnectionStringValue(kConnection, L"data source"), L"C:\\dati\\dati.mdb");
  EXPECT_EQ(ConnectionStringValue(kConnection, L"Password"), L"");
  EXPECT_EQ(ConnectionStringValue(kConnection, L"Provider"), L"Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(ConnectionStringValue(L"Data Source=C:\\\u0141ukasz\\d.mdb", L"Data Source"),
            L"C:\\\u0141ukasz\\d.mdb");
}

TEST_F(Connection, ReadsTypedFieldsAndNulls) {
  DbConnection db = Make();
  ASSERT_TRUE(db.OpenConnection());
  EXPECT_EQ(db.ExecuteCommand("INSERT INTO T (NOME, QUANDO, COSTO, FATTO) VALUES "
                              "('verr\xE0', '2021-06-30', 84.5, -1)"),
            1);
  EXPECT_EQ(db.ExecuteCommand("INSERT INTO T (NOME) VALUES (NULL)"), 1);
  ASSERT_TRUE(db.OpenRecordset("SELECT ID, NOME, QUANDO, COSTO, FATTO FROM T ORDER BY ID"));
  ASSERT_FALSE(db.AtEnd());
  EXPECT_EQ(db.FieldInt(0), 1);
  EXPECT_EQ(db.FieldText(1), "verr\xE0");
  EXPECT_EQ(db.FieldDate(2), LumoUtility::MakeDate(2021, 6, 30));
  EXPECT_EQ(db.FieldDouble(3), 84.5);
  EXPECT_TRUE(db.FieldBool(4));
  EXPECT_FALSE(db.ErrorFlag());
  ASSERT_TRUE(db.NextRecord());
  EXPECT_EQ(db.FieldText(1), "");
  EXPECT_EQ(db.FieldDate(2), LumoUtility::MakeDate(1900, 1, 1));
  EXPECT_EQ(db.FieldDouble(3), 0.0);
  EXPECT_FALSE(db.FieldBool(4));
  EXPECT_FALSE(db.ErrorFlag());
  ASSERT_TRUE(db.NextRecord());
  EXPECT_TRUE(db.AtEnd());
  EXPECT_FALSE(db.NextRecord());
  EXPECT_EQ(db.ErrorText(), "Impossibile passare al record successivo.");
  db.CloseConnection();
}

TEST_F(Connection, DatesFromOleDays) {
  DbConnection db = Make();
  ASSERT_TRUE(db.OpenConnection());
  db.ExecuteCommand("INSERT INTO T (QUANDO) VALUES (0.5)");
  db.ExecuteCommand("INSERT INTO T (QUANDO) VALUES (1.0)");
  db.ExecuteCommand("INSERT INTO T (QUANDO) VALUES (-1.75)");
  ASSERT_TRUE(db.OpenRecordset("SELECT QUANDO FROM T ORDER BY ID"));
  LumoUtility::DateTimeValue half = db.FieldDate(0);
  EXPECT_EQ(half.year, 1899);
  EXPECT_EQ(half.day, 30);
  EXPECT_EQ(half.hour, 12);
  db.NextRecord();
  EXPECT_EQ(db.FieldDate(0), LumoUtility::MakeDate(1899, 12, 31));
  db.NextRecord();
  LumoUtility::DateTimeValue before = db.FieldDate(0);  // truncated toward zero
  EXPECT_EQ(before.day, 28);
  EXPECT_EQ(before.hour, 6);
}

TEST_F(Connection, DatesNoCalendarCanHoldReadLikeNull) {
  DbConnection db = Make();
  ASSERT_TRUE(db.OpenConnection());
  db.ExecuteCommand("INSERT INTO T (QUANDO) VALUES (-200000)");  // the 14th century
  db.ExecuteCommand("INSERT INTO T (QUANDO) VALUES (3000000)");  // after 9999
  db.ExecuteCommand("INSERT INTO T (QUANDO) VALUES (-109205)");  // 1601-01-01: still a date
  ASSERT_TRUE(db.OpenRecordset("SELECT QUANDO FROM T ORDER BY ID"));
  for (int row = 0; row < 2; ++row) {
    LumoUtility::DateTimeValue date = db.FieldDate(0);
    EXPECT_TRUE(date.invalid) << row;
    EXPECT_EQ(date.year, 1900) << row;
    EXPECT_FALSE(db.ErrorFlag()) << row;
    db.NextRecord();
  }
  EXPECT_EQ(db.FieldDate(0), LumoUtility::MakeDate(1601, 1, 1));
}

TEST_F(Connection, FailuresAndTheirTexts) {
  DbConnection db = Make();
  // Nothing open yet.
  EXPECT_FALSE(db.OpenRecordset("SELECT ID FROM T"));
  EXPECT_EQ(db.ErrorText(), "Connessione chiusa. Impossibile aprire il recordset.");
  EXPECT_EQ(db.ExecuteCommand("DELETE FROM T"), -1);
  EXPECT_EQ(db.FieldInt(0), -1);
  EXPECT_EQ(db.FieldText(0), "");
  EXPECT_TRUE(db.AtEnd());
  EXPECT_EQ(db.ErrorText(), "Errore Recordset chiuso.");
  EXPECT_EQ(db.FieldDouble(0), -1.0);
  EXPECT_EQ(db.FieldDate(0), LumoUtility::MakeDate(1900, 1, 1));
  EXPECT_EQ(db.ErrorText(), "Errore Recordset chiuso.");

  ASSERT_TRUE(db.OpenConnection());
  EXPECT_FALSE(db.OpenRecordset("SELEC ID FROM T"));
  EXPECT_TRUE(db.ErrorFlag());
  EXPECT_NE(db.ErrorText().find("Istruzione SQL non valida"), std::string::npos);
  EXPECT_TRUE(db.AtEnd());  // a loop over a failed query runs zero times
  EXPECT_EQ(db.ExecuteCommand("UPDATE T SET NOME = 'x' WHERE ID = 99"), 0);
  EXPECT_FALSE(db.ErrorFlag());
  EXPECT_EQ(db.ExecuteCommand("UPDATE X SET NOME = 'x'"), -1);
  EXPECT_EQ(db.ErrorText().rfind("Impossibile eseguire il comando. Impossibile trovare", 0), 0u);

  // Reading the first row of an empty result is an error, as LoadVehicleByPlate relies on.
  ASSERT_TRUE(db.OpenRecordset("SELECT ID, NOME FROM T WHERE ID = 1"));
  EXPECT_EQ(db.FieldInt(0), -1);
  EXPECT_TRUE(db.ErrorFlag());
  EXPECT_EQ(db.ErrorText().rfind("Impossibile estrarre il valore del campo.", 0), 0u);
  EXPECT_EQ(db.FieldText(1), "");
  EXPECT_EQ(db.ErrorText(), "Impossibile estrarre il valore del campo.");
  db.CloseRecordset();
  db.CloseConnection();
  EXPECT_FALSE(db.IsConnectionOpen());
  ASSERT_TRUE(db.OpenConnection());  // the same object opens again
}

TEST(ConnectionStartup, UnreachableDatabaseAndBrokenEngine) {
  DbConnection missing(kConnection, std::make_unique<MemoryEngine>(nullptr));
  EXPECT_FALSE(missing.ErrorFlag());
  EXPECT_FALSE(missing.OpenConnection());
  EXPECT_EQ(missing.ErrorText(), "Errore durante l'apertura della connessione");

  MemoryTableStore store;
  DbConnection broken(kConnection, std::make_unique<MemoryEngine>(
                                       &store, nullptr, "impossibile creare l'oggetto Connection"));
  EXPECT_TRUE(broken.ErrorFlag());
  EXPECT_EQ(broken.ErrorText(), "impossibile creare l'oggetto Connection");
  EXPECT_FALSE(broken.OpenConnection());
  EXPECT_FALSE(broken.IsConnectionOpen());
}
