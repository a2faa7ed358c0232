// The schedule of one vehicle (MaintenanceStore::LoadSchedule: open, query, close) beside
// one plain engine scan of its history table (open, every row with all columns decoded,
// close) on the same file, in turn in this process, at each number of history rows; then
// the peak memory of a process that opens the file and runs one LoadSchedule, beside the
// file's size.
// Usage: schedule-benchmark TEMPLATE WORK_FOLDER RUNS [rows ...]   (10000 100000)
// and, started by itself: --write TEMPLATE FILE ROWS, --time FILE ROWS RUNS, --load-once
// FILE (the process whose memory is measured), --nothing (a process that does no work).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/JetFileEngine.h"
#include "data/MaintenanceStore.h"
#include "data/jet/Database.h"
#include "tools/BenchmarkDatabases.h"
#include "tools/BenchmarkStatistics.h"
#include "tools/ProcessRun.h"
#include "tools/Stopwatch.h"

namespace {

// Lines of the schedule, or -1 when the store reported an error.
long LoadSchedule(const std::filesystem::path& file) {
  MaintenanceStore store(MakeJetFileEngine(), file.wstring(), nullptr);
  const long lines = static_cast<long>(store.LoadSchedule(kScheduleVehicle).size());
  if (!store.ErrorFlag()) return lines;
  std::fprintf(stderr, "schedule-benchmark: %s\n", store.ErrorText().c_str());
  return -1;
}

long ScanHistory(const std::filesystem::path& file) {
  Jet::Database database = Jet::Database::OpenFile(file);
  Jet::TableScan scan = database.Scan(database.ReadTable(u"INTERVENTI_VEICOLO"));
  std::vector<Jet::Value> values;
  long rows = 0;
  while (scan.Next(values)) ++rows;
  return rows;
}

std::string Megabytes(double bytes) { return FormatNumber(bytes / 1048576) + " MB"; }

// LoadSchedule and the scan in turn on one file; prints the line of the figures.
int TimeInTurn(const std::filesystem::path& file, int rows, int runs) {
  std::vector<double> load, scan, ratio;
  // Round 0 warms the page cache and the allocator and is not counted.
  for (int run = 0; run <= runs; ++run) {
    auto start = Clock::now();
    if (LoadSchedule(file) <= 0) return 1;
    const double loadMs = MillisecondsSince(start);
    start = Clock::now();
    if (ScanHistory(file) != rows) {
      std::fprintf(stderr, "schedule-benchmark: the scan did not find %d rows\n", rows);
      return 1;
    }
    const double scanMs = MillisecondsSince(start);
    if (run == 0) continue;
    load.push_back(loadMs);
    scan.push_back(scanMs);
    ratio.push_back(loadMs / scanMs);
  }
  const Spread ratioSpread = Summarise(ratio);
  std::printf("  %6d rows: LoadSchedule %s, scan %s: %sx (%s-%s) (goal <= 2x: %s)\n", rows,
              FormatMs(Summarise(load)).c_str(), FormatMs(Summarise(scan)).c_str(),
              FormatNumber(ratioSpread.median).c_str(), FormatNumber(ratioSpread.minimum).c_str(),
              FormatNumber(ratioSpread.maximum).c_str(), Verdict(ratioSpread.median <= 2));
  return 0;
}

// The median peak of a few processes running this program with these arguments, in bytes.
double PeakBytes(const std::vector<std::string>& arguments) {
  std::vector<double> peaks;
  for (int run = 0; run < 3; ++run) {
    std::vector<std::string> command = {ThisProgram()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    const ProcessFigures figures = RunProcess(command);
    if (!figures.ok) return -1;
    peaks.push_back(figures.peakKiB * 1024);
  }
  return Summarise(peaks).median;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (argc == 3 && mode == "--load-once") return LoadSchedule(argv[2]) > 0 ? 0 : 1;
  if (argc == 2 && mode == "--nothing") return 0;
  if (argc == 5 && mode == "--write") {
    WriteScheduleDatabase(argv[2], argv[3], std::atoi(argv[4]));
    return 0;
  }
  if (argc == 5 && mode == "--time")
    return TimeInTurn(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  if (argc < 4) {
    std::fprintf(stderr, "usage: schedule-benchmark TEMPLATE WORK_FOLDER RUNS [rows ...]\n");
    return 2;
  }
  const std::filesystem::path work = argv[2];
  const int runs = std::max(1, std::atoi(argv[3]));
  std::vector<int> sizes;
  for (int i = 4; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {10000, 100000};

  // Every step that grows memory runs in a child: this process forks the measured ones.
  std::printf("schedule of one vehicle vs one scan of its history table, %d runs:\n", runs);
  std::vector<std::filesystem::path> files;
  for (int rows : sizes) {
    files.push_back(work / ("schedule-" + std::to_string(rows) + ".mdb"));
    const std::string count = std::to_string(rows);
    if (!RunProcess({ThisProgram(), "--write", argv[1], files.back().string(), count}).ok ||
        !RunProcess({ThisProgram(), "--time", files.back().string(), count, std::to_string(runs)},
                    true)
             .ok) {
      return 1;
    }
  }
  std::printf(
      "peak memory of one process opening the file and running one LoadSchedule (the same "
      "program doing nothing: %s):\n",
      Megabytes(PeakBytes({"--nothing"})).c_str());
  for (size_t i = 0; i < sizes.size(); ++i) {
    const double peak = PeakBytes({"--load-once", files[i].string()});
    const double fileBytes = static_cast<double>(std::filesystem::file_size(files[i]));
    std::printf("  %6d rows: %s, file %s (goal <= file + 5 MB: %s)\n", sizes[i],
                Megabytes(peak).c_str(), Megabytes(fileBytes).c_str(),
                Verdict(peak >= 0 && peak <= fileBytes + 5 * 1048576.0));
  }
  return 0;
}
