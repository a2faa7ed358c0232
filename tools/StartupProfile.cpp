// Where the program's start-up time goes. Started plainly, it starts itself again several
// times as a separate process, the way the program is started, alternately on the
// existing database of the prefix's user and on a new, empty user folder, and prints the
// median of each phase. Each such process runs the program's real start-up code with a
// CBT hook that notes every window the thread creates or destroys; the phases are cut at
// those windows:
//   start to main          CreateProcess until main runs (loading the executable and its
//                          libraries, the C++ run-time's set-up)
//   provisioning           template check and copy (ProvisionDatabase)
//   main form              class, window and menu of the main window, up to its toolbar
//   toolbar                the toolbar, up to the data store's COM probe
//   database               the store: engine choice, opening, counting (and on a new
//                          database the seeded entry), up to the grid's first window
//   grid                   the grid's windows, one per cell
//   showing                the main window shown, painted and activated, up to the terms
// (The grid's windows now wait for the first vehicle: "database" and "grid" are 0, and the
// store's work is counted in "showing".)
//   terms                  the terms window and its controls
//   first messages         what was queued when the construction returned
// Usage: startup-profile [runs]   from the folder that holds "filedat"
// Run under Wine with scripts/profile-startup.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/BackupRestore.h"
#include "app/ProgramRun.h"
#include "app/Startup.h"
#include "screens/FormGrid.h"
#include "toolkit/FormLeggimi.h"
#include "tools/UserFolderRedirect.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kPhases[] = {"start to main", "provisioning", "main form",
                                   "toolbar",       "database",     "grid",
                                   "showing",       "terms",        "first messages"};
constexpr int kPhaseCount = sizeof kPhases / sizeof kPhases[0];

long long Counter() {
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return counter.QuadPart;
}

double CounterMs(long long ticks) {
  static const double frequency = [] {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  return static_cast<double>(ticks) * 1000.0 / frequency;
}

struct WindowEvent {
  long long at;
  std::wstring className;
  bool created;
};

std::vector<WindowEvent> Events;
HHOOK EventHook = nullptr;

LRESULT CALLBACK RecordWindowEvent(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND || code == HCBT_DESTROYWND) {
    wchar_t name[128] = {};
    GetClassNameW(reinterpret_cast<HWND>(wParam), name, 128);
    Events.push_back({Counter(), name, code == HCBT_CREATEWND});
  }
  return CallNextHookEx(EventHook, code, wParam, lParam);
}

// The first window created at or after `from` whose class name starts with the prefix;
// its time, or `fallback` when there is none.
long long FirstCreation(const wchar_t* prefix, long long from, long long fallback) {
  for (const WindowEvent& event : Events) {
    if (event.created && event.at >= from && event.className.rfind(prefix, 0) == 0) {
      return event.at;
    }
  }
  return fallback;
}

long long LastCreation(const wchar_t* prefix, long long fallback) {
  long long last = fallback;
  for (const WindowEvent& event : Events) {
    if (event.created && event.className.rfind(prefix, 0) == 0) last = event.at;
  }
  return last;
}

void DispatchQueued() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// One start of the program's code, timed; prints one line: the phases in milliseconds.
int ProfileOneStart(long long startedAt, bool newUser) {
  const long long atMain = Counter();
  UserFolderRedirect redirect;
  wchar_t temporary[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temporary);
  const fs::path newUserFolder =
      fs::path(temporary) / (L"torvane-profile-" + std::to_wstring(GetCurrentProcessId()));
  if (newUser) {
    fs::create_directories(newUserFolder);
    redirect.PointAt(newUserFolder);
  }

  EventHook = SetWindowsHookExW(WH_CBT, RecordWindowEvent, nullptr, GetCurrentThreadId());
  const long long provisionStart = Counter();
  if (!ProvisionDatabase()) return 1;
  const long long provisionEnd = Counter();
  auto mainForm = std::make_unique<MyApp::FormGrid>(
      GetModuleHandleW(nullptr), kProgramCaption,
      MyApp::FormGrid::HousekeepingCommands{BackupDatabase, RestoreDatabase, nullptr, nullptr});
  const long long constructed = Counter();
  DispatchQueued();
  const long long idle = Counter();
  UnhookWindowsHookEx(EventHook);
  const bool termsShown = mainForm->termsViewer && mainForm->termsViewer->window;
  mainForm.reset();
  DispatchQueued();
  std::error_code ignored;
  if (newUser) fs::remove_all(newUserFolder, ignored);
  if (!termsShown) return 1;

  // Cut points, in order; a missing window leaves its phase empty rather than wrong.
  const long long toolbar = FirstCreation(L"ToolbarWindow32", provisionEnd, provisionEnd);
  const long long probe = FirstCreation(L"OleMainThreadWndClass", toolbar, toolbar);
  const long long grid = FirstCreation(L"PanelChildren", probe, probe);
  const long long gridEnd = LastCreation(L"PanelChildren", grid);
  // The terms window is the second form ("Window" and the class number).
  const long long terms = FirstCreation(L"Window", gridEnd, constructed);
  const long long cuts[] = {startedAt, atMain,  provisionStart, provisionEnd, toolbar, probe,
                            grid,      gridEnd, terms,          constructed,  idle};
  // "provisioning" starts at provisionStart; what lies between main and it (the folder
  // redirect of this tool) belongs to no phase.
  const int from[] = {0, 2, 3, 4, 5, 6, 7, 8, 9};
  const int to[] = {1, 3, 4, 5, 6, 7, 8, 9, 10};
  for (int phase = 0; phase < kPhaseCount; ++phase) {
    std::printf("%s%.2f", phase ? " " : "", CounterMs(cuts[to[phase]] - cuts[from[phase]]));
  }
  std::printf("\n");
  return 0;
}

struct ChildRun {
  bool ok = false;
  std::vector<double> phases;
};

// Starts this program again as a profiled start and reads its line of phases.
ChildRun RunChild(bool newUser) {
  ChildRun run;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return run;
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  const long long startedAt = Counter();
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --child " +
                             std::to_wstring(startedAt) + (newUser ? L" --new-user" : L"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(self, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(writeEnd);
  std::string output;
  if (started) {
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      output.append(buffer, got);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    run.ok = code == 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(readEnd);
  const char* cursor = output.c_str();
  char* end = nullptr;
  for (double value = std::strtod(cursor, &end); end != cursor; value = std::strtod(cursor, &end)) {
    run.phases.push_back(value);
    cursor = end;
  }
  run.ok = run.ok && run.phases.size() == static_cast<size_t>(kPhaseCount);
  return run;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (const char* child = std::strstr(commandLine, "--child ")) {
    return ProfileOneStart(std::atoll(child + 8), std::strstr(commandLine, "--new-user"));
  }
  const int runs = std::max(1, std::atoi(commandLine));
  std::vector<double> existing[kPhaseCount], fresh[kPhaseCount];
  double existingTotal = 0, freshTotal = 0;
  int failures = 0;
  // The first start provisions the existing database if the prefix's user has none yet,
  // and warms the disk cache; it is not counted.
  RunChild(false);
  for (int run = 0; run < runs; ++run) {
    for (bool newUser : {false, true}) {
      ChildRun result = RunChild(newUser);
      if (!result.ok) {
        ++failures;
        continue;
      }
      for (int phase = 0; phase < kPhaseCount; ++phase) {
        (newUser ? fresh : existing)[phase].push_back(result.phases[phase]);
      }
    }
  }
  std::printf("start-up phases, median of %d starts each (ms)\n", runs);
  std::printf("  %-16s %18s %16s\n", "", "existing database", "new user folder");
  for (int phase = 0; phase < kPhaseCount; ++phase) {
    const double a = Median(existing[phase]);
    const double b = Median(fresh[phase]);
    existingTotal += a;
    freshTotal += b;
    std::printf("  %-16s %18.1f %16.1f\n", kPhases[phase], a, b);
  }
  std::printf("  %-16s %18.1f %16.1f\n", "sum of medians", existingTotal, freshTotal);
  if (failures) std::printf("%d profiled start(s) failed\n", failures);
  return failures == 0 ? 0 : 1;
}
