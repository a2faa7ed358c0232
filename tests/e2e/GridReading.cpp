// The toolkit's grid from outside: its cells are child windows laid out in rows, whose
// texts are the cell texts; the status face is read back from the screen.
#include <windows.h>

#include <algorithm>

#include "tests/e2e/ScreenCapture.h"
#include "tests/e2e/UiDriver.h"
#include "tests/e2e/WindowSearch.h"

namespace e2e {
namespace {

constexpr int kFaceSize = 20;   // the face is drawn 20 x 20 ...
constexpr int kFaceMargin = 3;  // ... 3 pixels from the cell's right edge
constexpr int kMinimumFacePixels = 40;
constexpr DWORD kSelectedColour = 0xFFFF00;  // the selected line's background (yellow)

}  // namespace

std::vector<std::vector<HWND>> UiDriver::GridRows(HWND grid) {
  std::vector<std::pair<RECT, HWND>> cells;
  for (HWND child : ChildWindows(grid)) {
    if (IsWindowVisible(child)) cells.emplace_back(RectInParent(child), child);
  }
  std::sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
    return a.first.top != b.first.top ? a.first.top < b.first.top : a.first.left < b.first.left;
  });
  std::vector<std::vector<HWND>> rows;
  LONG rowTop = 0;
  for (const auto& [rect, cell] : cells) {
    if (rows.empty() || rect.top != rowTop) {
      rows.emplace_back();
      rowTop = rect.top;
    }
    rows.back().push_back(cell);
  }
  return rows;
}

HWND UiDriver::Grid(HWND form, const std::wstring& firstCaption) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND child : ChildWindows(form)) {
          if (!IsWindowVisible(child)) continue;
          auto rows = GridRows(child);
          if (!rows.empty() && !rows[0].empty() && WindowText(rows[0][0]) == firstCaption) {
            found = child;
            return true;
          }
        }
        return false;
      },
      Timeout(), "a visible grid headed \"" + Utf8(firstCaption) + "\" on " + Describe(form));
  return found;
}

std::vector<std::wstring> UiDriver::HeaderTexts(HWND grid) {
  std::vector<std::wstring> texts;
  auto rows = GridRows(grid);
  if (!rows.empty()) {
    for (HWND cell : rows[0]) texts.push_back(WindowText(cell));
  }
  return texts;
}

HWND UiDriver::HeaderCell(HWND grid, int column) {
  auto rows = GridRows(grid);
  if (rows.empty() || column < 0 || column >= static_cast<int>(rows[0].size())) {
    throw DriverError("the grid has no header cell " + std::to_string(column));
  }
  return rows[0][static_cast<std::size_t>(column)];
}

int UiDriver::RowCount(HWND grid) {
  auto rows = GridRows(grid);
  return rows.empty() ? 0 : static_cast<int>(rows.size()) - 1;
}

HWND UiDriver::Cell(HWND grid, int row, int column) {
  auto rows = GridRows(grid);
  const int dataRows = rows.empty() ? 0 : static_cast<int>(rows.size()) - 1;
  if (row < 0 || row >= dataRows) {
    throw DriverError("the grid has no row " + std::to_string(row) + " (it has " +
                      std::to_string(dataRows) + ")");
  }
  const auto& cells = rows[static_cast<std::size_t>(row) + 1];
  if (column < 0 || column >= static_cast<int>(cells.size())) {
    throw DriverError("row " + std::to_string(row) + " of the grid has no column " +
                      std::to_string(column));
  }
  return cells[static_cast<std::size_t>(column)];
}

std::vector<std::wstring> UiDriver::RowTexts(HWND grid, int row) {
  std::vector<std::wstring> texts;
  auto rows = GridRows(grid);
  if (row < 0 || row + 1 >= static_cast<int>(rows.size())) {
    throw DriverError("the grid has no row " + std::to_string(row));
  }
  for (HWND cell : rows[static_cast<std::size_t>(row) + 1]) texts.push_back(WindowText(cell));
  return texts;
}

std::wstring UiDriver::CellText(HWND grid, int row, int column) {
  return WindowText(Cell(grid, row, column));
}

void UiDriver::WaitForCellText(HWND grid, int row, int column, const std::wstring& text) {
  std::wstring seen;
  try {
    WaitUntil([&] { return (seen = CellText(grid, row, column)) == text; }, Timeout(),
              "\"" + Utf8(text) + "\" in row " + std::to_string(row) + ", column " +
                  std::to_string(column));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + "; it reads \"" + Utf8(seen) + "\"");
  }
}

RowStatus UiDriver::Status(HWND grid, int row) {
  HWND cell = Cell(grid, row, 0);
  RECT cellRect = ScreenRect(cell);
  RECT gridClient{};
  GetClientRect(grid, &gridClient);
  MapWindowPoints(grid, HWND_DESKTOP, reinterpret_cast<POINT*>(&gridClient), 2);
  if (cellRect.top < gridClient.top || cellRect.bottom > gridClient.bottom) {
    throw DriverError("row " + std::to_string(row) +
                      " is scrolled out of view; its picture cannot be read");
  }
  RECT face{};
  face.left = cellRect.right - kFaceMargin - kFaceSize;
  face.top = cellRect.top + (cellRect.bottom - cellRect.top - kFaceSize) / 2;
  face.right = face.left + kFaceSize;
  face.bottom = face.top + kFaceSize;
  int red = 0, green = 0;
  for (DWORD pixel : CaptureScreen(face)) {
    const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    if (r > 160 && g < 100 && b < 100) ++red;
    if (g > 150 && r < 100 && b < 100) ++green;
  }
  if (red >= kMinimumFacePixels && red > green) return RowStatus::Due;
  if (green >= kMinimumFacePixels && green > red) return RowStatus::InOrder;
  return RowStatus::None;
}

void UiDriver::WaitForStatus(HWND grid, int row, RowStatus status) {
  RowStatus seen = RowStatus::None;
  try {
    WaitUntil([&] { return (seen = Status(grid, row)) == status; }, Timeout(),
              std::string("row ") + std::to_string(row) + " to show " + ToString(status));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + "; it shows " + ToString(seen));
  }
}

void UiDriver::WaitForSelectedRow(HWND grid, int row) {
  std::vector<int> selected;
  auto read = [&] {
    selected.clear();
    RECT area{};
    GetClientRect(grid, &area);
    MapWindowPoints(grid, HWND_DESKTOP, reinterpret_cast<POINT*>(&area), 2);
    const std::vector<DWORD> pixels = CaptureScreen(area);
    const LONG width = area.right - area.left;
    auto rows = GridRows(grid);
    // Each line is sampled a little inside its second cell, clear of the status face.
    for (std::size_t line = 1; line < rows.size() && rows[line].size() > 1; ++line) {
      RECT cell = ScreenRect(rows[line][1]);
      const LONG x = cell.left + 4 - area.left, y = (cell.top + cell.bottom) / 2 - area.top;
      if (x < 0 || x >= width || y < 0 || y >= area.bottom - area.top) continue;
      if (pixels[static_cast<std::size_t>(y * width + x)] == kSelectedColour) {
        selected.push_back(static_cast<int>(line) - 1);
      }
    }
    return selected == std::vector<int>{row};
  };
  try {
    WaitUntil(read, Timeout(), "row " + std::to_string(row) + " alone shown selected");
  } catch (const DriverError& error) {
    std::string seen;
    for (int line : selected) seen += " " + std::to_string(line);
    throw DriverError(std::string(error.what()) +
                      "; rows shown selected:" + (seen.empty() ? " none" : seen));
  }
}

void UiDriver::DoubleClickCell(HWND grid, int row, int column) {
  HWND cell = Cell(grid, row, column);
  WaitUntil([&] { return Enabled(cell); }, Timeout(), "the grid to accept input");
  RECT place{};
  GetClientRect(cell, &place);
  PostClick(cell, place.right / 2, place.bottom / 2, true);
}

}  // namespace e2e
