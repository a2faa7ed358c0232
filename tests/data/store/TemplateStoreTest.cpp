// The data store on a copy of the shipped template, through the built-in engine: every
// statement the program sends, on a real Access file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "data/JetFileEngine.h"
#include "data/JetTableStore.h"
#include "data/MaintenanceStore.h"
#include "data/TableStoreSession.h"
#include "data/jet/Catalog.h"
#include "data/jet/Database.h"
#include "data/jet/FormatConstants.h"
#include "data/jet/Journal.h"
#include "data/jet/PageStore.h"
#include "data/jet/Validator.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/TestFiles.h"

using LumoUtility::MakeDate;

namespace {

class TemplateStore : public ::testing::Test {
 protected:
  TemplateStore() { std::filesystem::copy_file(TemplateFile(), database_); }

  MaintenanceStore Make() {
    return MaintenanceStore(MakeJetFileEngine(), database_.wstring(),
                            [this](const std::string& text, const std::string& caption) {
                              boxes_.push_back(caption + ": " + text);
                            });
  }

  void ExpectValidFile() {
    Jet::PageStore pages = Jet::PageStore::Load(database_);
    Jet::ValidationReport report = Jet::ValidateDatabase(pages);
    for (const std::string& problem : report.problems) ADD_FAILURE() << problem;
  }

  VehicleIntervention Done(std::int32_t kind, std::int32_t km, LumoUtility::DateTimeValue date,
                           double cost) {
    VehicleIntervention done;
    done.ID_INTERVENTO = kind;
    done.KM = km;
    done.DATA = date;
    done.COSTO = cost;
    done.NOTE = "Fatto dal meccanico, l'anno scorso: verrà rifatto";
    return done;
  }

  TemporaryDirectory folder_{"store"};
  std::filesystem::path database_ = folder_ / "dati.mdb";
  std::vector<std::string> boxes_;
};

}  // namespace

TEST_F(TemplateStore, CatalogueOfTheTemplateAndItsUpgrade) {
  EXPECT_EQ(Make().CountInterventionTypes(), 25);
  std::vector<InterventionType> catalogue = Make().ListInterventionTypes();
  ASSERT_EQ(catalogue.size(), 25u);
  for (std::size_t i = 0; i < catalogue.size(); ++i) {
    EXPECT_EQ(catalogue[i].ID, static_cast<std::int32_t>(i + 1));
    EXPECT_FALSE(catalogue[i].INTERVENTO.empty());
    EXPECT_GT(catalogue[i].CADENZAKM, 0);
    EXPECT_NE(catalogue[i].INTERVENTO, "Candela");
  }
  ASSERT_TRUE(Make().SeedInterventionTypes());
  catalogue = Make().ListInterventionTypes();
  ASSERT_EQ(catalogue.size(), 26u);
  EXPECT_EQ(catalogue[25].ID, 26);
  EXPECT_EQ(catalogue[25].INTERVENTO, "Candela");
  EXPECT_EQ(catalogue[25].CADENZAKM, 6000);
  EXPECT_FALSE(catalogue[25].FINERODAGGIO);
  EXPECT_EQ(Make().CountInterventionTypes(), 26);
  ExpectValidFile();
}

TEST_F(TemplateStore, MonthsPerCatalogueEntry) {
  using Months = std::map<std::int32_t, std::int32_t>;
  Months months = Make().LoadInterventionMonths();
  EXPECT_EQ(months.size(), 13u);
  EXPECT_EQ(months[10], 24);       // brake fluid
  EXPECT_EQ(months.count(3), 0u);  // air filter: by distance only
  ASSERT_TRUE(Make().EnsureMonthsTable());
  {  // rows the program never writes: an entry that is gone, months out of range, Null
    JetTableStore tables(database_);
    TableStoreSession session(tables);
    for (const char* row : {"999, 12", "3, 0", "5, 241", "6, -4"}) {
      session.Execute(std::string("INSERT INTO INTERVENTI_MESI VALUES (") + row + ")");
    }
    session.Execute("UPDATE INTERVENTI_MESI SET MESI = NULL WHERE ID_INTERVENTO = 19");
  }
  struct Save {
    std::int32_t id, months;
    bool saved;
  };
  const Save saves[] = {
      {1, 6, true},     // update
      {10, 0, true},    // removal
      {20, 0, true},    // removal of nothing
      {3, 240, true},   // update of an out-of-range row
      {7, 1, true},     // insert
      {8, 241, false},  // refused
      {9, -1, false},   // refused
  };
  for (const Save& save : saves) {
    MaintenanceStore store = Make();
    EXPECT_EQ(store.SaveInterventionMonths(save.id, save.months), save.saved) << save.id;
    EXPECT_FALSE(store.ErrorFlag()) << store.ErrorText();
  }
  months = Make().LoadInterventionMonths();
  EXPECT_EQ(months, (Months{{1, 6},
                            {2, 12},
                            {3, 240},
                            {4, 12},
                            {7, 1},
                            {11, 60},
                            {12, 60},
                            {14, 48},
                            {15, 72},
                            {16, 72},
                            {18, 48},
                            {23, 24},
                            {25, 12}}));

  // Deleting an entry takes its months along; a new entry never inherits them.
  InterventionType belt;
  belt.ID = 11;
  belt.MESI = 60;
  ASSERT_TRUE(Make().DeleteInterventionType(belt));
  {
    JetTableStore tables(database_);
    Sql::QueryResult left = TableStoreSession(tables).Query(
        "SELECT COUNT(*) FROM INTERVENTI_MESI WHERE ID_INTERVENTO = 11");
    EXPECT_EQ(left.rows[0][0].integer, 0);
  }
  EXPECT_EQ(Make().LoadInterventionMonths().count(11), 0u);
  EXPECT_TRUE(boxes_.empty());
  ExpectValidFile();
}

// A damaged months table reads as no months; saving months says why it cannot.
TEST_F(TemplateStore, DamagedMonthsTable) {
  std::uint32_t page = 0;
  for (const Jet::CatalogTable& table : Jet::Database::OpenFile(database_).UserTables()) {
    if (table.name == u"INTERVENTI_MESI") page = table.definitionPage;
  }
  ASSERT_NE(page, 0u);
  {
    std::fstream file(database_, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(page * Jet::Format::kPageSize));
    file.put('\x7F');  // no longer a table definition page
  }
  MaintenanceStore reader = Make();
  EXPECT_TRUE(reader.LoadInterventionMonths().empty());
  EXPECT_EQ(Make().ListInterventionTypes().size(), 25u);
  EXPECT_FALSE(Make().EnsureMonthsTable());
  MaintenanceStore saver = Make();
  EXPECT_FALSE(saver.SaveInterventionMonths(1, 12));
  EXPECT_TRUE(saver.ErrorFlag());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(TemplateStore, VehiclesWithApostrophesDatesAndAccents) {
  VehicleRecord car;
  car.TARGA = "O'BRIEN";
  car.DESCRIZIONE = "Utilitaria \xE8 blu";  // "è" in the program's code page
  car.KM = 1500;
  ASSERT_TRUE(Make().SaveVehicle(car)) << Make().ErrorText();
  EXPECT_EQ(car.ID, 1);
  VehicleRecord second;
  second.TARGA = "ab123cd";
  second.KM = 42;
  second.DATA_KM = MakeDate(2020, 3, 5);
  second.HasDate = true;
  ASSERT_TRUE(Make().SaveVehicle(second));
  EXPECT_EQ(second.ID, 2);

  VehicleRecord loaded = Make().LoadVehicleByPlate("O'BRIEN");
  EXPECT_EQ(loaded.ID, 1);
  EXPECT_EQ(loaded.DESCRIZIONE, "Utilitaria \xE8 blu");
  EXPECT_FALSE(loaded.HasDate);
  car.KM = 2500;
  car.DATA_KM = MakeDate(2021, 12, 31);
  car.HasDate = true;
  ASSERT_TRUE(Make().SaveVehicle(car));
  loaded = Make().LoadVehicleByPlate("o'brien");
  EXPECT_EQ(loaded.KM, 2500);
  EXPECT_EQ(loaded.DATA_KM, MakeDate(2021, 12, 31));

  std::vector<std::string> plates;
  ASSERT_TRUE(Make().ListPlates(plates));
  EXPECT_THAT(plates, testing::ElementsAre("ab123cd", "O'BRIEN"));
  EXPECT_TRUE(boxes_.empty());
  ExpectValidFile();
}

TEST_F(TemplateStore, ScheduleAndHistory) {
  ASSERT_TRUE(Make().SeedInterventionTypes());
  VehicleRecord car;
  car.TARGA = "AB123CD";
  ASSERT_TRUE(Make().SaveVehicle(car));
  ASSERT_TRUE(Make().SaveVehicleIntervention(car.ID, Done(1, 16000, MakeDate(2022, 5, 1), 84.5)));
  ASSERT_TRUE(Make().SaveVehicleIntervention(car.ID, Done(1, 15000, MakeDate(2021, 5, 1), 90)));
  ASSERT_TRUE(Make().SaveVehicleIntervention(99, Done(2, 1000, MakeDate(2020, 1, 1), 5)));

  std::vector<ScheduleRow> rows = Make().LoadSchedule(car.ID);
  ASSERT_EQ(rows.size(), 26u);
  for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].ID_INTERVENTO, i + 1);
  EXPECT_EQ(rows[0].ID, 2);  // inserted last, though its date is earlier
  EXPECT_EQ(rows[0].KM, 15000);
  EXPECT_EQ(rows[0].COSTO, 90.0);
  EXPECT_EQ(rows[0].NOTE, "Fatto dal meccanico, l'anno scorso: verrà rifatto");
  EXPECT_EQ(rows[1].ID, 0);  // only another vehicle had it
  EXPECT_EQ(rows[1].DATA, MakeDate(1900, 1, 1));
  EXPECT_EQ(rows[25].INTERVENTO, "Candela");

  ScheduleRow fix = rows[0];
  fix.KM = 15500;
  EXPECT_FALSE(Make().SaveVehicleIntervention(99, fix));  // another vehicle's row
  ASSERT_TRUE(Make().SaveVehicleIntervention(car.ID, fix));
  EXPECT_EQ(Make().LoadSchedule(car.ID)[0].KM, 15500);

  MaintenanceStore deleter = Make();
  InterventionType oil;
  oil.ID = 1;
  EXPECT_FALSE(deleter.DeleteInterventionType(oil));
  EXPECT_FALSE(deleter.ErrorFlag());  // refused because it is in use
  InterventionType unused;
  unused.ID = 3;
  ASSERT_TRUE(Make().DeleteInterventionType(unused));
  EXPECT_EQ(Make().CountInterventionTypes(), 25);
  ExpectValidFile();
}

TEST_F(TemplateStore, RefusedWritesChangeNothing) {
  VehicleRecord car;
  car.TARGA = "AA000AA";
  ASSERT_TRUE(Make().SaveVehicle(car));
  car.TARGA = "BB111BB";
  ASSERT_TRUE(Make().SaveVehicle(car));
  std::string before = ReadFileBytes(database_);

  DbConnection db(MaintenanceStore::ConnectionStringFor(database_.wstring()), MakeJetFileEngine());
  ASSERT_TRUE(db.OpenConnection());
  // The second row would take the first one's primary key: neither row changes.
  EXPECT_EQ(db.ExecuteCommand("UPDATE VEICOLO SET ID = 7"), -1);
  EXPECT_NE(db.ErrorText().find("duplicati"), std::string::npos) << db.ErrorText();
  EXPECT_EQ(db.ExecuteCommand("UPDATE VEICOLO SET TARGA = '" + std::string(200, 'X') + "'"), -1);
  EXPECT_EQ(db.ExecuteCommand("INSERT INTO VEICOLO (TARGA, KM) VALUES ('CC', 'molti')"), -1);
  db.CloseConnection();
  EXPECT_EQ(ReadFileBytes(database_), before);
}

TEST_F(TemplateStore, FilesThatAreNotDatabases) {
  WriteFileBytes(database_, std::string(8192, 'x'));
  MaintenanceStore store = Make();
  EXPECT_EQ(store.CountInterventionTypes(), -1);
  EXPECT_EQ(store.ErrorText(), "Errore durante l'apertura della connessione");
  std::filesystem::remove(database_);
  EXPECT_TRUE(Make().ListInterventionTypes().empty());
}

TEST_F(TemplateStore, RowsComeInKeyOrderAfterSpaceIsReused) {
  InterventionType unused;
  unused.ID = 3;
  ASSERT_TRUE(Make().DeleteInterventionType(unused));
  InterventionType named;
  named.INTERVENTO = "Revisione dell'auto";
  named.CADENZAKM = 20000;
  named.NOTE = "Ogni due anni, l'ultima a marzo";
  ASSERT_TRUE(Make().SaveInterventionType(named));
  ASSERT_TRUE(Make().SeedInterventionTypes());
  std::vector<InterventionType> catalogue = Make().ListInterventionTypes();
  ASSERT_EQ(catalogue.size(), 26u);
  for (std::size_t i = 1; i < catalogue.size(); ++i)
    EXPECT_LT(catalogue[i - 1].ID, catalogue[i].ID);
  EXPECT_EQ(catalogue[24].INTERVENTO, "Revisione dell'auto");
  EXPECT_EQ(catalogue[24].NOTE, "Ogni due anni, l'ultima a marzo");
  EXPECT_EQ(catalogue.back().INTERVENTO, "Candela");  // the editor selects the last row
}

TEST_F(TemplateStore, CostsAndOldDatesOnTheFile) {
  VehicleRecord car;
  car.TARGA = "OLD";
  car.DATA_KM = MakeDate(1900, 6, 1);
  car.HasDate = true;
  ASSERT_TRUE(Make().SaveVehicle(car));
  EXPECT_FALSE(Make().LoadVehicleByPlate("OLD").HasDate);
  ASSERT_TRUE(
      Make().SaveVehicleIntervention(car.ID, Done(1, 100, MakeDate(2020, 1, 2), 1234567.0)));
  ASSERT_TRUE(
      Make().SaveVehicleIntervention(car.ID, Done(2, 100, MakeDate(2020, 1, 2), 12.3456789)));
  std::vector<ScheduleRow> rows = Make().LoadSchedule(car.ID);
  EXPECT_EQ(rows[0].COSTO, 1234567.0);  // every digit of the amount, through SQL and the file
  EXPECT_EQ(rows[1].COSTO, 12.3456789);
}

namespace {

// Two running copies of the program on one database, through the built-in engine: each
// statement runs on the file as it is then, so the second copy's insert after the first
// one's commit goes through and both rows stay; a copy that cannot get the lock says so
// in Italian.
TEST_F(TemplateStore, TwoCopiesOnOneDatabase) {
  DbConnection first(MaintenanceStore::ConnectionStringFor(database_.wstring()),
                     MakeJetFileEngine());
  DbConnection second(MaintenanceStore::ConnectionStringFor(database_.wstring()),
                      MakeJetFileEngine());
  ASSERT_TRUE(first.OpenConnection());
  ASSERT_TRUE(second.OpenConnection());
  EXPECT_EQ(first.ExecuteCommand("INSERT INTO VEICOLO (TARGA, KM) VALUES ('PRIMA', 1)"), 1)
      << first.ErrorText();
  EXPECT_EQ(second.ExecuteCommand("INSERT INTO VEICOLO (TARGA, KM) VALUES ('SECONDA', 2)"), 1)
      << second.ErrorText();
  ASSERT_TRUE(first.OpenRecordset("SELECT TARGA FROM VEICOLO WHERE TARGA = 'SECONDA'"));
  EXPECT_FALSE(first.AtEnd()) << "the first copy does not see the second one's commit";

  Jet::SetLockTimeout(std::chrono::milliseconds(100));
  {
    Jet::WriterLock held(database_);
    EXPECT_EQ(first.ExecuteCommand("DELETE FROM VEICOLO"), -1);
    EXPECT_NE(first.ErrorText().find("occupato da un'altra copia del programma"), std::string::npos)
        << first.ErrorText();
  }
  Jet::SetLockTimeout(std::chrono::milliseconds(5000));
  first.CloseConnection();
  second.CloseConnection();

  DbConnection check(MaintenanceStore::ConnectionStringFor(database_.wstring()),
                     MakeJetFileEngine());
  ASSERT_TRUE(check.OpenConnection());
  ASSERT_TRUE(check.OpenRecordset(
      "SELECT COUNT(*) FROM VEICOLO WHERE TARGA = 'PRIMA' OR TARGA = 'SECONDA'"));
  EXPECT_EQ(check.FieldInt(0), 2);
  check.CloseConnection();
  ExpectValidFile();
}

}  // namespace
