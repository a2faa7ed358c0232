// Export of a 100,000-row table to CSV as whole processes, timed from here: jetdump beside
// mdb-export and beside reading the file's bytes (cat), run in turn (A, B, C, A, B, C, ...)
// so that the machine's load falls on all three alike; then each one's peak memory.
// Usage: export-benchmark WORK_FOLDER JETDUMP RUNS [rows]
//        export-benchmark --write FILE ROWS   (the file, written by a child)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/BenchmarkDatabases.h"
#include "tools/BenchmarkStatistics.h"
#include "tools/ProcessRun.h"

namespace {

struct Reader {
  const char* name;
  std::vector<std::string> command;
  std::vector<double> milliseconds;
  std::vector<double> peakKiB;
};

std::string Ratio(const Spread& spread) {
  return FormatNumber(spread.median) + "x (" + FormatNumber(spread.minimum) + "-" +
         FormatNumber(spread.maximum) + ")";
}

std::string Megabytes(double kib) { return FormatNumber(kib / 1024) + " MB"; }

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--write") {
    WriteExportDatabase(argv[2], std::atol(argv[3]));
    return 0;
  }
  if (argc < 4) {
    std::fprintf(stderr, "usage: export-benchmark WORK_FOLDER JETDUMP RUNS [rows]\n");
    return 2;
  }
  const std::filesystem::path file = std::filesystem::path(argv[1]) / "export.mdb";
  const int runs = std::max(1, std::atoi(argv[3]));
  const long rows = argc > 4 ? std::atol(argv[4]) : 100000;
  // Written by a child: this process forks the measured ones and must stay small.
  const ProcessFigures write =
      RunProcess({ThisProgram(), "--write", file.string(), std::to_string(rows)});
  if (!write.ok) return 1;
  const double writeSeconds = write.milliseconds / 1000;
  const std::string table = "MISURE";

  std::vector<Reader> readers = {{"jetdump", {argv[2], file.string(), table}, {}, {}},
                                 {"mdb-export", {"mdb-export", file.string(), table}, {}, {}},
                                 {"cat", {"cat", file.string()}, {}, {}}};
  // Round 0 brings the file and the programs into the page cache and is not counted.
  for (int run = 0; run <= runs; ++run) {
    for (Reader& reader : readers) {
      ProcessFigures figures = RunProcess(reader.command);
      if (!figures.ok) {
        std::fprintf(stderr, "export-benchmark: %s failed\n", reader.name);
        return 1;
      }
      if (run == 0) continue;
      reader.milliseconds.push_back(figures.milliseconds);
      reader.peakKiB.push_back(figures.peakKiB);
    }
  }
  std::vector<double> toMdbExport, toBytes;
  for (int run = 0; run < runs; ++run) {
    toMdbExport.push_back(readers[1].milliseconds[run] / readers[0].milliseconds[run]);
    toBytes.push_back(readers[0].milliseconds[run] / readers[2].milliseconds[run]);
  }
  const Spread faster = Summarise(toMdbExport), slower = Summarise(toBytes);
  const double fileKiB = std::filesystem::file_size(file) / 1024.0;

  std::printf("export, %ld-row table to CSV (%s file, written by the engine in %.1f s), %d runs:\n",
              rows, Megabytes(fileKiB).c_str(), writeSeconds, runs);
  std::printf("  jetdump %s, mdb-export %s, cat %s\n",
              FormatMs(Summarise(readers[0].milliseconds)).c_str(),
              FormatMs(Summarise(readers[1].milliseconds)).c_str(),
              FormatMs(Summarise(readers[2].milliseconds)).c_str());
  std::printf("  jetdump %s faster than mdb-export (goal >= 3x: %s)\n", Ratio(faster).c_str(),
              Verdict(faster.median >= 3));
  std::printf("  jetdump %s the time of reading the bytes (goal <= 10x: %s)\n",
              Ratio(slower).c_str(), Verdict(slower.median <= 10));
  std::printf("peak memory of the export (%s file): jetdump %s, mdb-export %s, cat %s\n",
              Megabytes(fileKiB).c_str(), Megabytes(Summarise(readers[0].peakKiB).median).c_str(),
              Megabytes(Summarise(readers[1].peakKiB).median).c_str(),
              Megabytes(Summarise(readers[2].peakKiB).median).c_str());
  return 0;
}
