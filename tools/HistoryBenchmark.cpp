// Times the history form of one vehicle as its history grows (1,000, 10,000 and 100,000
// interventions, or the counts given): the real main window's "Storico" command until the
// form has loaded the history, been built and painted, then the form's closing; and the
// process's memory (private bytes, peak working set) before, with the form open and after
// it closed; last, the store's read of the history alone. Each run is a process of its own,
// started by this one on a database prepared once per count, so that no run inherits the
// caches or the peak of another; every round runs each count in turn. Prints the medians
// of the runs and the growth from one count to the next beside the goal of linear growth.
// Usage: history-benchmark [runs] [count ...]   (5 runs; 1000 10000 100000)
// Run under Wine by scripts/benchmark.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "data/DatabasePath.h"
#include "data/MaintenanceStore.h"
#include "screens/FormGrid.h"
#include "screens/FormStorico.h"
#include "tests/e2e/HistoryDatabase.h"
#include "toolkit/Button.h"
#include "toolkit/FormLeggimi.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"
#include "tools/BenchmarkStatistics.h"
#include "tools/Stopwatch.h"

namespace fs = std::filesystem;

namespace {

const wchar_t kHistoryTitle[] = L"Storico interventi";

// What one run measured (times in ms, memory in KiB).
struct RunFigures {
  double openMs = 0, closeMs = 0;
  // After closing, the main window keeps the closed form (and its rows) until it opens
  // the next one: "held" is before it lets go, "released" after.
  double privateBefore = 0, privateOpen = 0, privateHeld = 0, privateReleased = 0;
  double peakBefore = 0, peakOpen = 0;
  // The store's part alone, measured last: the history read and held as the form holds it.
  double storeMs = 0, storeGrowth = 0;
  long rows = 0;
};

void DispatchQueued() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Private bytes are read as PagefileUsage, the commit charge, which Windows also reports as
// PrivateUsage; Wine leaves PrivateUsage at 0 and counts in PagefileUsage only the private
// pages touched.
void ReadMemory(double& privateKiB, double& peakKiB) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  privateKiB = counters.PagefileUsage / 1024.0;
  peakKiB = counters.PeakWorkingSetSize / 1024.0;
}

BOOL CALLBACK FindHistoryForm(HWND window, LPARAM found) {
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  if (!IsWindowVisible(window) || std::wstring(title) != kHistoryTitle) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The form's first list view (the history; the totals come second), at any depth.
BOOL CALLBACK FindListView(HWND window, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (std::wstring(name) != WC_LISTVIEWW) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// One run in this process: the main window on the database, the vehicle shown, the
// history opened and closed once; its figures go to the result file (the number of rows
// the form shows among them). Answers 0 when it could measure.
int MeasureOneRun(const fs::path& database, const fs::path& resultFile) {
  DatabasePath = database.wstring();
  MyApp::FormGrid main(GetModuleHandleW(nullptr), "Benchmark");
  HWND terms = main.termsViewer->window;
  SendMessageW(main.termsViewer->acceptButton->window, BM_CLICK, 0, 0);
  while (IsWindow(terms)) DispatchQueued();
  {
    MaintenanceStore store;
    main.currentVehicle = store.LoadVehicleByPlate("AB123CD");
    main.schedule = store.LoadSchedule(main.currentVehicle.ID);
  }
  main.ShowVehicle(true);
  DispatchQueued();

  RunFigures figures;
  ReadMemory(figures.privateBefore, figures.peakBefore);
  auto start = Clock::now();
  SendMessageW(main.window, WM_COMMAND, MAKEWPARAM(main.historyButton->id, BN_CLICKED),
               reinterpret_cast<LPARAM>(main.toolBar->window));
  // Everything queued, painting last: the form is on screen, its visible rows drawn.
  DispatchQueued();
  figures.openMs = MillisecondsSince(start);
  ReadMemory(figures.privateOpen, figures.peakOpen);
  HWND form = nullptr, list = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindHistoryForm, reinterpret_cast<LPARAM>(&form));
  if (!form) {
    std::fprintf(stderr, "the history form did not open\n");
    return 1;
  }
  EnumChildWindows(form, FindListView, reinterpret_cast<LPARAM>(&list));
  figures.rows = list ? static_cast<long>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;

  start = Clock::now();
  PostMessageW(form, WM_CLOSE, 0, 0);
  while (IsWindow(form)) DispatchQueued();
  DispatchQueued();
  figures.closeMs = MillisecondsSince(start);
  double peak = 0;
  ReadMemory(figures.privateHeld, peak);
  main.historyForm.reset();
  ReadMemory(figures.privateReleased, peak);
  start = Clock::now();
  {
    MaintenanceStore store;
    const std::vector<VehicleIntervention> rows = store.ListVehicleHistory(main.currentVehicle.ID);
    figures.storeMs = MillisecondsSince(start);
    double privateStore = 0;
    ReadMemory(privateStore, peak);
    figures.storeGrowth = privateStore - figures.privateReleased;
  }
  main.closeWithoutAsking = true;

  std::ofstream out(resultFile);
  out << figures.openMs << ' ' << figures.closeMs << ' ' << figures.privateBefore << ' '
      << figures.privateOpen << ' ' << figures.privateHeld << ' ' << figures.privateReleased << ' '
      << figures.peakBefore << ' ' << figures.peakOpen << ' ' << figures.storeMs << ' '
      << figures.storeGrowth << ' ' << figures.rows << '\n';
  return out ? 0 : 1;
}

fs::path ThisProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

bool StartRun(const fs::path& database, const fs::path& resultFile, RunFigures& figures) {
  std::wstring command = L"\"" + ThisProgram().wstring() + L"\" --run \"" + database.wstring() +
                         L"\" \"" + resultFile.wstring() + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  std::ifstream in(resultFile);
  return code == 0 && in >> figures.openMs >> figures.closeMs >> figures.privateBefore >>
                          figures.privateOpen >> figures.privateHeld >> figures.privateReleased >>
                          figures.peakBefore >> figures.peakOpen >> figures.storeMs >>
                          figures.storeGrowth >> figures.rows;
}

// The median of one figure over the runs.
template <typename Figure>
double Median(const std::vector<RunFigures>& runs, Figure figure) {
  std::vector<double> values;
  for (const RunFigures& run : runs) values.push_back(figure(run));
  return Summarise(values).median;
}

// The medians of one count.
struct CountFigures {
  int count = 0;
  double openMs = 0, closeMs = 0, privateGrowth = 0, privateHeld = 0, privateReleased = 0,
         peakOpen = 0, peakGrowth = 0, storeMs = 0, storeGrowth = 0;
};

CountFigures Medians(int count, const std::vector<RunFigures>& runs) {
  CountFigures row;
  row.count = count;
  row.openMs = Median(runs, [](const RunFigures& run) { return run.openMs; });
  row.closeMs = Median(runs, [](const RunFigures& run) { return run.closeMs; });
  row.privateGrowth =
      Median(runs, [](const RunFigures& run) { return run.privateOpen - run.privateBefore; });
  row.privateHeld =
      Median(runs, [](const RunFigures& run) { return run.privateHeld - run.privateBefore; });
  row.privateReleased =
      Median(runs, [](const RunFigures& run) { return run.privateReleased - run.privateBefore; });
  row.peakOpen = Median(runs, [](const RunFigures& run) { return run.peakOpen; });
  row.peakGrowth =
      Median(runs, [](const RunFigures& run) { return run.peakOpen - run.peakBefore; });
  row.storeMs = Median(runs, [](const RunFigures& run) { return run.storeMs; });
  row.storeGrowth = Median(runs, [](const RunFigures& run) { return run.storeGrowth; });
  return row;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--run") return MeasureOneRun(argv[2], argv[3]);
  const int runs = argc > 1 ? std::max(1, _wtoi(argv[1])) : 5;
  std::vector<int> counts;
  for (int i = 2; i < argc; ++i) counts.push_back(_wtoi(argv[i]));
  if (counts.empty()) counts = {1000, 10000, 100000};

  const fs::path work = fs::temp_directory_path() / "history-benchmark";
  fs::remove_all(work);
  fs::create_directories(work);
  std::vector<fs::path> databases;
  for (int count : counts) {
    databases.push_back(work / ("storico-" + std::to_string(count) + ".mdb"));
    fs::copy_file(ThisProgram().parent_path() / "filedat", databases.back());
    e2e::StoreVehicle(databases.back(), u"AB123CD", 2000000, e2e::LongHistory(count));
  }
  // The counts in turn in every round, so that the machine's load falls on all alike.
  std::vector<std::vector<RunFigures>> figures(counts.size(),
                                               std::vector<RunFigures>(static_cast<size_t>(runs)));
  for (int run = 0; run < runs; ++run) {
    for (size_t i = 0; i < counts.size(); ++i) {
      RunFigures& result = figures[i][static_cast<size_t>(run)];
      if (!StartRun(databases[i], work / "run.txt", result) || result.rows != counts[i]) {
        std::fprintf(stderr, "run %d with %d interventions failed (%ld rows shown)\n", run + 1,
                     counts[i], result.rows);
        return 1;
      }
    }
  }
  fs::remove_all(work);

  std::printf("history list of one vehicle under Wine, %d runs (each a new process):\n", runs);
  std::vector<CountFigures> table;
  for (size_t i = 0; i < counts.size(); ++i) {
    table.push_back(Medians(counts[i], figures[i]));
    std::vector<double> open;
    for (const RunFigures& run : figures[i]) open.push_back(run.openMs);
    const CountFigures& row = table.back();
    std::printf(
        "  %6d rows: open %s, close %s, private bytes +%s MB open (+%s MB held after "
        "closing), peak working set %s MB, store read alone %s\n",
        row.count, FormatMs(Summarise(open)).c_str(), (FormatNumber(row.closeMs) + " ms").c_str(),
        FormatNumber(row.privateGrowth / 1024).c_str(),
        FormatNumber(row.privateHeld / 1024).c_str(), FormatNumber(row.peakOpen / 1024).c_str(),
        (FormatNumber(row.storeMs) + " ms").c_str());
  }
  // Linear growth: the open time and the memory grow with the rows (ratio about the rows'
  // ratio, less while the form's fixed cost still counts), never faster.
  for (size_t i = 1; i < table.size(); ++i) {
    const CountFigures &small = table[i - 1], &large = table[i];
    const double rowsRatio = static_cast<double>(large.count) / small.count;
    const double openRatio = large.openMs / small.openMs;
    const double memoryRatio = large.privateGrowth / small.privateGrowth;
    std::printf(
        "  growth %d/%d (rows x%s): open x%s, private bytes x%s (goal linear, at most "
        "x%s: %s)\n",
        large.count, small.count, FormatNumber(rowsRatio).c_str(), FormatNumber(openRatio).c_str(),
        FormatNumber(memoryRatio).c_str(), FormatNumber(rowsRatio * 1.2).c_str(),
        Verdict(openRatio <= rowsRatio * 1.2 && memoryRatio <= rowsRatio * 1.2));
  }
  return 0;
}
