#include "data/MaintenanceStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/data/store/MemoryEngine.h"
#include "tests/support/InterventionRecords.h"
#include "toolkit/base/NumberText.h"

using LumoUtility::MakeDate;
using testing::ElementsAre;

namespace {

class Store : public ::testing::Test {
 protected:
  Store() { AddProgramTables(tables_); }

  // A store for one piece of work, as the screens make them.
  MaintenanceStore Make() {
    return MaintenanceStore(std::make_unique<MemoryEngine>(&tables_, &sql_), L"C:\\dati\\dati.mdb",
                            [this](const std::string& text, const std::string& caption) {
                              boxes_.push_back(caption + ": " + text);
                            });
  }

  InterventionType Entry(const std::string& name, int cadence, bool runningIn) {
    InterventionType entry;
    entry.INTERVENTO = name;
    entry.CADENZAKM = cadence;
    entry.NOTE = "nota";
    entry.FINERODAGGIO = runningIn;
    return entry;
  }

  MemoryTableStore tables_;
  std::vector<std::string> sql_;
  std::vector<std::string> boxes_;
};

}  // namespace

TEST_F(Store, SavesAndLoadsVehiclesByPlate) {
  VehicleRecord car;
  car.TARGA = "O'BRIEN";
  car.DESCRIZIONE = "Auto";
  car.KM = 1500;
  ASSERT_TRUE(Make().SaveVehicle(car));
  EXPECT_EQ(sql_[1],
            "INSERT INTO VEICOLO (TARGA, DESCRIZIONE, KM, DATA_KM) VALUES "
            "('O''BRIEN','Auto',1500,NULL)");
  EXPECT_EQ(car.ID, 1);

  VehicleRecord loaded = Make().LoadVehicleByPlate("O'BRIEN");
  EXPECT_EQ(sql_.back(), "SELECT ID, DESCRIZIONE, KM, DATA_KM FROM VEICOLO WHERE TARGA='O''BRIEN'");
  EXPECT_EQ(loaded.ID, 1);
  EXPECT_EQ(loaded.DESCRIZIONE, "Auto");
  EXPECT_EQ(loaded.KM, 1500);
  EXPECT_FALSE(loaded.HasDate);
  EXPECT_EQ(loaded.DATA_KM, MakeDate(1900, 1, 1));

  car.ID = 99;  // an update finds the vehicle by plate, whatever the ID says
  car.DESCRIZIONE = "Auto d'epoca";
  car.KM = 2500;
  car.DATA_KM = MakeDate(2020, 3, 5);
  car.HasDate = true;
  ASSERT_TRUE(Make().SaveVehicle(car));
  EXPECT_EQ(sql_[sql_.size() - 2],
            "UPDATE VEICOLO SET DESCRIZIONE= 'Auto d''epoca', KM =2500, "
            "DATA_KM= '2020-03-05' WHERE TARGA= 'O''BRIEN'");
  EXPECT_EQ(car.ID, 1);
  loaded = Make().LoadVehicleByPlate("O'BRIEN");
  EXPECT_TRUE(loaded.HasDate);
  EXPECT_EQ(loaded.DATA_KM, MakeDate(2020, 3, 5));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(Store, OldDatesCountAsNoDate) {
  VehicleRecord car;
  car.TARGA = "AB123CD";
  car.DATA_KM = MakeDate(1900, 12, 31);
  car.HasDate = true;
  ASSERT_TRUE(Make().SaveVehicle(car));
  EXPECT_FALSE(Make().LoadVehicleByPlate("AB123CD").HasDate);
}

TEST_F(Store, UnknownPlates) {
  MaintenanceStore store = Make();
  VehicleRecord missing = store.LoadVehicleByPlate("NESSUNA");
  EXPECT_EQ(missing.ID, -1);
  EXPECT_EQ(missing.KM, -1);
  EXPECT_EQ(missing.TARGA, "NESSUNA");
  EXPECT_TRUE(store.ErrorFlag());
  EXPECT_EQ(Make().FindVehicleIdByPlate("NESSUNA"), -1);
  std::vector<std::string> plates;
  MaintenanceStore lister = Make();
  EXPECT_TRUE(lister.ListPlates(plates));
  EXPECT_TRUE(plates.empty());
  EXPECT_FALSE(lister.ErrorFlag());
}

TEST_F(Store, ListsPlatesInTextOrder) {
  for (const char* plate : {"zz999zz", "AB123CD", "ab100cd"}) {
    VehicleRecord car;
    car.TARGA = plate;
    ASSERT_TRUE(Make().SaveVehicle(car));
  }
  std::vector<std::string> plates;
  ASSERT_TRUE(Make().ListPlates(plates));
  EXPECT_THAT(plates, ElementsAre("ab100cd", "AB123CD", "zz999zz"));
}

TEST_F(Store, CatalogueSeedSaveAndDeleteGuard) {
  MaintenanceStore store = Make();
  EXPECT_EQ(store.CountInterventionTypes(), 0);
  EXPECT_TRUE(store.ListInterventionTypes().empty());
  ASSERT_TRUE(Make().SeedInterventionTypes());
  auto list = Make().ListInterventionTypes();
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].INTERVENTO, "Candela");
  EXPECT_EQ(list[0].CADENZAKM, 6000);
  EXPECT_FALSE(list[0].FINERODAGGIO);
  EXPECT_EQ(list[0].NOTE,
            "Controllare e pulire, regolare, lubrificare o sostituire (ogni 12.000 km) se "
            "necessario");

  ASSERT_TRUE(Make().SaveInterventionType(Entry("Olio l'motore", 10000, true)));
  EXPECT_EQ(sql_.back(),
            "Insert into INTERVENTI (INTERVENTO, CADENZAKM, [NOTE], FINERODAGGIO) "
            "values ('Olio l''motore', 10000, 'nota', -1 ) ");
  ASSERT_TRUE(Make().SaveInterventionType(Entry("Olio l'motore", 10000, true)));  // names repeat
  InterventionType changed = Entry("Filtro", 15000, false);
  changed.ID = 2;
  ASSERT_TRUE(Make().SaveInterventionType(changed));
  EXPECT_EQ(sql_.back(),
            "UPDATE INTERVENTI SET INTERVENTO= 'Filtro', CADENZAKM= 15000, [NOTE]= "
            "'nota', FINERODAGGIO= 0 WHERE ID= 2");
  list = Make().ListInterventionTypes();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1].INTERVENTO, "Filtro");
  EXPECT_TRUE(list[2].FINERODAGGIO);
  EXPECT_EQ(Make().CountInterventionTypes(), 3);

  VehicleIntervention done;
  done.ID_INTERVENTO = 3;
  done.KM = 950;
  done.DATA = MakeDate(2021, 6, 30);
  ASSERT_TRUE(Make().SaveVehicleIntervention(7, done));
  MaintenanceStore deleter = Make();
  EXPECT_FALSE(deleter.DeleteInterventionType(list[2]));
  EXPECT_FALSE(deleter.ErrorFlag());  // refused because it is in use
  EXPECT_EQ(deleter.ErrorText(), "");
  ASSERT_TRUE(Make().DeleteInterventionType(list[1]));
  EXPECT_EQ(sql_.back(), "DELETE * FROM INTERVENTI WHERE ID= 2");
  EXPECT_EQ(Make().CountInterventionTypes(), 2);
  InterventionType gone;
  gone.ID = 2;
  EXPECT_FALSE(Make().DeleteInterventionType(gone));  // no such row: nothing deleted
}

TEST_F(Store, RecordsInterventionsAndBuildsTheSchedule) {
  ASSERT_TRUE(Make().SaveInterventionType(Entry("Olio motore", 10000, false)));
  ASSERT_TRUE(Make().SaveInterventionType(Entry("Candela", 6000, true)));
  VehicleIntervention oil;
  oil.ID_INTERVENTO = 1;
  oil.KM = 950;
  oil.DATA = MakeDate(2021, 6, 30);
  oil.COSTO = 84.5;
  oil.NOTE = "Tagliando dell'anno";
  ASSERT_TRUE(Make().SaveVehicleIntervention(7, oil));
  EXPECT_EQ(sql_.back(),
            "Insert into  INTERVENTI_VEICOLO (ID_VEICOLO, ID_INTERVENTO, KM, DATA, "
            "COSTO, [NOTE]) values (7, 1, 950, '2021-06-30', 84.5, 'Tagliando "
            "dell''anno') ");
  oil.COSTO = 1234567.0;  // more than six significant digits: every one is kept
  ASSERT_TRUE(Make().SaveVehicleIntervention(8, oil));

  std::vector<ScheduleRow> rows = Make().LoadSchedule(7);
  const std::string& schedule = sql_.back();
  EXPECT_EQ(schedule.rfind("SELECT V.ID, a.INTERVENTO, V.DATA, V.KM, V.COSTO, a.CADENZAKM, "
                           "V.[NOTE], a.ID as ID_INTERVENTO, a.NOTE as NOTE_INTERV, "
                           "a.FINERODAGGIO FROM INTERVENTI as a LEFT JOIN",
                           0),
            0u);
  EXPECT_NE(schedule.find("(V.ID_VEICOLO=7 Or (V.ID_VEICOLO) Is Null)) UNION SELECT NULL, "
                          "a.INTERVENTO,NULL, NULL, NULL, a.CADENZAKM, NULL, a.ID as "
                          "ID_INTERVENTO, a.NOTE as NOTE_INTERV, a.FINERODAGGIO FROM INTERVENTI "
                          "a  WHERE NOT ID IN ( SELECT a.ID FROM INTERVENTI as a LEFT JOIN"),
            std::string::npos);
  EXPECT_EQ(schedule.substr(schedule.size() - 51),
            "(V.ID_VEICOLO) Is Null)) )  ORDER BY ID_INTERVENTO ");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].ID, 1);
  EXPECT_EQ(rows[0].INTERVENTO, "Olio motore");
  EXPECT_EQ(rows[0].DATA, MakeDate(2021, 6, 30));
  EXPECT_EQ(rows[0].KM, 950);
  EXPECT_EQ(rows[0].COSTO, 84.5);
  EXPECT_EQ(rows[0].CADENZAKM, 10000);
  EXPECT_EQ(rows[0].NOTE, "Tagliando dell'anno");
  EXPECT_EQ(rows[0].ID_INTERVENTO, 1);
  EXPECT_EQ(rows[0].NOTE_INTERV, "nota");
  EXPECT_EQ(rows[1].ID, 0);
  EXPECT_EQ(rows[1].KM, 0);
  EXPECT_EQ(rows[1].COSTO, 0.0);
  EXPECT_EQ(rows[1].DATA, MakeDate(1900, 1, 1));
  EXPECT_TRUE(rows[1].FINERODAGGIO);
  EXPECT_EQ(Make().LoadSchedule(8)[0].COSTO, 1234567.0);

  VehicleIntervention fix = rows[0];
  fix.KM = 960;
  EXPECT_FALSE(Make().SaveVehicleIntervention(8, fix));  // another vehicle's row
  ASSERT_TRUE(Make().SaveVehicleIntervention(7, fix));
  EXPECT_EQ(sql_.back(),
            "UPDATE INTERVENTI_VEICOLO SET ID_INTERVENTO= 1, KM= 960, DATA= "
            "'2021-06-30', COSTO= 84.5, [NOTE]= 'Tagliando dell''anno' WHERE ID= 1 "
            "AND ID_VEICOLO= 7");
  EXPECT_EQ(Make().LoadSchedule(7)[0].KM, 960);
}

// Costs of six significant digits or fewer keep the text they always had; larger ones are
// written with every digit typed, never cut to six.
TEST_F(Store, CostsAreSplicedWithEveryTypedDigit) {
  ASSERT_TRUE(Make().SaveInterventionType(Entry("Olio motore", 10000, false)));
  const struct {
    double cost;
    std::string sql;
  } cases[] = {
      {84.5, "84.5"},
      {1234.57, "1234.57"},
      {0.1, "0.1"},
      {0.0, "0"},
      {1e6, LumoUtility::DoubleToText(1e6)},
      {12345.67, "12345.67"},
      {1234567.0, "1234567"},
      {999999999.0, "999999999"},
      {1234567.89, "1234567.89"},
  };
  VehicleIntervention done;
  done.ID_INTERVENTO = 1;
  done.KM = 950;
  done.DATA = MakeDate(2021, 6, 30);
  for (const auto& c : cases) {
    done.COSTO = c.cost;
    ASSERT_TRUE(Make().SaveVehicleIntervention(7, done));
    EXPECT_EQ(sql_.back(),
              "Insert into  INTERVENTI_VEICOLO (ID_VEICOLO, ID_INTERVENTO, KM, DATA, "
              "COSTO, [NOTE]) values (7, 1, 950, '2021-06-30', " +
                  c.sql + ", '') ");
    EXPECT_EQ(Make().LoadSchedule(7).at(0).COSTO, c.cost) << c.sql;
  }
}

// The whole history of one vehicle, newest first, and deletions that touch only its rows.
TEST_F(Store, VehicleHistoryListsAndDeletesOnlyThatVehiclesRows) {
  ASSERT_TRUE(Make().SaveInterventionType(Entry("Olio motore", 10000, false)));
  ASSERT_TRUE(Make().SaveInterventionType(Entry("Candela", 6000, true)));
  const std::pair<std::int32_t, VehicleIntervention> rows[] = {
      {7, Done(1, 1000, MakeDate(2021, 6, 30), 10.5, "prima")},          // ID 1
      {7, Done(2, 1000, MakeDate(2023, 1, 15), 10.5, "l'ultima")},       // ID 2
      {8, Done(1, 1000, MakeDate(2024, 2, 2), 10.5, "altro")},           // ID 3: another vehicle
      {7, Done(9, 1000, MakeDate(2021, 6, 30), 10.5, "senza tipo")},     // ID 4: no such kind
      {7, Done(1, 1000, MakeDate(2021, 6, 30), 10.5, "stesso giorno")},  // ID 5
  };
  for (const auto& [vehicle, done] : rows)
    ASSERT_TRUE(Make().SaveVehicleIntervention(vehicle, done));
  auto listed = [&] {
    std::vector<std::string> texts;
    for (const VehicleIntervention& row : Make().ListVehicleHistory(7)) {
      texts.push_back(std::to_string(row.ID) + "|" + row.INTERVENTO + "|" + row.NOTE + "|" +
                      LumoUtility::FormatIsoDate(row.DATA) + "|" + std::to_string(row.KM));
    }
    return texts;
  };
  // The same date: the row inserted later first.
  EXPECT_THAT(listed(),
              ElementsAre("2|Candela|l'ultima|2023-01-15|1000",
                          "5|Olio motore|stesso giorno|2021-06-30|1000",
                          "4||senza tipo|2021-06-30|1000", "1|Olio motore|prima|2021-06-30|1000"));
  EXPECT_EQ(sql_.back(),
            "SELECT V.ID, V.ID_INTERVENTO, a.INTERVENTO, V.DATA, V.KM, V.COSTO, V.[NOTE] FROM "
            "INTERVENTI_VEICOLO as V LEFT JOIN INTERVENTI as a ON V.ID_INTERVENTO = a.ID WHERE "
            "V.ID_VEICOLO= 7 ORDER BY V.DATA DESC, V.ID DESC");
  EXPECT_EQ(Make().ListVehicleHistory(7).at(0).COSTO, 10.5);

  const struct {
    std::int32_t vehicle;
    std::int32_t row;
    bool deleted;
  } deletions[] = {{7, 3, false}, {8, 2, false}, {7, 99, false}, {7, 2, true}, {7, 2, false}};
  for (const auto& deletion : deletions) {
    MaintenanceStore store = Make();
    EXPECT_EQ(store.DeleteVehicleIntervention(deletion.vehicle, deletion.row), deletion.deleted)
        << deletion.vehicle << "/" << deletion.row;
    EXPECT_FALSE(store.ErrorFlag());
  }
  EXPECT_EQ(sql_.back(), "DELETE FROM INTERVENTI_VEICOLO WHERE ID= 2 AND ID_VEICOLO= 7");
  EXPECT_EQ(listed().size(), 3u);
  EXPECT_EQ(Make().ListVehicleHistory(8).size(), 1u);
}

TEST_F(Store, UnreachableDatabase) {
  MaintenanceStore store(std::make_unique<MemoryEngine>(nullptr), L"C:\\x.mdb", nullptr);
  EXPECT_EQ(store.CountInterventionTypes(), -1);
  EXPECT_EQ(store.ErrorText(), "Errore durante l'apertura della connessione");
  EXPECT_TRUE(store.LoadSchedule(1).empty());
  EXPECT_TRUE(store.ListVehicleHistory(1).empty());
  EXPECT_FALSE(store.DeleteVehicleIntervention(1, 1));
  VehicleRecord car;
  EXPECT_FALSE(store.SaveVehicle(car));
  EXPECT_TRUE(store.ErrorFlag());
}
