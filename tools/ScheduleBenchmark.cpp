// Times the schedule query for one vehicle as the history grows: the query must plan as
// a join with a per-kind maximum, so its time must grow linearly with the rows.
// Usage: schedule-benchmark [rows ...]   (default 1000 10000 100000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "data/MaintenanceStore.h"
#include "data/sql/SqlExecutor.h"
#include "data/sql/SqlParser.h"
#include "tests/data/sql/MemoryTableStore.h"

namespace {

constexpr int kKinds = 26;
constexpr int kVehicles = 100;

void Fill(MemoryTableStore& store, int historyRows) {
  using Sql::Value;
  for (int kind = 1; kind <= kKinds; ++kind) {
    store.LoadRow("INTERVENTI", {Value::Null(), Value::Text(u"Intervento"), Value::Integer(6000),
                                 Value::Text(u"nota"), Value::Boolean(false)});
  }
  for (int i = 0; i < historyRows; ++i) {
    int vehicle = 1 + i % kVehicles;
    int kind = 1 + (i / kVehicles) % kKinds;
    store.LoadRow("INTERVENTI_VEICOLO",
                  {Value::Null(), Value::Integer(vehicle), Value::Integer(kind),
                   Value::Integer(1000 + i), Value::DateTime(44377.0), Value::Double(84.5),
                   Value::Text(u"Tagliando")});
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 10000, 100000};
  std::printf("%10s %12s %14s\n", "rows", "ms/query", "us per 1k rows");
  for (int rows : sizes) {
    MemoryTableStore store;
    AddProgramTables(store);
    Fill(store, rows);
    Sql::Statement statement = Sql::ParseStatement(ScheduleSql(42));
    const auto& select = std::get<Sql::SelectStatement>(statement);
    int repeats = rows >= 100000 ? 3 : 10;
    std::size_t lines = 0;
    auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < repeats; ++r) lines = Sql::RunQuery(select, store).rows.size();
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count() / repeats;
    std::printf("%10d %12.2f %14.1f   (%zu schedule lines)\n", rows, ms, ms * 1000.0 * 1000.0 / rows,
                lines);
  }
  return 0;
}
