// Benchmark of the storage engine (not a test): writes 100,000 rows into a new table,
// scans them back, times mdb-export scanning the same file in the same run, and the cost
// of one open-read-close cycle on the template database.
// Usage: jet-benchmark <work folder> <template file> [rows]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "data/jet/DatabaseCreator.h"
#include "data/jet/JetError.h"
#include "data/jet/Validator.h"
#include "data/jet/WritableDatabase.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: " << argv[0] << " <work folder> <template file> [rows]\n";
    return 2;
  }
  std::filesystem::path folder = argv[1];
  std::filesystem::path templateFile = argv[2];
  long rows = argc > 3 ? std::atol(argv[3]) : 100000;
  std::filesystem::create_directories(folder);
  std::filesystem::path path = folder / "benchmark.mdb";
  try {
    Jet::CreateEmptyDatabase(path);
    Jet::WritableDatabase database = Jet::WritableDatabase::Open(path);
    using T = Jet::NewColumnType;
    database.CreateTable({u"MISURE",
                          {{u"ID", T::kAutoNumber},
                           {u"TARGA", T::kText, 20},
                           {u"KM", T::kLong},
                           {u"COSTO", T::kDouble},
                           {u"DATA", T::kDateTime},
                           {u"NOTE", T::kText, 255}},
                          u"ID"},
                         46000.0);
    Clock::time_point start = Clock::now();
    database.BeginWrites();
    for (long i = 0; i < rows; ++i) {
      std::u16string plate =
          u"AB" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"CD";
      database.InsertRow(
          u"MISURE", {Jet::Value(), Jet::Value(plate), Jet::Value(static_cast<std::int32_t>(i * 7)),
                      Jet::Value(i * 0.25), Jet::Value(Jet::DateTime{40000.0 + i % 5000}),
                      Jet::Value(std::u16string(u"tagliando n. ") + std::u16string(i % 40, u'x'))});
    }
    database.CommitWrites();
    double insertSeconds = Seconds(start);
    std::printf("insert: %ld rows in %.2f s = %.0f rows/s (one commit; file %.1f MB)\n", rows,
                insertSeconds, rows / insertSeconds, std::filesystem::file_size(path) / 1048576.0);

    start = Clock::now();
    long scanned = 0;
    {
      Jet::Database reader = Jet::Database::OpenFile(path);
      Jet::TableScan scan = reader.Scan(reader.ReadTable(u"MISURE"));
      std::vector<Jet::Value> values;
      while (scan.Next(values)) ++scanned;
    }
    double scanSeconds = Seconds(start);
    std::printf("engine scan: %ld rows in %.3f s = %.0f rows/s\n", scanned, scanSeconds,
                scanned / scanSeconds);

    std::string command = "mdb-export '" + path.string() + "' MISURE > /dev/null";
    start = Clock::now();
    int status = std::system(command.c_str());
    double exportSeconds = Seconds(start);
    if (status == 0) {
      std::printf("mdb-export scan: %ld rows in %.3f s = %.0f rows/s; engine %.1fx faster\n",
                  scanned, exportSeconds, scanned / exportSeconds, exportSeconds / scanSeconds);
    } else {
      std::printf("mdb-export failed (status %d)\n", status);
    }

    const int cycles = 200;
    start = Clock::now();
    for (int i = 0; i < cycles; ++i) {
      Jet::Database reader = Jet::Database::OpenFile(templateFile);
      for (const Jet::CatalogTable& table : reader.UserTables())
        Jet::CountRows(reader.Pages(), reader.ReadTable(table));
    }
    std::printf("template open-read-close: %.3f ms per cycle\n", Seconds(start) * 1000 / cycles);

    Jet::Database reader = Jet::Database::OpenFile(path);
    Jet::ValidationReport report = Jet::ValidateDatabase(reader.Pages());
    std::printf("validator on the benchmark file: %s\n",
                report.Ok() ? "consistent" : report.problems.front().c_str());
    return report.Ok() && scanned == rows ? 0 : 1;
  } catch (const Jet::JetError& error) {
    std::cerr << "jet-benchmark: " << error.what() << "\n";
    return 1;
  }
}
