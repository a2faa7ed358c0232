// Times the program's start-up as a user sees it: from CreateProcess until its terms
// window ("Leggimi") is visible and the program waits for input, started from the folder that holds
// "filedat", once with a new user folder (the database is provisioned) and once with the database
// already there. Beside it, the same for the minimal Win32 program (one class, one window), which
// measures what starting any program costs under this Wine. Each start is ended as a user
// would (the terms are declined, the minimal window closed) and must exit with code 0.
// Usage: startup-benchmark <TorvaneManutenzione.exe> <minimal-window.exe> [runs]
// Run under Wine by scripts/benchmark.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/BenchmarkStatistics.h"
#include "tools/UserFolderRedirect.h"

namespace fs = std::filesystem;

namespace {

constexpr wchar_t kTermsTitle[] = L"Leggimi";
constexpr wchar_t kExitQuestionTitle[] = L"Uscita";
constexpr wchar_t kMinimalTitle[] = L"Finestra minima";
constexpr wchar_t kDeclineText[] = L"Non Accetto";
constexpr double kWindowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 20000;
// Only for a program that waits for input before its window shows.
constexpr DWORD kPollMs = 5;

double NowMs() {
  static const double frequency = [] {
    LARGE_INTEGER value{};
    QueryPerformanceFrequency(&value);
    return static_cast<double>(value.QuadPart);
  }();
  LARGE_INTEGER counter{};
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1000.0 / frequency;
}

// A started program; one that is still running when this goes is ended by force.
class ChildProcess {
 public:
  ChildProcess(const fs::path& program, const fs::path& folder) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr,
                              FALSE, 0, nullptr, folder.wstring().c_str(), &startup, &info_);
  }
  ~ChildProcess() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, kExitTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return started_; }
  DWORD Id() const { return info_.dwProcessId; }
  HANDLE Handle() const { return info_.hProcess; }
  bool Exited(DWORD timeoutMs) const {
    return WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

struct WindowSearch {
  DWORD processId;
  std::wstring title;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  if (search->title != text) return TRUE;
  search->found = window;
  return FALSE;
}

// A visible top-level window of the process with this title.
HWND FindVisibleWindow(DWORD processId, const std::wstring& title) {
  WindowSearch search{processId, title, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

BOOL CALLBACK MatchChildText(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  if (search->title != text) return TRUE;
  search->found = window;
  return FALSE;
}

HWND FindChildWithText(HWND parent, const std::wstring& text) {
  WindowSearch search{0, text, nullptr};
  EnumChildWindows(parent, MatchChildText, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string Narrow(const std::wstring& text) {
  std::string result;
  for (wchar_t c : text) result += static_cast<char>(c < 0x80 ? c : '?');
  return result;
}

// One start of a program: when its windows became visible and how long it took to go.
struct Sample {
  double shownMs = -1;  // the window the start is timed to
  bool polled = false;  // seen by polling, not when the program first waited for input
  double exitMs = -1;   // from the closing action to the end of the process
  std::string failure;  // empty when the start and the end went as they should
};

enum class Closing { DeclineTerms, CloseWindow };

struct Launch {
  fs::path program;
  fs::path folder;
  std::wstring title;
  Closing closing;
};

Sample TimeStart(const Launch& launch) {
  Sample sample;
  const double start = NowMs();
  ChildProcess process(launch.program, launch.folder);
  if (!process.Started()) {
    sample.failure = "cannot start " + launch.program.filename().string();
    return sample;
  }
  // The start is over when the program first waits for input (Wine signals it when the
  // thread first asks for a message and finds none): no polling loads the wineserver that
  // the start itself is busy with. The window must then be visible; a program that waited
  // for input before its window showed is watched by polling instead.
  const bool idle = WaitForInputIdle(process.Handle(), static_cast<DWORD>(kWindowTimeoutMs)) == 0;
  const double idleMs = NowMs() - start;
  HWND shown = idle ? FindVisibleWindow(process.Id(), launch.title) : nullptr;
  if (shown) sample.shownMs = idleMs;
  while (!shown) {
    if (process.Exited(0)) {
      sample.failure = "ended with exit code " + std::to_string(process.ExitCode()) +
                       " before its window \"" + Narrow(launch.title) + "\" showed";
      return sample;
    }
    if (NowMs() - start > kWindowTimeoutMs) {
      sample.failure = "no window \"" + Narrow(launch.title) + "\" within 30 s";
      return sample;
    }
    Sleep(kPollMs);
    shown = FindVisibleWindow(process.Id(), launch.title);
    if (shown) {
      sample.shownMs = NowMs() - start;
      sample.polled = true;
    }
  }

  const double closing = NowMs();
  if (launch.closing == Closing::DeclineTerms) {
    HWND decline = FindChildWithText(shown, kDeclineText);
    if (!decline) {
      sample.failure = "the terms window has no \"Non Accetto\" button";
      return sample;
    }
    PostMessageW(decline, BM_CLICK, 0, 0);
  } else {
    PostMessageW(shown, WM_CLOSE, 0, 0);
  }
  if (!process.Exited(kExitTimeoutMs)) {
    sample.failure = FindVisibleWindow(process.Id(), kExitQuestionTitle)
                         ? "asked \"Vuoi realmente uscire?\" instead of ending"
                         : "still running 20 s after it was closed";
    return sample;
  }
  sample.exitMs = NowMs() - closing;
  if (process.ExitCode() != 0) {
    sample.failure = "exit code " + std::to_string(process.ExitCode()) + " instead of 0";
  }
  return sample;
}

std::vector<char> FileBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

struct Series {
  std::vector<double> shown;
  int polled = 0;
  std::vector<double> exit;

  void Add(const Sample& sample) {
    shown.push_back(sample.shownMs);
    if (sample.polled) ++polled;
    exit.push_back(sample.exitMs);
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(
        stderr, "usage: startup-benchmark <TorvaneManutenzione.exe> <minimal-window.exe> [runs]\n");
    return 2;
  }
  const fs::path program = fs::absolute(argv[1]);
  const fs::path minimal = fs::absolute(argv[2]);
  const int runs = argc > 3 ? std::max(1, _wtoi(argv[3])) : 10;
  // Started as the user starts it: from its own folder, which holds the template.
  const fs::path programFolder = program.parent_path();
  const fs::path templateFile = programFolder / "filedat";
  if (!fs::exists(templateFile)) {
    std::fprintf(stderr, "no filedat beside %s\n", program.string().c_str());
    return 2;
  }

  wchar_t temporary[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temporary);
  const fs::path work =
      fs::path(temporary) / (L"torvane-startup-" + std::to_wstring(GetCurrentProcessId()));
  std::error_code ignored;
  fs::remove_all(work, ignored);
  fs::create_directories(work);
  const fs::path existingUser = work / L"esistente";

  int failures = 0;
  Series minimalSeries, freshSeries, existingSeries;
  {
    UserFolderRedirect redirect;
    const Launch minimalLaunch{minimal, minimal.parent_path(), kMinimalTitle, Closing::CloseWindow};
    const Launch programLaunch{program, programFolder, kTermsTitle, Closing::DeclineTerms};
    auto report = [&](const char* what, int run, const Sample& sample) {
      if (sample.failure.empty()) return true;
      std::printf("FAILED %s, run %d: %s\n", what, run, sample.failure.c_str());
      ++failures;
      return false;
    };

    // Run 0 warms the disk cache and Wine's loaded libraries and is not counted; it also
    // provisions the database that the "existing database" starts find.
    for (int run = 0; run <= runs; ++run) {
      Sample sample = TimeStart(minimalLaunch);
      if (report("minimal program", run, sample) && run > 0) minimalSeries.Add(sample);

      const fs::path freshUser =
          run == 0 ? existingUser : work / (L"nuovo-" + std::to_wstring(run));
      fs::create_directories(freshUser);
      redirect.PointAt(freshUser);
      sample = TimeStart(programLaunch);
      const fs::path database = freshUser / L"TorvaneManutenzione" / L"dati" / L"dati.mdb";
      if (sample.failure.empty() && FileBytes(database).size() != FileBytes(templateFile).size()) {
        sample.failure = "no database of the template's size at " + database.string();
      }
      if (report("program, new user folder", run, sample) && run > 0) freshSeries.Add(sample);

      redirect.PointAt(existingUser);
      sample = TimeStart(programLaunch);
      if (report("program, existing database", run, sample) && run > 0) {
        existingSeries.Add(sample);
      }
      // A start that went wrong will go wrong again: no point waiting for more.
      if (failures) break;
    }
  }
  fs::remove_all(work, ignored);

  std::printf("start-up under Wine to the terms window, %d runs:\n", runs);
  std::printf("  minimal program %s; closing to the end of the process: program %s, minimal %s\n",
              FormatMs(Summarise(minimalSeries.shown)).c_str(),
              FormatMs(Summarise(freshSeries.exit)).c_str(),
              FormatMs(Summarise(minimalSeries.exit)).c_str());
  // The goal's figure: each run's program start over the minimal start next to it.
  auto ratioLine = [&](const char* what, const std::vector<double>& program) {
    if (program.size() != minimalSeries.shown.size() || program.empty()) return;
    std::vector<double> ratios;
    for (size_t i = 0; i < program.size(); ++i)
      ratios.push_back(program[i] / minimalSeries.shown[i]);
    const Spread ratio = Summarise(ratios);
    std::printf("  %s %s: %sx (%s-%s) the minimal program (goal <= 1.5x: %s)\n", what,
                FormatMs(Summarise(program)).c_str(), FormatNumber(ratio.median).c_str(),
                FormatNumber(ratio.minimum).c_str(), FormatNumber(ratio.maximum).c_str(),
                Verdict(ratio.median <= 1.5));
  };
  ratioLine("program, existing database", existingSeries.shown);
  ratioLine("program, new user folder", freshSeries.shown);
  const int polled = minimalSeries.polled + freshSeries.polled + existingSeries.polled;
  if (polled) {
    std::printf("%d start(s) waited for input before the window showed (timed by polling)\n",
                polled);
  }
  if (failures) std::printf("%d start(s) failed\n", failures);
  return failures == 0 ? 0 : 1;
}
