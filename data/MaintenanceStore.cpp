#include "data/MaintenanceStore.h"

#include "toolkit/base/NumberText.h"
#include "toolkit/base/StringReplace.h"

using LumoUtility::DateTimeValue;

std::string SqlText(const std::string& text) {
  return "'" + LumoUtility::ReplaceAll(text, "'", "''") + "'";
}
std::string SqlInt(std::int64_t value) { return LumoUtility::IntToText(value); }
std::string SqlDouble(double value) { return LumoUtility::AmountToText(value); }
std::string SqlDate(const DateTimeValue& date) {
  return "'" + LumoUtility::FormatIsoDate(date) + "'";
}

namespace {

// The longest interval in months an entry can have: twenty years.
constexpr std::int32_t kMaxMonths = 240;

std::string Doubled(const std::string& text) { return LumoUtility::ReplaceAll(text, "'", "''"); }

// Closes the connection on every way out when this operation opened it.
class ConnectionScope {
 public:
  ConnectionScope(DbConnection& connection, bool close) : connection_(connection), close_(close) {}
  ~ConnectionScope() {
    if (close_) connection_.CloseConnection();
  }
  ConnectionScope(const ConnectionScope&) = delete;
  ConnectionScope& operator=(const ConnectionScope&) = delete;

 private:
  DbConnection& connection_;
  bool close_;
};

}  // namespace

std::string ScheduleSql(std::int32_t vehicleId) {
  const std::string from =
      "FROM INTERVENTI as a LEFT JOIN INTERVENTI_VEICOLO as V ON a.ID = V.ID_INTERVENTO ";
  const std::string where =
      "WHERE ((V.ID=(SELECT MAX(ID) FROM INTERVENTI_VEICOLO WHERE A.ID = ID_INTERVENTO AND "
      "ID_VEICOLO= V.ID_VEICOLO) Or (V.ID) Is Null) AND (V.ID_VEICOLO=";
  const std::string tail = " Or (V.ID_VEICOLO) Is Null)) ";
  const std::string id = SqlInt(vehicleId);
  return "SELECT V.ID, a.INTERVENTO, V.DATA, V.KM, V.COSTO, a.CADENZAKM, V.[NOTE], a.ID as "
         "ID_INTERVENTO, a.NOTE as NOTE_INTERV, a.FINERODAGGIO " +
         from + where + id + tail +
         "UNION SELECT NULL, a.INTERVENTO,NULL, NULL, NULL, a.CADENZAKM, NULL, a.ID as "
         "ID_INTERVENTO, a.NOTE as NOTE_INTERV, a.FINERODAGGIO "
         "FROM INTERVENTI a "
         " WHERE NOT ID IN ( "
         "SELECT a.ID " +
         from + where + id + tail + ")  ORDER BY ID_INTERVENTO ";
}

std::wstring MaintenanceStore::ConnectionStringFor(const std::wstring& databasePath) {
  return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + databasePath +
         L";User Id=admin;Password=;";
}

MaintenanceStore::MaintenanceStore(std::unique_ptr<DbEngine> engine,
                                   const std::wstring& databasePath, MessageSink showMessage)
    : connection_(ConnectionStringFor(databasePath), std::move(engine)),
      showMessage_(std::move(showMessage)) {}

bool MaintenanceStore::OpenIfClosed(bool& openedHere) {
  openedHere = false;
  if (connection_.IsConnectionOpen()) return true;
  if (!connection_.OpenConnection()) return false;
  openedHere = true;
  return true;
}

template <typename Row, typename ReadRow>
std::vector<Row> MaintenanceStore::ReadRows(const std::string& sql, ReadRow readRow) {
  std::vector<Row> rows;
  if (!connection_.OpenConnection()) return rows;
  ConnectionScope scope(connection_, true);
  if (!connection_.OpenRecordset(sql)) return rows;
  while (!connection_.AtEnd()) {
    Row row = readRow(connection_);
    if (connection_.ErrorFlag()) break;
    rows.push_back(std::move(row));
    connection_.NextRecord();
  }
  connection_.CloseRecordset();
  return rows;
}

VehicleRecord MaintenanceStore::LoadVehicleByPlate(const std::string& plate) {
  VehicleRecord record;
  record.TARGA = plate;
  bool openedHere = false;
  if (!OpenIfClosed(openedHere)) return record;
  ConnectionScope scope(connection_, openedHere);
  if (connection_.OpenRecordset("SELECT ID, DESCRIZIONE, KM, DATA_KM FROM VEICOLO WHERE TARGA=" +
                                SqlText(plate))) {
    if (connection_.AtEnd()) {
      // An unknown plate: ID and KM -1 and the field-read error for the caller to see.
      record.ID = -1;
      record.KM = -1;
      connection_.FailFieldRead();
    } else {
      record.ID = connection_.FieldInt(0);
      record.DESCRIZIONE = connection_.FieldText(1);
      record.KM = connection_.FieldInt(2);
      record.DATA_KM = connection_.FieldDate(3);
      record.HasDate = record.DATA_KM.year > 1900;
    }
    connection_.CloseRecordset();
  }
  return record;
}

std::int32_t MaintenanceStore::FindVehicleIdByPlate(const std::string& plate) {
  bool openedHere = false;
  if (!OpenIfClosed(openedHere)) return -1;
  ConnectionScope scope(connection_, openedHere);
  std::int32_t id = -1;
  if (connection_.OpenRecordset("SELECT ID FROM VEICOLO WHERE TARGA=" + SqlText(plate))) {
    if (connection_.AtEnd()) {
      connection_.FailFieldRead();
    } else {
      id = connection_.FieldInt(0);
    }
    connection_.CloseRecordset();
  }
  return id;
}

bool MaintenanceStore::ListPlates(std::vector<std::string>& plates) {
  if (!connection_.OpenConnection()) return false;
  ConnectionScope scope(connection_, true);
  if (!connection_.OpenRecordset("SELECT TARGA FROM VEICOLO ORDER BY TARGA")) return false;
  bool ok = true;
  while (!connection_.AtEnd()) {
    plates.push_back(connection_.FieldText(0));
    if (connection_.ErrorFlag()) {
      ok = false;
      break;
    }
    connection_.NextRecord();
  }
  connection_.CloseRecordset();
  return ok;
}

bool MaintenanceStore::SaveVehicle(VehicleRecord& record) {
  if (!connection_.OpenConnection()) return false;
  if (!connection_.OpenRecordset("SELECT COUNT(*) as tot FROM VEICOLO WHERE TARGA=" +
                                 SqlText(record.TARGA))) {
    return false;
  }
  ConnectionScope scope(connection_, true);
  std::int32_t existing = connection_.FieldInt(0);
  if (connection_.ErrorFlag() && showMessage_) showMessage_(connection_.ErrorText(), "errore");
  connection_.CloseRecordset();

  std::string statement;
  if (existing != 0) {
    statement = "UPDATE VEICOLO SET DESCRIZIONE= '" + Doubled(record.DESCRIZIONE) + "'" +
                ", KM =" + SqlInt(record.KM) +
                (record.HasDate ? ", DATA_KM= " + SqlDate(record.DATA_KM) + " "
                                : std::string(", DATA_KM= NULL ")) +
                "WHERE TARGA= '" + Doubled(record.TARGA) + "'";
  } else {
    statement = "INSERT INTO VEICOLO (TARGA, DESCRIZIONE, KM, DATA_KM) VALUES ('" +
                Doubled(record.TARGA) + "'" + ",'" + Doubled(record.DESCRIZIONE) + "'" + "," +
                SqlInt(record.KM) +
                (record.HasDate ? "," + SqlDate(record.DATA_KM) + ")" : std::string(",NULL)"));
  }
  std::int32_t affected = connection_.ExecuteCommand(statement);
  bool ok = !connection_.ErrorFlag() && affected == 1;
  if (ok) record.ID = FindVehicleIdByPlate(record.TARGA);
  return ok;
}

std::int32_t MaintenanceStore::CountInterventionTypes() {
  bool openedHere = false;
  if (!OpenIfClosed(openedHere)) return -1;
  ConnectionScope scope(connection_, openedHere);
  if (!connection_.OpenRecordset("SELECT COUNT(*) FROM INTERVENTI ")) return -1;
  std::int32_t count = connection_.FieldInt(0);
  connection_.CloseRecordset();
  return count;
}

bool MaintenanceStore::SeedInterventionTypes() {
  if (!connection_.OpenConnection()) return false;
  ConnectionScope scope(connection_, true);
  std::int32_t affected = connection_.ExecuteCommand(
      "Insert into INTERVENTI (INTERVENTO, CADENZAKM, [NOTE]) values ('Candela', 6000, "
      "'Controllare e pulire, regolare, lubrificare o sostituire (ogni 12.000 km) se "
      "necessario') ");
  return !connection_.ErrorFlag() && affected == 1;
}

std::vector<InterventionType> MaintenanceStore::ListInterventionTypes() {
  return ReadRows<InterventionType>(
      "SELECT ID, INTERVENTO, CADENZAKM, NOTE, FINERODAGGIO FROM INTERVENTI ",
      [](DbConnection& connection) {
        InterventionType entry;
        entry.ID = connection.FieldInt(0);
        entry.INTERVENTO = connection.FieldText(1);
        entry.CADENZAKM = connection.FieldInt(2);
        entry.NOTE = connection.FieldText(3);
        entry.FINERODAGGIO = connection.FieldBool(4);
        return entry;
      });
}

bool MaintenanceStore::SaveInterventionType(const InterventionType& entry) {
  if (!connection_.OpenConnection()) return false;
  ConnectionScope scope(connection_, true);
  std::string flag = entry.FINERODAGGIO ? "-1 " : "0 ";
  std::string statement;
  if (entry.ID != 0) {
    statement = "UPDATE INTERVENTI SET INTERVENTO= '" + Doubled(entry.INTERVENTO) + "', " +
                "CADENZAKM= " + SqlInt(entry.CADENZAKM) + ", " + "[NOTE]= '" + Doubled(entry.NOTE) +
                "', " + "FINERODAGGIO= " + flag + "WHERE ID= " + SqlInt(entry.ID);
  } else {
    statement = "Insert into INTERVENTI (INTERVENTO, CADENZAKM, [NOTE], FINERODAGGIO) values ('" +
                Doubled(entry.INTERVENTO) + "', " + SqlInt(entry.CADENZAKM) + ", '" +
                Doubled(entry.NOTE) + "', " + flag + ") ";
  }
  std::int32_t affected = connection_.ExecuteCommand(statement);
  return !connection_.ErrorFlag() && affected == 1;
}

bool MaintenanceStore::DeleteInterventionType(const InterventionType& entry) {
  if (!connection_.OpenConnection()) return false;
  ConnectionScope scope(connection_, true);
  if (!connection_.OpenRecordset("SELECT COUNT(*) as tot FROM INTERVENTI_VEICOLO WHERE "
                                 "ID_INTERVENTO=" +
                                 SqlInt(entry.ID))) {
    return false;
  }
  std::int32_t uses = connection_.FieldInt(0);
  if (connection_.ErrorFlag()) return false;
  connection_.CloseRecordset();
  // A kind any vehicle's history uses is never deleted; the clear error tells the
  // caller it was refused for that reason.
  if (uses > 0) return false;
  std::int32_t affected =
      connection_.ExecuteCommand("DELETE * FROM INTERVENTI WHERE ID= " + SqlInt(entry.ID));
  if (connection_.ErrorFlag() || affected != 1) return false;
  // Neither engine joins two statements into one change here; the entry goes first so that
  // a failure leaves at most an orphan months row, which nothing reads.
  if (entry.MESI != 0) {
    connection_.ExecuteCommand("DELETE FROM INTERVENTI_MESI WHERE ID_INTERVENTO= " +
                               SqlInt(entry.ID));
  }
  return true;
}

bool MaintenanceStore::EnsureMonthsTable() {
  bool openedHere = false;
  if (!OpenIfClosed(openedHere)) return false;
  ConnectionScope scope(connection_, openedHere);
  if (connection_.OpenRecordset("SELECT COUNT(*) FROM INTERVENTI_MESI")) {
    connection_.CloseRecordset();
    return true;
  }
  // A damaged table fails here too: its name is taken, so the CREATE is refused.
  connection_.ExecuteCommand(
      "CREATE TABLE INTERVENTI_MESI (ID_INTERVENTO LONG PRIMARY KEY, MESI LONG)");
  return !connection_.ErrorFlag();
}

std::map<std::int32_t, std::int32_t> MaintenanceStore::LoadInterventionMonths() {
  using Pair = std::pair<std::int32_t, std::int32_t>;
  std::vector<Pair> rows = ReadRows<Pair>(
      "SELECT M.ID_INTERVENTO, M.MESI FROM INTERVENTI_MESI as M INNER JOIN INTERVENTI as a ON "
      "M.ID_INTERVENTO = a.ID WHERE M.MESI >= 1 AND M.MESI <= 240",
      [](DbConnection& connection) {
        return Pair(connection.FieldInt(0), connection.FieldInt(1));
      });
  std::map<std::int32_t, std::int32_t> months;
  if (ErrorFlag()) return months;
  for (const Pair& row : rows) months[row.first] = row.second;
  return months;
}

bool MaintenanceStore::SaveInterventionMonths(std::int32_t interventionId, std::int32_t months) {
  if (months < 0 || months > kMaxMonths) return false;
  if (!connection_.OpenConnection()) return false;
  ConnectionScope scope(connection_, true);
  const std::string id = SqlInt(interventionId);
  if (months == 0) {
    connection_.ExecuteCommand("DELETE FROM INTERVENTI_MESI WHERE ID_INTERVENTO= " + id);
    return !connection_.ErrorFlag();
  }
  std::int32_t affected = connection_.ExecuteCommand(
      "UPDATE INTERVENTI_MESI SET MESI= " + SqlInt(months) + " WHERE ID_INTERVENTO= " + id);
  if (connection_.ErrorFlag()) return false;
  if (affected == 0) {
    affected =
        connection_.ExecuteCommand("INSERT INTO INTERVENTI_MESI (ID_INTERVENTO, MESI) VALUES (" +
                                   id + ", " + SqlInt(months) + ")");
  }
  return !connection_.ErrorFlag() && affected == 1;
}

std::vector<ScheduleRow> MaintenanceStore::LoadSchedule(std::int32_t vehicleId) {
  return ReadRows<ScheduleRow>(ScheduleSql(vehicleId), [](DbConnection& connection) {
    ScheduleRow row;
    row.ID = connection.FieldInt(0);
    row.INTERVENTO = connection.FieldText(1);
    row.DATA = connection.FieldDate(2);
    row.KM = connection.FieldInt(3);
    row.COSTO = connection.FieldDouble(4);
    row.CADENZAKM = connection.FieldInt(5);
    row.NOTE = connection.FieldText(6);
    row.ID_INTERVENTO = connection.FieldInt(7);
    row.NOTE_INTERV = connection.FieldText(8);
    row.FINERODAGGIO = connection.FieldBool(9);
    return row;
  });
}

bool MaintenanceStore::SaveVehicleIntervention(std::int32_t vehicleId,
                                               const VehicleIntervention& record) {
  if (!connection_.OpenConnection()) return false;
  ConnectionScope scope(connection_, true);
  std::string statement;
  if (record.ID == 0) {
    statement =
        "Insert into  INTERVENTI_VEICOLO (ID_VEICOLO, ID_INTERVENTO, KM, DATA, COSTO, "
        "[NOTE]) values (" +
        SqlInt(vehicleId) + ", " + SqlInt(record.ID_INTERVENTO) + ", " + SqlInt(record.KM) + ", " +
        SqlDate(record.DATA) + ", " + SqlDouble(record.COSTO) + ", " + SqlText(record.NOTE) + ") ";
  } else {
    statement = "UPDATE INTERVENTI_VEICOLO SET ID_INTERVENTO= " + SqlInt(record.ID_INTERVENTO) +
                ", " + "KM= " + SqlInt(record.KM) + ", " + "DATA= " + SqlDate(record.DATA) + ", " +
                "COSTO= " + SqlDouble(record.COSTO) + ", " + "[NOTE]= " + SqlText(record.NOTE) +
                " " + "WHERE ID= " + SqlInt(record.ID) + " AND ID_VEICOLO= " + SqlInt(vehicleId);
  }
  std::int32_t affected = connection_.ExecuteCommand(statement);
  return !connection_.ErrorFlag() && affected == 1;
}

std::vector<VehicleIntervention> MaintenanceStore::ListVehicleHistory(std::int32_t vehicleId) {
  return ReadRows<VehicleIntervention>(
      "SELECT V.ID, V.ID_INTERVENTO, a.INTERVENTO, V.DATA, V.KM, V.COSTO, V.[NOTE] "
      "FROM INTERVENTI_VEICOLO as V LEFT JOIN INTERVENTI as a ON V.ID_INTERVENTO = a.ID "
      "WHERE V.ID_VEICOLO= " +
          SqlInt(vehicleId) + " ORDER BY V.DATA DESC, V.ID DESC",
      [](DbConnection& connection) {
        VehicleIntervention row;
        row.ID = connection.FieldInt(0);
        row.ID_INTERVENTO = connection.FieldInt(1);
        row.INTERVENTO = connection.FieldText(2);
        row.DATA = connection.FieldDate(3);
        row.KM = connection.FieldInt(4);
        row.COSTO = connection.FieldDouble(5);
        row.NOTE = connection.FieldText(6);
        return row;
      });
}

bool MaintenanceStore::DeleteVehicleIntervention(std::int32_t vehicleId,
                                                 std::int32_t interventionId) {
  if (!connection_.OpenConnection()) return false;
  ConnectionScope scope(connection_, true);
  std::int32_t affected = connection_.ExecuteCommand(
      "DELETE FROM INTERVENTI_VEICOLO WHERE ID= " + SqlInt(interventionId) +
      " AND ID_VEICOLO= " + SqlInt(vehicleId));
  return !connection_.ErrorFlag() && affected == 1;
}
