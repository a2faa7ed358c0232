#include "data/AdoEngine.h"

#include <gtest/gtest.h>

#include "data/DbConnection.h"
#include "data/MaintenanceStore.h"

// ADO's objects exist under Wine, the Jet provider does not; on Windows the file is
// missing. Either way the connection must fail cleanly with the program's message.
TEST(AdoEngine, ConnectionThatCannotOpenFailsCleanly) {
  for (int round = 0; round < 3; ++round) {
    DbConnection db(MaintenanceStore::ConnectionStringFor(L"C:\\non\\esiste\\dati.mdb"),
                    MakeAdoEngine());
    EXPECT_FALSE(db.ErrorFlag()) << db.ErrorText();
    EXPECT_FALSE(db.OpenConnection());
    EXPECT_EQ(db.ErrorText(), "Errore durante l'apertura della connessione");
    EXPECT_FALSE(db.OpenRecordset("SELECT ID FROM VEICOLO"));
    EXPECT_EQ(db.ErrorText(), "Connessione chiusa. Impossibile aprire il recordset.");
    EXPECT_TRUE(db.AtEnd());
    db.CloseConnection();
  }
}

TEST(AdoEngine, ProviderCheckAgreesWithOpening) {
  // Where the provider is missing, an existing path cannot help the connection open.
  if (JetProviderRegistered()) GTEST_SKIP() << "the Jet provider is installed here";
  DbConnection db(MaintenanceStore::ConnectionStringFor(L"C:\\windows\\win.ini"), MakeAdoEngine());
  EXPECT_FALSE(db.OpenConnection());
}
