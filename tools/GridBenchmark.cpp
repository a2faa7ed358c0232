// Builds a grid of 4 columns and 1,000 rows (or as many as the argument says) on a form, fills
// every cell, scrolls through it, and reports the time of each step and the windows and window
// classes it made. Run under Wine with scripts/benchmark-grid.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "toolkit/CellControl.h"
#include "toolkit/Form.h"
#include "toolkit/Grid.h"

using namespace LumoUtility;

namespace {

constexpr int kColumns = 4;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

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

int SelectedCount = 0;
void CountSelection(GUIElement*, int) { ++SelectedCount; }

}  // namespace

// Optional argument: the number of rows (1,000 by default).
int main(int argc, char** argv) {
  const int kRows = argc > 1 ? std::max(std::atoi(argv[1]), 2) : 1000;
  const int kKeySteps = std::min(kRows - 1, 250);
  Form form(GetModuleHandleW(nullptr));
  form.text = L"Benchmark";
  form.SetSize(800, 600);
  form.Create();
  DispatchQueued();
  const int windowsBefore = ChildWindows(form.window);

  auto grid = std::make_unique<Grid>(&form);
  grid->SetPosition(10, 10);
  grid->SetSize(730, 475);
  grid->columnCount = kColumns;
  grid->rowCount = kRows;
  grid->onRowSelected = CountSelection;
  for (int column = 0; column < kColumns; ++column) {
    grid->SetColumnCaption(column, "Colonna " + std::to_string(column));
  }

  auto start = Clock::now();
  grid->Create();
  DispatchQueued();
  const double createTime = MillisecondsSince(start);

  int windowsMade = ChildWindows(form.window) - windowsBefore;
  int classesMade = grid->ClassRegistration().Registered() ? 1 : 0;
  int cellsWithoutWindow = 0;
  for (const auto& cell : grid->headerCells) {
    classesMade += cell->ClassRegistration().Registered() ? 1 : 0;
    cellsWithoutWindow += cell->window ? 0 : 1;
  }
  for (const auto& row : grid->rows) {
    for (const auto& cell : row) {
      classesMade += cell->ClassRegistration().Registered() ? 1 : 0;
      cellsWithoutWindow += cell->window ? 0 : 1;
    }
  }

  start = Clock::now();
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      grid->SetCellText(row, column,
                        "Riga " + std::to_string(row) + " col " + std::to_string(column));
    }
  }
  UpdateWindow(form.window);
  DispatchQueued();
  const double fillTime = MillisecondsSince(start);

  // Down the grid with the keyboard, as the user would, one row at a time; past the first
  // screen every step scrolls.
  grid->SelectRow(0);
  start = Clock::now();
  for (int row = 1; row < kKeySteps + 1; ++row) {
    SendMessageW(grid->window, WM_KEYDOWN, VK_DOWN, 0);
    DispatchQueued();
  }
  const double keyTime = MillisecondsSince(start);
  const int lastSelected = grid->selectedRow;

  // Page by page with the scroll bar, back to the top.
  start = Clock::now();
  int pages = 0;
  for (;;) {
    SCROLLINFO bar{};
    bar.cbSize = sizeof bar;
    bar.fMask = SIF_POS;
    GetScrollInfo(grid->window, SB_VERT, &bar);
    if (bar.nPos == 0) break;
    SendMessageW(grid->window, WM_VSCROLL, MAKEWPARAM(SB_PAGEUP, 0), 0);
    DispatchQueued();
    ++pages;
  }
  const double pageTime = MillisecondsSince(start);

  // Jumps between far rows: select scrolls the row into view.
  start = Clock::now();
  for (int i = 0; i < 100; ++i) {
    grid->SelectRow(i % 2 == 0 ? kRows - 1 - i : i);
    DispatchQueued();
  }
  const double jumpTime = MillisecondsSince(start);

  // One message to the last cell: the toolkit's procedure looks its element up first.
  HWND lastCell = grid->rows.back().back()->window;
  start = Clock::now();
  constexpr int kMessages = 2000;
  for (int i = 0; i < kMessages; ++i) SendMessageW(lastCell, WM_MOUSEHOVER, 0, 0);
  const double messageTime = MillisecondsSince(start) * 1000 / kMessages;

  start = Clock::now();
  grid->ClearCells();
  DispatchQueued();
  const double clearTime = MillisecondsSince(start);

  start = Clock::now();
  grid.reset();
  DispatchQueued();
  const double destroyTime = MillisecondsSince(start);
  const int windowsLeft = ChildWindows(form.window) - windowsBefore;

  std::printf("grid of %d columns x %d rows (%d cells with the header)\n", kColumns, kRows,
              kColumns * (kRows + 1));
  std::printf("windows created:        %d (cells without a window: %d)\n", windowsMade,
              cellsWithoutWindow);
  std::printf("window classes created: %d\n", classesMade);
  std::printf("create:                 %9.1f ms\n", createTime);
  std::printf("fill %d cells:        %9.1f ms\n", kColumns * kRows, fillTime);
  std::printf("Down key x %d:          %9.1f ms (%.2f ms a row), last row selected %d\n", kKeySteps,
              keyTime, keyTime / kKeySteps, lastSelected);
  std::printf("page up x %d:            %9.1f ms\n", pages, pageTime);
  std::printf("100 far selections:     %9.1f ms\n", jumpTime);
  std::printf("one message to a cell:  %9.1f us\n", messageTime);
  std::printf("clear cells:            %9.1f ms\n", clearTime);
  std::printf("destroy:                %9.1f ms (windows left: %d)\n", destroyTime, windowsLeft);
  std::printf("row-selected callbacks: %d\n", SelectedCount);
  return windowsLeft == 0 && cellsWithoutWindow == 0 ? 0 : 1;
}
