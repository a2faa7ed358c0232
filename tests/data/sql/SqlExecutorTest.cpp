#include "data/sql/SqlExecutor.h"

#include "data/MaintenanceStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "data/sql/SqlError.h"
#include "data/sql/SqlParser.h"
#include "tests/data/sql/MemoryTableStore.h"
#include "toolkit/base/DateTimeValue.h"
#include "toolkit/base/TextEncoding.h"

using namespace Sql;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

std::string Show(const Value& v) {
  switch (v.type) {
    case Value::Type::Null: return "NULL";
    case Value::Type::Boolean: return v.boolean ? "True" : "False";
    case Value::Type::Integer: return std::to_string(v.integer);
    case Value::Type::Text: return LumoUtility::NarrowUtf16(v.text);
    case Value::Type::DateTime: {
      auto seconds = static_cast<std::int64_t>(std::llround(v.number * 86400));
      return LumoUtility::FormatIsoDate(
          LumoUtility::AddSeconds(LumoUtility::MakeDate(1899, 12, 30), seconds));
    }
    default: {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%g", v.AsDouble());
      return buffer;
    }
  }
}

class SqlExecutor : public ::testing::Test {
 protected:
  SqlExecutor() {
    AddProgramTables(store_);
    store_.AddUniqueColumn("VEICOLO", "ID");
  }

  std::int64_t Exec(const std::string& sql) { return RunCommand(ParseStatement(sql), store_); }

  // Each row as its values joined by "|".
  std::vector<std::string> Query(const std::string& sql) {
    Statement statement = ParseStatement(sql);
    QueryResult result = RunQuery(std::get<SelectStatement>(statement), store_);
    std::vector<std::string> rows;
    for (const Row& row : result.rows) {
      std::string text;
      for (std::size_t i = 0; i < row.size(); ++i) text += (i ? "|" : "") + Show(row[i]);
      rows.push_back(text);
    }
    return rows;
  }

  std::string ErrorOf(const std::string& sql) {
    try {
      Statement statement = ParseStatement(sql);
      if (auto* select = std::get_if<SelectStatement>(&statement)) {
        RunQuery(*select, store_);
      } else {
        RunCommand(statement, store_);
      }
    } catch (const SqlError& error) {
      return error.what();
    }
    return "<no error>";
  }

  void AddCatalogue(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      Exec("Insert into INTERVENTI (INTERVENTO, CADENZAKM, [NOTE], FINERODAGGIO) values ('" + name +
           "', 6000, 'nota di " + name + "', 0 ) ");
    }
  }

  void AddHistory(int vehicle, int kind, int km, const std::string& date, double cost) {
    char costText[32];
    std::snprintf(costText, sizeof costText, "%g", cost);
    Exec(
        "Insert into  INTERVENTI_VEICOLO (ID_VEICOLO, ID_INTERVENTO, KM, DATA, COSTO, [NOTE]) "
        "values (" +
        std::to_string(vehicle) + ", " + std::to_string(kind) + ", " + std::to_string(km) + ", '" +
        date + "', " + costText + ", 'fatto') ");
  }

  MemoryTableStore store_;
};

}  // namespace

TEST_F(SqlExecutor, VehicleRoundTrip) {
  EXPECT_EQ(Exec("INSERT INTO VEICOLO (TARGA, DESCRIZIONE, KM, DATA_KM) VALUES "
                 "('O''BRIEN','Auto di prova',1500,NULL)"),
            1);
  EXPECT_THAT(Query("SELECT ID, DESCRIZIONE, KM, DATA_KM FROM VEICOLO WHERE TARGA='O''BRIEN'"),
              ElementsAre("1|Auto di prova|1500|NULL"));
  EXPECT_THAT(Query("SELECT COUNT(*) as tot FROM VEICOLO WHERE TARGA='o''brien'"),
              ElementsAre("1"));
  EXPECT_EQ(Exec("UPDATE VEICOLO SET DESCRIZIONE= 'Auto', KM =2500, DATA_KM= '2020-03-05' "
                 "WHERE TARGA= 'O''BRIEN'"),
            1);
  EXPECT_THAT(Query("SELECT ID, TARGA, DESCRIZIONE, KM, DATA_KM FROM VEICOLO"),
              ElementsAre("1|O'BRIEN|Auto|2500|2020-03-05"));
  EXPECT_EQ(Exec("UPDATE VEICOLO SET DESCRIZIONE= 'x', KM =1, DATA_KM= NULL WHERE TARGA= 'NO'"), 0);
  EXPECT_THAT(Query("SELECT COUNT(*) FROM VEICOLO WHERE TARGA='NESSUNA'"), ElementsAre("0"));
}

TEST_F(SqlExecutor, PlatesSortTheJetWay) {
  for (const char* plate : {"Zeta", "alfa", "\xC8ra", "era", "Eta", "ERA1"}) {
    Exec(std::string("INSERT INTO VEICOLO (TARGA, DESCRIZIONE, KM, DATA_KM) VALUES ('") + plate +
         "','',0,NULL)");
  }
  EXPECT_THAT(Query("SELECT TARGA FROM VEICOLO ORDER BY TARGA"),
              ElementsAre("alfa", "era", "\xC8ra", "ERA1", "Eta", "Zeta"));
  EXPECT_THAT(Query("SELECT TARGA FROM VEICOLO WHERE TARGA = 'ERA'"), ElementsAre("era"));
  EXPECT_THAT(Query("SELECT TARGA FROM VEICOLO WHERE TARGA = '\xE8RA'"), ElementsAre("\xC8ra"));
  EXPECT_THAT(Query("SELECT TARGA FROM VEICOLO WHERE TARGA > 'ERA' AND TARGA < 'f' "
                    "ORDER BY TARGA DESC"),
              ElementsAre("Eta", "ERA1", "\xC8ra"));
}

TEST_F(SqlExecutor, CatalogueWithUsageGuard) {
  AddCatalogue({"Olio motore", "Olio motore"});
  EXPECT_THAT(Query("SELECT COUNT(*) FROM INTERVENTI "), ElementsAre("2"));
  EXPECT_EQ(Exec("UPDATE INTERVENTI SET INTERVENTO= 'Filtro l''aria', CADENZAKM= 10000, [NOTE]= "
                 "'Sostituire', FINERODAGGIO= -1 WHERE ID= 2"),
            1);
  EXPECT_THAT(Query("SELECT ID, INTERVENTO, CADENZAKM, NOTE, FINERODAGGIO FROM INTERVENTI "),
              ElementsAre("1|Olio motore|6000|nota di Olio motore|False",
                          "2|Filtro l'aria|10000|Sostituire|True"));
  AddHistory(1, 2, 900, "2021-06-30", 84.5);
  EXPECT_THAT(Query("SELECT COUNT(*) as tot FROM INTERVENTI_VEICOLO WHERE ID_INTERVENTO=2"),
              ElementsAre("1"));
  EXPECT_EQ(Exec("DELETE * FROM INTERVENTI WHERE ID= 1"), 1);
  EXPECT_THAT(Query("SELECT ID FROM INTERVENTI"), ElementsAre("2"));
  // AutoNumber values are never reused.
  AddCatalogue({"Candela"});
  EXPECT_THAT(Query("SELECT MAX(ID), MIN(ID), SUM(CADENZAKM), AVG(CADENZAKM) FROM INTERVENTI"),
              ElementsAre("3|2|16000|8000"));
}

TEST_F(SqlExecutor, ScheduleOfAVehicleWithoutHistory) {
  AddCatalogue({"Olio motore", "Filtro aria", "Candela"});
  AddHistory(2, 1, 500, "2020-01-01", 10);  // another vehicle's history never shows
  EXPECT_THAT(Query(ScheduleSql(7)),
              ElementsAre("NULL|Olio motore|NULL|NULL|NULL|6000|NULL|1|nota di Olio motore|False",
                          "NULL|Filtro aria|NULL|NULL|NULL|6000|NULL|2|nota di Filtro aria|False",
                          "NULL|Candela|NULL|NULL|NULL|6000|NULL|3|nota di Candela|False"));
}

TEST_F(SqlExecutor, ScheduleShowsTheLatestInsertedInterventionOfEachKind) {
  AddCatalogue({"Olio motore", "Filtro aria", "Candela"});
  AddHistory(7, 1, 10000, "2021-05-01", 50);   // ID 1
  AddHistory(7, 1, 9000, "2020-05-01", 84.5);  // ID 2: inserted later, older date: shown
  AddHistory(8, 1, 30000, "2022-01-01", 99);   // ID 3: another vehicle
  AddHistory(8, 3, 31000, "2022-02-01", 12);   // ID 4: a kind only vehicle 8 had
  AddHistory(7, 2, 9500, "2021-01-01", 20);    // ID 5
  EXPECT_THAT(
      Query(ScheduleSql(7)),
      ElementsAre("2|Olio motore|2020-05-01|9000|84.5|6000|fatto|1|nota di Olio motore|False",
                  "5|Filtro aria|2021-01-01|9500|20|6000|fatto|2|nota di Filtro aria|False",
                  "NULL|Candela|NULL|NULL|NULL|6000|NULL|3|nota di Candela|False"));
  EXPECT_THAT(
      Query(ScheduleSql(8)),
      ElementsAre("3|Olio motore|2022-01-01|30000|99|6000|fatto|1|nota di Olio motore|False",
                  "NULL|Filtro aria|NULL|NULL|NULL|6000|NULL|2|nota di Filtro aria|False",
                  "4|Candela|2022-02-01|31000|12|6000|fatto|3|nota di Candela|False"));
}

// A file hands rows out of key order once their room is reused; a join that streams its
// table must still give each outer row its matches in key order, and the null row only
// to an outer row that matched nothing (not to one whose matches WHERE dropped).
TEST_F(SqlExecutor, StreamedJoinKeepsKeyOrderAndOuterRows) {
  AddCatalogue({"A", "B", "C"});
  for (int id : {5, 3, 4, 2}) {
    store_.LoadRow("INTERVENTI_VEICOLO",
                   {Value::Integer(id), Value::Integer(id == 2 ? 2 : 1),
                    Value::Integer(id == 2 ? 2 : 1), Value::Integer(id * 100)});
  }
  EXPECT_THAT(Query("SELECT a.ID, V.ID, V.KM FROM INTERVENTI a LEFT JOIN INTERVENTI_VEICOLO V "
                    "ON a.ID = V.ID_INTERVENTO WHERE V.ID_VEICOLO = 1 OR V.ID IS NULL"),
              ElementsAre("1|3|300", "1|4|400", "1|5|500", "3|NULL|NULL"));
  EXPECT_THAT(Query("SELECT a.ID, V.ID FROM INTERVENTI a INNER JOIN INTERVENTI_VEICOLO V ON "
                    "a.ID = V.ID_INTERVENTO"),
              ElementsAre("1|3", "1|4", "1|5", "2|2"));
}

// Subqueries read once and shared within a statement stay apart when they differ only in
// a filter or the aggregate.
TEST_F(SqlExecutor, KeyedSubqueriesThatDifferStayApart) {
  AddCatalogue({"A", "B"});
  AddHistory(1, 1, 100, "2020-01-01", 1);
  AddHistory(2, 1, 300, "2020-01-01", 1);
  AddHistory(1, 1, 200, "2020-01-01", 1);
  EXPECT_THAT(
      Query("SELECT a.ID FROM INTERVENTI a WHERE "
            "(SELECT MAX(KM) FROM INTERVENTI_VEICOLO WHERE ID_INTERVENTO = a.ID AND ID_VEICOLO = "
            "1) = 200 AND (SELECT MAX(KM) FROM INTERVENTI_VEICOLO WHERE ID_INTERVENTO = a.ID AND "
            "ID_VEICOLO = 2) = 300 AND (SELECT MIN(KM) FROM INTERVENTI_VEICOLO WHERE "
            "ID_INTERVENTO = a.ID AND ID_VEICOLO = 1) = 100 AND (SELECT COUNT(*) FROM "
            "INTERVENTI_VEICOLO WHERE ID_INTERVENTO = a.ID) = 3"),
      ElementsAre("1"));
}

TEST_F(SqlExecutor, HistoryUpdateOnlyTouchesItsOwnVehicle) {
  AddCatalogue({"Olio motore"});
  AddHistory(7, 1, 950, "2021-06-30", 84.5);
  EXPECT_EQ(Exec("UPDATE INTERVENTI_VEICOLO SET ID_INTERVENTO= 1, KM= 960, DATA= '2021-07-01', "
                 "COSTO= 1e+06, [NOTE]= 'Tagliando' WHERE ID= 1 AND ID_VEICOLO= 8"),
            0);
  EXPECT_EQ(Exec("UPDATE INTERVENTI_VEICOLO SET ID_INTERVENTO= 1, KM= 960, DATA= '2021-07-01', "
                 "COSTO= 1e+06, [NOTE]= 'Tagliando' WHERE ID= 1 AND ID_VEICOLO= 7"),
            1);
  EXPECT_THAT(Query("SELECT KM, DATA, COSTO, NOTE FROM INTERVENTI_VEICOLO"),
              ElementsAre("960|2021-07-01|1e+06|Tagliando"));
}

TEST_F(SqlExecutor, ThreeValuedLogicAndSubqueries) {
  AddCatalogue({"A", "B", "C"});
  AddHistory(1, 1, 10, "2020-01-01", 1);
  Exec("INSERT INTO INTERVENTI_VEICOLO (ID_VEICOLO, ID_INTERVENTO, KM) VALUES (1, NULL, 20)");
  EXPECT_THAT(Query("SELECT ID FROM INTERVENTI WHERE ID IN (SELECT ID_INTERVENTO FROM "
                    "INTERVENTI_VEICOLO)"),
              ElementsAre("1"));
  // NOT IN over a set holding NULL is never true, as in Jet.
  EXPECT_THAT(Query("SELECT ID FROM INTERVENTI WHERE NOT ID IN (SELECT ID_INTERVENTO FROM "
                    "INTERVENTI_VEICOLO)"),
              ElementsAre());
  EXPECT_THAT(Query("SELECT ID FROM INTERVENTI WHERE ID NOT IN (1, 3)"), ElementsAre("2"));
  EXPECT_THAT(Query("SELECT KM FROM INTERVENTI_VEICOLO WHERE ID_INTERVENTO <> 1"), ElementsAre());
  EXPECT_THAT(Query("SELECT KM FROM INTERVENTI_VEICOLO WHERE ID_INTERVENTO Is Null"),
              ElementsAre("20"));
  EXPECT_THAT(Query("SELECT ID FROM INTERVENTI WHERE ID = (SELECT MAX(ID_INTERVENTO) FROM "
                    "INTERVENTI_VEICOLO)"),
              ElementsAre("1"));
  EXPECT_THAT(Query("SELECT COUNT(ID_INTERVENTO), COUNT(*) FROM INTERVENTI_VEICOLO"),
              ElementsAre("1|2"));
  EXPECT_THAT(Query("SELECT MAX(KM) FROM INTERVENTI_VEICOLO WHERE KM > 1000"), ElementsAre("NULL"));
  EXPECT_THAT(Query("SELECT DATA FROM INTERVENTI_VEICOLO WHERE DATA >= '2020-01-01' AND DATA < "
                    "#1/2/2020#"),
              ElementsAre("2020-01-01"));
}

TEST_F(SqlExecutor, ErrorsChangeNothing) {
  Exec("INSERT INTO VEICOLO (TARGA, DESCRIZIONE, KM, DATA_KM) VALUES ('AA','',1,NULL)");
  Exec("INSERT INTO VEICOLO (TARGA, DESCRIZIONE, KM, DATA_KM) VALUES ('BB','',2,NULL)");
  EXPECT_THAT(ErrorOf("SELECT * FROM VEICOLI"), HasSubstr("'VEICOLI'"));
  EXPECT_THAT(ErrorOf("SELECT TARGHE FROM VEICOLO"), HasSubstr("'TARGHE' non esiste"));
  EXPECT_THAT(ErrorOf("SELECT ID FROM INTERVENTI a LEFT JOIN INTERVENTI_VEICOLO v ON a.ID = v.ID"),
              HasSubstr("più tabelle"));
  EXPECT_THAT(ErrorOf("SELECT ID FROM VEICOLO WHERE ID = 'uno'"), HasSubstr("non corrispondente"));
  EXPECT_THAT(ErrorOf("UPDATE VEICOLO SET KM = 'tanti' WHERE ID = 1"), HasSubstr("'KM'"));
  EXPECT_THAT(ErrorOf("UPDATE VEICOLO SET KM = 3000000000 WHERE ID = 1"), HasSubstr("Overflow"));
  EXPECT_THAT(ErrorOf("UPDATE VEICOLO SET TARGA = '" + std::string(51, 'X') + "'"),
              HasSubstr("troppo piccolo"));
  EXPECT_THAT(ErrorOf("UPDATE VEICOLO SET DATA_KM = '2020-02-30'"), HasSubstr("'DATA_KM'"));
  EXPECT_THAT(ErrorOf("SELECT TARGA, COUNT(*) FROM VEICOLO"), HasSubstr("aggregazione"));
  EXPECT_THAT(ErrorOf("SELECT ID FROM VEICOLO WHERE KM = (SELECT KM FROM VEICOLO)"),
              HasSubstr("al massimo un record"));
  EXPECT_THAT(ErrorOf("INSERT INTO VEICOLO (TARGA, TARGA) VALUES ('a', 'b')"),
              HasSubstr("più volte"));
  EXPECT_THAT(ErrorOf("SELECT ID FROM VEICOLO UNION SELECT ID, KM FROM VEICOLO"),
              HasSubstr("query di unione"));
  // The second row would collide with the first on the unique ID: neither changes.
  EXPECT_THAT(ErrorOf("UPDATE VEICOLO SET ID = 5, KM = 99"), HasSubstr("duplicati"));
  EXPECT_THAT(Query("SELECT ID, KM FROM VEICOLO ORDER BY ID"), ElementsAre("1|1", "2|2"));
}

TEST_F(SqlExecutor, CreateTableOfLongColumns) {
  EXPECT_THAT(ErrorOf("CREATE TABLE veicolo (A LONG)"), HasSubstr("esiste già"));
  EXPECT_THAT(ErrorOf("CREATE TABLE T (A LONG, a LONG)"), HasSubstr("più volte"));
  EXPECT_THAT(ErrorOf("CREATE TABLE T (A LONG PRIMARY KEY, B LONG PRIMARY KEY)"),
              HasSubstr("chiave primaria"));
  EXPECT_THAT(ErrorOf("SELECT * FROM T"), HasSubstr("'T'"));  // refused ones left nothing
  Exec("CREATE TABLE T (A LONG PRIMARY KEY, B LONG)");
  Exec("INSERT INTO T VALUES (2, 24)");
  EXPECT_THAT(ErrorOf("INSERT INTO T VALUES (2.5, 'x')"), HasSubstr("'B'"));
  EXPECT_THAT(Query("SELECT A, B FROM T"), ElementsAre("2|24"));
}

TEST_F(SqlExecutor, GroupingDistinctAndUnionAll) {
  AddCatalogue({"A", "B"});
  AddHistory(1, 1, 10, "2020-01-01", 5);
  AddHistory(1, 1, 20, "2020-02-01", 7);
  AddHistory(2, 2, 30, "2020-03-01", 1.5);
  EXPECT_THAT(Query("SELECT ID_VEICOLO, COUNT(*), SUM(COSTO) FROM INTERVENTI_VEICOLO GROUP BY "
                    "ID_VEICOLO ORDER BY ID_VEICOLO DESC"),
              ElementsAre("2|1|1.5", "1|2|12"));
  EXPECT_THAT(Query("SELECT DISTINCT ID_VEICOLO FROM INTERVENTI_VEICOLO ORDER BY ID_VEICOLO"),
              ElementsAre("1", "2"));
  EXPECT_THAT(Query("SELECT ID_VEICOLO FROM INTERVENTI_VEICOLO UNION ALL SELECT ID FROM "
                    "INTERVENTI ORDER BY ID_VEICOLO"),
              ElementsAre("1", "1", "1", "2", "2"));
  EXPECT_THAT(Query("SELECT ID_VEICOLO FROM INTERVENTI_VEICOLO UNION SELECT ID FROM INTERVENTI"),
              ElementsAre("1", "2"));
  EXPECT_THAT(Query("SELECT KM FROM INTERVENTI_VEICOLO ORDER BY DATA DESC"),
              ElementsAre("30", "20", "10"));
}
