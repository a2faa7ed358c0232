#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/DbConnection.h"
#include "data/InterventionType.h"
#include "data/VehicleIntervention.h"
#include "data/VehicleRecord.h"

// The data store: every SQL statement the program sends, built as text from the
// records, through one DbConnection. A screen makes a store for each piece of work,
// reads ErrorFlag/ErrorText after each operation, and drops it.
class MaintenanceStore {
 public:
  // Shows a message to the user (text, caption); the one box the store itself shows.
  using MessageSink = std::function<void(const std::string&, const std::string&)>;

  // The program's store: the user's database (DatabasePath) through the program's
  // engine, with the store's one message shown in a message box.
  MaintenanceStore();
  MaintenanceStore(std::unique_ptr<DbEngine> engine, const std::wstring& databasePath,
                   MessageSink showMessage);

  bool ErrorFlag() const { return connection_.ErrorFlag(); }
  std::string ErrorText() const { return connection_.ErrorText(); }

  // Vehicles.
  VehicleRecord LoadVehicleByPlate(const std::string& plate);
  std::int32_t FindVehicleIdByPlate(const std::string& plate);
  bool ListPlates(std::vector<std::string>& plates);
  bool SaveVehicle(VehicleRecord& record);

  // The intervention catalogue.
  std::int32_t CountInterventionTypes();
  bool SeedInterventionTypes();
  std::vector<InterventionType> ListInterventionTypes();
  bool SaveInterventionType(const InterventionType& entry);
  // Deletes the entry; when entry.MESI is not 0 its months row goes too, right after. The
  // result is the entry's: a months row left behind by a failure there (ErrorFlag then
  // says why) is ignored by LoadInterventionMonths.
  bool DeleteInterventionType(const InterventionType& entry);

  // Months per catalogue entry, in a table of their own (INTERVENTI_MESI) that older
  // files lack. Creates the table when the database has none; true when it is there.
  bool EnsureMonthsTable();
  // ID_INTERVENTO -> MESI for the entries of INTERVENTI with 1..240 months. A missing or
  // unreadable table gives an empty map (ErrorFlag then says why; it is no reason to
  // bother the user).
  std::map<std::int32_t, std::int32_t> LoadInterventionMonths();
  // months 0 removes the entry's months; 1..240 sets them. Other values: false, nothing
  // sent.
  bool SaveInterventionMonths(std::int32_t interventionId, std::int32_t months);

  // Interventions done and the schedule.
  std::vector<ScheduleRow> LoadSchedule(std::int32_t vehicleId);
  bool SaveVehicleIntervention(std::int32_t vehicleId, const VehicleIntervention& record);
  // Every intervention of the vehicle, newest first (by DATA, then by ID), with the kind's
  // name; a kind no longer in the catalogue gives an empty name.
  std::vector<VehicleIntervention> ListVehicleHistory(std::int32_t vehicleId);
  // True only when exactly that row went: a row of another vehicle is never deleted.
  bool DeleteVehicleIntervention(std::int32_t vehicleId, std::int32_t interventionId);

  // The connection string for a database file.
  static std::wstring ConnectionStringFor(const std::wstring& databasePath);

 private:
  // Opens the connection unless it is open already; says whether this call opened it.
  bool OpenIfClosed(bool& openedHere);
  // Runs the query on a connection of its own and reads every row with readRow; a field
  // read that fails drops that row and ends the list, ErrorFlag telling why.
  template <typename Row, typename ReadRow>
  std::vector<Row> ReadRows(const std::string& sql, ReadRow readRow);

  DbConnection connection_;
  MessageSink showMessage_;
};

// How values are written into SQL text.
std::string SqlText(const std::string& text);  // 'text' with apostrophes doubled
std::string SqlInt(std::int64_t value);
std::string SqlDouble(double value);
std::string SqlDate(const LumoUtility::DateTimeValue& date);  // 'YYYY-MM-DD'

// The schedule of one vehicle: for each catalogue entry the intervention of that kind
// inserted last (highest ID), or the entry alone when the vehicle never had it.
std::string ScheduleSql(std::int32_t vehicleId);
