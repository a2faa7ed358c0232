#include "tests/e2e/HistoryDatabase.h"

#include "data/jet/WritableDatabase.h"

namespace e2e {

double OleDay(WORD year, WORD month, WORD day) {
  constexpr ULONGLONG kTicksPerDay = 864000000000ULL;
  constexpr double kDaysFrom1601To1899 = 109205;  // FILETIME's origin to the OLE date's
  SYSTEMTIME time{};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  FILETIME file{};
  SystemTimeToFileTime(&time, &file);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  return static_cast<double>(ticks / kTicksPerDay) - kDaysFrom1601To1899;
}

std::vector<StoredIntervention> LongHistory(int count) {
  constexpr int kKinds = 25;
  const double firstDay = OleDay(1999, 1, 1);
  std::vector<StoredIntervention> history;
  history.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    history.push_back({firstDay + i, 1 + i % kKinds, 1000 + 10 * i, 10.0 + i % 100, u""});
  }
  return history;
}

void StoreVehicle(const std::filesystem::path& database, const std::u16string& plate,
                  std::int32_t km, const std::vector<StoredIntervention>& history) {
  Jet::WritableDatabase file = Jet::WritableDatabase::Open(database);
  file.BeginWrites();
  file.InsertRow(u"VEICOLO", {Jet::Value(), Jet::Value(plate), Jet::Value(std::u16string(u"PROVA")),
                              Jet::Value(km), Jet::Value()});
  for (const StoredIntervention& done : history) {
    file.InsertRow(
        u"INTERVENTI_VEICOLO",
        {Jet::Value(), Jet::Value(std::int32_t{1}), Jet::Value(done.kind), Jet::Value(done.km),
         Jet::Value(Jet::DateTime{done.date}), Jet::Value(done.cost), Jet::Value(done.note)});
  }
  file.CommitWrites();
}

}  // namespace e2e
