// The toolkit's grid beside plain windows under Wine: a grid of 4 columns and 100 rows
// (or as many as asked) is built on a form and every cell filled, then as many plain
// STATIC windows of one system class are made and given the same texts, in turn in every
// round; prints the medians of both, the grid's ratio to the plain windows beside its
// goal, and the time of 50 Down keys through the grid (every key past the first screen
// moves every cell window: 1,000 rows take minutes a round under Wine). Checks that every
// cell has a window and that none is left after the grid goes.
// Usage: grid-benchmark [runs] [rows]   (10 runs of 100 rows). Run by scripts/benchmark.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/CellControl.h"
#include "toolkit/Form.h"
#include "toolkit/Grid.h"
#include "tools/BenchmarkStatistics.h"
#include "tools/Stopwatch.h"

using namespace LumoUtility;

namespace {

constexpr int kColumns = 4;
constexpr int kRowHeight = 25;
constexpr int kCellWidth = 180;

void DispatchQueued() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ChildWindows(HWND parent) {
  int count = 0;
  EnumChildWindows(parent, CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

std::string CellText(int row, int column) {
  return "Riga " + std::to_string(row) + " col " + std::to_string(column);
}

struct Round {
  double buildMs = 0;    // made, filled and painted
  double keysMs = 0;     // the Down keys (the grid only)
  double destroyMs = 0;  // gone
  bool complete = true;  // every cell had a window and none was left
};

Round GridRound(Form& form, int rows, int keySteps) {
  Round round;
  const int windowsBefore = ChildWindows(form.window);
  auto start = Clock::now();
  auto grid = std::make_unique<Grid>(&form);
  grid->SetPosition(10, 10);
  grid->SetSize(730, 475);
  grid->columnCount = kColumns;
  grid->rowCount = rows;
  for (int column = 0; column < kColumns; ++column) {
    grid->SetColumnCaption(column, "Colonna " + std::to_string(column));
  }
  grid->Create();
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < kColumns; ++column)
      grid->SetCellText(row, column, CellText(row, column));
  }
  UpdateWindow(form.window);
  DispatchQueued();
  round.buildMs = MillisecondsSince(start);
  for (const auto& row : grid->rows) {
    for (const auto& cell : row) round.complete = round.complete && cell->window;
  }

  grid->SelectRow(0);
  start = Clock::now();
  for (int step = 0; step < keySteps; ++step) {
    SendMessageW(grid->window, WM_KEYDOWN, VK_DOWN, 0);
    DispatchQueued();
  }
  round.keysMs = MillisecondsSince(start);

  start = Clock::now();
  grid.reset();
  DispatchQueued();
  round.destroyMs = MillisecondsSince(start);
  round.complete = round.complete && ChildWindows(form.window) == windowsBefore;
  return round;
}

// The same cells as the least Win32 offers: one system class, a text each.
Round PlainRound(Form& form, int rows) {
  Round round;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  auto start = Clock::now();
  HWND box = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 10, 10,
                             730, 475, form.window, nullptr, instance, nullptr);
  for (int row = -1; row < rows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      HWND cell = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT,
                                  column * kCellWidth, (row + 1) * kRowHeight, kCellWidth,
                                  kRowHeight, box, nullptr, instance, nullptr);
      const std::string text =
          row < 0 ? "Colonna " + std::to_string(column) : CellText(row, column);
      SetWindowTextW(cell, std::wstring(text.begin(), text.end()).c_str());
    }
  }
  UpdateWindow(form.window);
  DispatchQueued();
  round.buildMs = MillisecondsSince(start);
  start = Clock::now();
  DestroyWindow(box);
  DispatchQueued();
  round.destroyMs = MillisecondsSince(start);
  return round;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(std::atoi(argv[1]), 1) : 10;
  const int rows = argc > 2 ? std::max(std::atoi(argv[2]), 2) : 100;
  const int keySteps = std::min(rows - 1, 50);
  Form form(GetModuleHandleW(nullptr));
  form.text = L"Benchmark";
  form.SetSize(800, 600);
  form.Create();
  DispatchQueued();

  std::vector<double> gridBuild, plainBuild, buildRatio, gridDestroy, plainDestroy, keys;
  bool complete = true;
  // Round 0 warms Wine's caches and is not counted.
  for (int run = 0; run <= runs; ++run) {
    const Round grid = GridRound(form, rows, keySteps);
    const Round plain = PlainRound(form, rows);
    complete = complete && grid.complete;
    if (run == 0) continue;
    gridBuild.push_back(grid.buildMs);
    plainBuild.push_back(plain.buildMs);
    buildRatio.push_back(grid.buildMs / plain.buildMs);
    gridDestroy.push_back(grid.destroyMs);
    plainDestroy.push_back(plain.destroyMs);
    keys.push_back(grid.keysMs);
  }
  const Spread ratio = Summarise(buildRatio);
  std::printf("grid of %d x %d cells under Wine vs as many plain STATIC windows, %d runs:\n",
              kColumns, rows + 1, runs);
  std::printf("  built, filled and painted: grid %s, plain %s: %sx (%s-%s) (goal <= 2.4x: %s)\n",
              FormatMs(Summarise(gridBuild)).c_str(), FormatMs(Summarise(plainBuild)).c_str(),
              FormatNumber(ratio.median).c_str(), FormatNumber(ratio.minimum).c_str(),
              FormatNumber(ratio.maximum).c_str(), Verdict(ratio.median <= 2.4));
  std::printf("  destroyed: grid %s, plain %s; grid Down key x %d: %s\n",
              FormatMs(Summarise(gridDestroy)).c_str(), FormatMs(Summarise(plainDestroy)).c_str(),
              keySteps, FormatMs(Summarise(keys)).c_str());
  if (!complete) std::printf("  FAILED: a cell without a window, or windows left after the grid\n");
  return complete ? 0 : 1;
}
