// Times the schedule query for one vehicle as the history grows, over 26 catalogue kinds
// and 100 vehicles: the query must plan as a join with a per-kind maximum, so its time
// must grow linearly with the rows. Two columns: the whole LoadSchedule on an Access file
// through the built-in engine (open, read, close included), and the SQL alone over the
// same rows in memory.
// Usage: schedule-benchmark TEMPLATE [rows ...]   (default 1000 10000 100000)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "data/JetFileEngine.h"
#include "data/MaintenanceStore.h"
#include "data/jet/WritableDatabase.h"
#include "data/sql/SqlExecutor.h"
#include "data/sql/SqlParser.h"
#include "tests/data/sql/MemoryTableStore.h"

namespace {

constexpr int kKinds = 26;
constexpr int kVehicles = 100;
constexpr int kVehicle = 42;

struct History {
  int vehicle;
  int kind;
  int km;
};

History Nth(int i) { return {1 + i % kVehicles, 1 + (i / kVehicles) % kKinds, 1000 + i}; }

void FillFile(const std::filesystem::path& file, int rows) {
  Jet::WritableDatabase database = Jet::WritableDatabase::Open(file);
  database.BeginWrites();
  database.InsertRow(u"INTERVENTI", {Jet::Value(), Jet::Value(std::u16string(u"Candela")),
                                     Jet::Value(std::int32_t{6000}),
                                     Jet::Value(std::u16string(u"nota")), Jet::Value(false)});
  for (int i = 0; i < rows; ++i) {
    History h = Nth(i);
    database.InsertRow(
        u"INTERVENTI_VEICOLO",
        {Jet::Value(), Jet::Value(std::int32_t{h.vehicle}), Jet::Value(std::int32_t{h.kind}),
         Jet::Value(std::int32_t{h.km}), Jet::Value(Jet::DateTime{44377.0}), Jet::Value(84.5),
         Jet::Value(std::u16string(u"Tagliando"))});
  }
  database.CommitWrites();
}

void FillMemory(MemoryTableStore& store, int rows) {
  using Sql::Value;
  for (int kind = 1; kind <= kKinds; ++kind) {
    store.LoadRow("INTERVENTI", {Value::Null(), Value::Text(u"Intervento"), Value::Integer(6000),
                                 Value::Text(u"nota"), Value::Boolean(false)});
  }
  for (int i = 0; i < rows; ++i) {
    History h = Nth(i);
    store.LoadRow(
        "INTERVENTI_VEICOLO",
        {Value::Null(), Value::Integer(h.vehicle), Value::Integer(h.kind), Value::Integer(h.km),
         Value::DateTime(44377.0), Value::Double(84.5), Value::Text(u"Tagliando")});
  }
}

template <typename Work>
double MillisecondsPerRun(int repeats, Work work) {
  auto start = std::chrono::steady_clock::now();
  for (int r = 0; r < repeats; ++r) work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
             .count() /
         repeats;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: schedule-benchmark TEMPLATE [rows ...]\n");
    return 2;
  }
  std::filesystem::path templateFile = argv[1];
  std::vector<int> sizes;
  for (int i = 2; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {1000, 10000, 100000};
  std::filesystem::path work = std::filesystem::temp_directory_path() / "schedule-benchmark.mdb";

  std::printf("%10s %10s %16s %16s %12s\n", "rows", "file KiB", "LoadSchedule ms", "ms per 1k rows",
              "SQL only ms");
  for (int rows : sizes) {
    std::filesystem::remove(work);
    std::filesystem::copy_file(templateFile, work);
    FillFile(work, rows);
    int repeats = rows >= 100000 ? 3 : 10;
    std::size_t lines = 0;
    double engine = MillisecondsPerRun(repeats, [&] {
      MaintenanceStore store(MakeJetFileEngine(), work.wstring(), nullptr);
      lines = store.LoadSchedule(kVehicle).size();
      if (store.ErrorFlag()) std::fprintf(stderr, "%s\n", store.ErrorText().c_str());
    });

    MemoryTableStore memory;
    AddProgramTables(memory);
    FillMemory(memory, rows);
    Sql::Statement statement = Sql::ParseStatement(ScheduleSql(kVehicle));
    const auto& select = std::get<Sql::SelectStatement>(statement);
    double sql = MillisecondsPerRun(repeats, [&] { Sql::RunQuery(select, memory); });

    std::printf("%10d %10ju %16.1f %16.2f %12.1f   (%zu lines)\n", rows,
                static_cast<std::uintmax_t>(std::filesystem::file_size(work) / 1024), engine,
                engine * 1000.0 / rows, sql, lines);
  }
  std::filesystem::remove(work);
  return 0;
}
