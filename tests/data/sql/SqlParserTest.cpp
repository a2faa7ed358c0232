#include "data/sql/SqlParser.h"

#include "data/MaintenanceStore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "data/sql/SqlError.h"
#include "tests/data/sql/SqlAstText.h"

using Sql::ParseStatement;
using Sql::SqlError;
using testing::HasSubstr;

namespace {

std::string Parsed(const std::string& sql) { return AstText(ParseStatement(sql)); }

std::string ErrorOf(const std::string& sql) {
  try {
    ParseStatement(sql);
  } catch (const SqlError& error) {
    return error.what();
  }
  return "<no error>";
}

}  // namespace

TEST(SqlParser, VehicleStatements) {
  EXPECT_EQ(Parsed("SELECT ID, DESCRIZIONE, KM, DATA_KM FROM VEICOLO WHERE TARGA='O''BRIEN'"),
            "(select [ (col ID) (col DESCRIZIONE) (col KM) (col DATA_KM) from VEICOLO where "
            "(= (col TARGA) (text 'O'BRIEN'))])");
  EXPECT_EQ(Parsed("SELECT TARGA FROM VEICOLO ORDER BY TARGA"),
            "(select [ (col TARGA) from VEICOLO] order (col TARGA))");
  EXPECT_EQ(Parsed("SELECT COUNT(*) as tot FROM VEICOLO WHERE TARGA='AB123CD'"),
            "(select [ (count*):TOT from VEICOLO where (= (col TARGA) (text 'AB123CD'))])");
  EXPECT_EQ(Parsed("UPDATE VEICOLO SET DESCRIZIONE= 'Auto', KM =1500, DATA_KM= '2020-03-05' "
                   "WHERE TARGA= 'AB123CD'"),
            "(update VEICOLO DESCRIZIONE=(text 'Auto') KM=(int 1500) "
            "DATA_KM=(text '2020-03-05') where (= (col TARGA) (text 'AB123CD')))");
  EXPECT_EQ(Parsed("UPDATE VEICOLO SET DESCRIZIONE= '', KM =-5, DATA_KM= NULL WHERE TARGA= 'X'"),
            "(update VEICOLO DESCRIZIONE=(text '') KM=(int -5) DATA_KM=null where "
            "(= (col TARGA) (text 'X')))");
  EXPECT_EQ(Parsed("INSERT INTO VEICOLO (TARGA, DESCRIZIONE, KM, DATA_KM) VALUES "
                   "('AB123CD','Auto',1500,NULL)"),
            "(insert VEICOLO ( TARGA DESCRIZIONE KM DATA_KM ) values ( (text 'AB123CD') "
            "(text 'Auto') (int 1500) null ))");
}

TEST(SqlParser, CatalogueStatements) {
  EXPECT_EQ(Parsed("SELECT COUNT(*) FROM INTERVENTI "), "(select [ (count*) from INTERVENTI])");
  EXPECT_EQ(Parsed("Insert into INTERVENTI (INTERVENTO, CADENZAKM, [NOTE]) values ('Candela', "
                   "6000, 'Controllare e pulire, regolare, lubrificare o sostituire (ogni "
                   "12.000 km) se necessario') "),
            "(insert INTERVENTI ( INTERVENTO CADENZAKM NOTE ) values ( (text 'Candela') "
            "(int 6000) (text 'Controllare e pulire, regolare, lubrificare o sostituire (ogni "
            "12.000 km) se necessario') ))");
  EXPECT_EQ(Parsed("SELECT ID, INTERVENTO, CADENZAKM, NOTE, FINERODAGGIO FROM INTERVENTI "),
            "(select [ (col ID) (col INTERVENTO) (col CADENZAKM) (col NOTE) (col FINERODAGGIO) "
            "from INTERVENTI])");
  EXPECT_EQ(Parsed("UPDATE INTERVENTI SET INTERVENTO= 'Olio motore', CADENZAKM= 10000, [NOTE]= "
                   "'Sostituire', FINERODAGGIO= -1 WHERE ID= 3"),
            "(update INTERVENTI INTERVENTO=(text 'Olio motore') CADENZAKM=(int 10000) "
            "NOTE=(text 'Sostituire') FINERODAGGIO=(int -1) where (= (col ID) (int 3)))");
  EXPECT_EQ(Parsed("Insert into INTERVENTI (INTERVENTO, CADENZAKM, [NOTE], FINERODAGGIO) values "
                   "('Olio motore', 10000, 'Sostituire', 0 ) "),
            "(insert INTERVENTI ( INTERVENTO CADENZAKM NOTE FINERODAGGIO ) values ( "
            "(text 'Olio motore') (int 10000) (text 'Sostituire') (int 0) ))");
  EXPECT_EQ(Parsed("SELECT COUNT(*) as tot FROM INTERVENTI_VEICOLO WHERE ID_INTERVENTO=4"),
            "(select [ (count*):TOT from INTERVENTI_VEICOLO where "
            "(= (col ID_INTERVENTO) (int 4))])");
  EXPECT_EQ(Parsed("DELETE * FROM INTERVENTI WHERE ID= 3"),
            "(delete INTERVENTI where (= (col ID) (int 3)))");
}

TEST(SqlParser, HistoryStatements) {
  EXPECT_EQ(Parsed("Insert into  INTERVENTI_VEICOLO (ID_VEICOLO, ID_INTERVENTO, KM, DATA, COSTO, "
                   "[NOTE]) values (7, 3, 950, '2021-06-30', 84.5, 'Tagliando') "),
            "(insert INTERVENTI_VEICOLO ( ID_VEICOLO ID_INTERVENTO KM DATA COSTO NOTE ) values "
            "( (int 7) (int 3) (int 950) (text '2021-06-30') (dec 84.500000) "
            "(text 'Tagliando') ))");
  EXPECT_EQ(Parsed("UPDATE INTERVENTI_VEICOLO SET ID_INTERVENTO= 3, KM= 950, DATA= '2021-06-30', "
                   "COSTO= 1e+06, [NOTE]= 'Tagliando' WHERE ID= 12 AND ID_VEICOLO= 7"),
            "(update INTERVENTI_VEICOLO ID_INTERVENTO=(int 3) KM=(int 950) "
            "DATA=(text '2021-06-30') COSTO=(dec 1000000.000000) NOTE=(text 'Tagliando') where "
            "(and (= (col ID) (int 12)) (= (col ID_VEICOLO) (int 7))))");
}

TEST(SqlParser, ScheduleQuery) {
  const std::string half =
      " from INTERVENTI A left INTERVENTI_VEICOLO V on (= (col A.ID) (col V.ID_INTERVENTO))"
      " where (and (or (= (col V.ID) (select [ (max (col ID)) from INTERVENTI_VEICOLO where "
      "(and (= (col A.ID) (col ID_INTERVENTO)) (= (col ID_VEICOLO) (col V.ID_VEICOLO)))])) "
      "(isnull (col V.ID))) (or (= (col V.ID_VEICOLO) (int 7)) (isnull (col V.ID_VEICOLO))))";
  EXPECT_EQ(Parsed(ScheduleSql(7)),
            "(select [ (col V.ID) (col A.INTERVENTO) (col V.DATA) (col V.KM) (col V.COSTO) "
            "(col A.CADENZAKM) (col V.NOTE) (col A.ID):ID_INTERVENTO (col A.NOTE):NOTE_INTERV "
            "(col A.FINERODAGGIO)" +
                half +
                "] union [ null (col A.INTERVENTO) null null null (col A.CADENZAKM) null "
                "(col A.ID):ID_INTERVENTO (col A.NOTE):NOTE_INTERV (col A.FINERODAGGIO) "
                "from INTERVENTI A where (not (in (col ID) (select [ (col A.ID)" +
                half + "])))] order (col ID_INTERVENTO))");
}

TEST(SqlParser, NeighbouringForms) {
  EXPECT_EQ(Parsed("select [a].[b] AS x, * from t as u where not a <> 1 or b >= 2.5;"),
            "(select [ (col A.B):X * from T U where (or (not (<> (col A) (int 1))) "
            "(>= (col B) (dec 2.500000)))])");
  EXPECT_EQ(Parsed("SELECT a FROM t WHERE a NOT IN (1, 2) AND b IS NOT NULL AND c = #2020-03-05#"),
            "(select [ (col A) from T where (and (and (notin (col A) (int 1) (int 2)) "
            "(notnull (col B))) (= (col C) (date 2020-03-05)))])");
  EXPECT_EQ(Parsed("SELECT a FROM (t INNER JOIN u ON t.x = u.y) WHERE a = \"it's\" "
                   "ORDER BY a DESC, b ASC"),
            "(select [ (col A) from T inner U on (= (col T.X) (col U.Y)) where "
            "(= (col A) (text 'it's'))] order (col A) desc (col B))");
  EXPECT_EQ(Parsed("DELETE FROM t"), "(delete T where -)");
  EXPECT_EQ(Parsed("SELECT DISTINCT a FROM t UNION ALL SELECT b FROM u"),
            "(select [distinct (col A) from T] unionall [ (col B) from U])");
  EXPECT_EQ(Parsed("SELECT - a * 2 + 3 FROM t"),
            "(select [ (+ (* (neg (col A)) (int 2)) (int 3)) from T])");
  // Windows-1252 letters fold like ASCII ones: "\xE0" is a-grave, "\xC8" E-grave.
  EXPECT_EQ(Parsed("SELECT \xE0 FROM \xC8 WHERE TRUE = False"),
            Parsed("select \xC0 from \xE8 where -1 = 0"));
}

TEST(SqlParser, CreateTableOfLongColumns) {
  EXPECT_EQ(Parsed("CREATE TABLE INTERVENTI_MESI (ID_INTERVENTO LONG PRIMARY KEY, MESI LONG)"),
            "(create INTERVENTI_MESI ID_INTERVENTO:pk MESI)");
  EXPECT_EQ(Parsed("create table [a b] ([x] long);"), "(create A B X)");
  EXPECT_THAT(ErrorOf("CREATE TABLE T (A TEXT)"), HasSubstr("Tipo di dati non gestito"));
  EXPECT_THAT(ErrorOf("CREATE TABLE T (A LONG PRIMARY)"), HasSubstr("KEY"));
  EXPECT_THAT(ErrorOf("CREATE TABLE T ()"), HasSubstr("nome della colonna"));
  EXPECT_THAT(ErrorOf("CREATE INDEX I ON T (A)"), HasSubstr("TABLE"));
}

TEST(SqlParser, ErrorsNameTheProblem) {
  EXPECT_THAT(ErrorOf("DROP TABLE VEICOLO"), HasSubstr("Istruzione SQL non valida"));
  EXPECT_THAT(ErrorOf("SELECT FROM VEICOLO"), HasSubstr("Operando mancante"));
  EXPECT_THAT(ErrorOf("SELECT ID FROM"), HasSubstr("alla fine"));
  EXPECT_THAT(ErrorOf("SELECT ID FROM VEICOLO WHERE TARGA='AB"), HasSubstr("non terminata"));
  EXPECT_THAT(ErrorOf("SELECT [ID FROM VEICOLO"), HasSubstr("quadra"));
  EXPECT_THAT(ErrorOf("SELECT ID FROM VEICOLO WHERE ID = 1 1"), HasSubstr("in eccesso"));
  EXPECT_THAT(ErrorOf("SELECT ID FROM VEICOLO WHERE (ID = 1"), HasSubstr("Previsto ')'"));
  EXPECT_THAT(ErrorOf("SELECT LEN(ID) FROM VEICOLO"), HasSubstr("Funzione 'LEN'"));
  EXPECT_THAT(ErrorOf("INSERT INTO T (A, B) VALUES (1)"), HasSubstr("non coincidono"));
  EXPECT_THAT(ErrorOf("SELECT 12abc FROM T"), HasSubstr("Numero non valido"));
  EXPECT_THAT(ErrorOf("SELECT a FROM t, u"), HasSubstr("JOIN"));
  EXPECT_THAT(ErrorOf("SELECT a FROM t WHERE a = ?"), HasSubstr("Carattere non valido"));
  EXPECT_THAT(ErrorOf(""), HasSubstr("Istruzione SQL non valida"));
}

TEST(SqlParser, DeepNestingIsRefusedNotOverflowed) {
  std::string deep =
      "SELECT a FROM t WHERE " + std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_THAT(ErrorOf(deep), HasSubstr("troppo complessa"));
  std::string nots = "SELECT a FROM t WHERE ";
  for (int i = 0; i < 100000; ++i) nots += "NOT ";
  EXPECT_THAT(ErrorOf(nots + "a"), HasSubstr("troppo complessa"));
  std::string minus = "SELECT " + std::string(100000, '-') + "1 FROM t";
  EXPECT_THAT(ErrorOf(minus), HasSubstr("troppo complessa"));
}
