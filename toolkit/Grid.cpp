#include "toolkit/Grid.h"

#include <algorithm>
#include <string>

#include "toolkit/Drawing.h"
#include "toolkit/KeyCodes.h"

namespace LumoUtility {
namespace {

constexpr int kGridLineColour = 0x808080;

Grid* GridOfCell(GUIElement* cell) { return cell ? dynamic_cast<Grid*>(cell->parent) : nullptr; }

// Header cells have an empty tag, so a click there only focuses the grid.
int CellClicked(GUIElement* element, HWND, int, int) {
  Grid* grid = GridOfCell(element);
  if (!grid) return 0;
  grid->Focus();
  auto* cell = static_cast<CellControl*>(element);
  if (!cell->tag.empty() && std::stoi(cell->tag) < grid->RowsInUse())
    grid->SelectRow(std::stoi(cell->tag));
  return 0;
}

int CellDoubleClicked(GUIElement* element, HWND, int, int) {
  Grid* grid = GridOfCell(element);
  if (!grid) return 0;
  grid->Focus();
  auto* cell = static_cast<CellControl*>(element);
  if (!cell->tag.empty() && std::stoi(cell->tag) < grid->RowsInUse())
    grid->ActivateRow(std::stoi(cell->tag));
  return 0;
}

int GridKeyDown(GUIElement* element, int key) {
  auto* grid = static_cast<Grid*>(element);
  if (key == VK_UP) {
    if (grid->selectedRow == -1) return 0;
    grid->selectedRow = std::max(grid->selectedRow - 1, 0);
    grid->SelectRow(grid->selectedRow);
  } else if (key == VK_DOWN) {
    int next = grid->selectedRow + 1;
    if (next < grid->RowsInUse()) {
      grid->selectedRow = next;
      grid->SelectRow(next);
    }
  }
  return 0;
}

bool GridKeyPress(GUIElement* element, int character) {
  auto* grid = static_cast<Grid*>(element);
  if (character == kEnter && grid->selectedRow != -1 && grid->selectedRow < grid->RowsInUse()) {
    grid->ActivateRow(grid->selectedRow);
  }
  return true;
}

int GridKeyUp(GUIElement*, int) { return 0; }

}  // namespace

Grid::Grid(GUIElement* parentElement) : PanelChildren(parentElement) {
  typeName = "grid";
  backColour = kGridLineColour;
  defaultHeaderFont.bold = true;
  onKeyDown = GridKeyDown;
  onKeyPress = GridKeyPress;
  onKeyUp = GridKeyUp;
  verticalScrollBar = true;
  border = true;
}

// The cells go before the grid's own window and class (members are destroyed after this
// body, the panel part after them).
Grid::~Grid() {
  rows.clear();
  headerCells.clear();
}

void Grid::Create() {
  if (created) return;
  PanelChildren::Create();
  BuildHeader();
  for (int row = 0; row < rowCount; ++row) BuildRow(row);
  UpdateVerticalScroll();
  UpdateHorizontalScroll();
}

int Grid::ClientWidth() {
  if (created && window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.right - client.left;
  }
  return width;
}

int Grid::ClientHeight() {
  if (created && window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom - client.top;
  }
  return height;
}

std::vector<Grid::Column> Grid::ColumnGeometry() {
  const int clientWidth = ClientWidth();
  const int defaultWidth = columnCount > 0 ? clientWidth / columnCount - 1 : 0;
  std::vector<Column> columns;
  int edge = 0;
  for (int i = 0; i < columnCount; ++i) {
    Column column{edge + 1, defaultWidth, kAlignCentre};
    if (i < static_cast<int>(columnWidths.size()) && columnWidths[i] >= 1) {
      column.width = columnWidths[i];
    }
    if (fitToWidth && i == columnCount - 1 && column.x + column.width > clientWidth) {
      column.width = clientWidth - column.x;
    }
    if (i < static_cast<int>(columnAlignments.size())) column.alignment = columnAlignments[i];
    edge = column.x + column.width;
    columns.push_back(column);
  }
  totalWidth = edge;
  return columns;
}

void Grid::BuildHeader() {
  std::vector<Column> columns = ColumnGeometry();
  for (int i = 0; i < columnCount; ++i) {
    auto cell = std::make_unique<CellControl>(this);
    cell->backColour = headerBackColour;
    cell->textColour = headerTextColour;
    cell->textAlignment = columns[i].alignment;
    cell->SetPosition(columns[i].x, 1);
    cell->font = headerFont ? headerFont : &defaultHeaderFont;
    // A header click or double-click focuses the grid; the empty tag selects nothing.
    cell->onLeftButtonDown = CellClicked;
    cell->onLeftDoubleClick = CellDoubleClicked;
    cell->SetText(i < static_cast<int>(captions.size()) ? captions[i]
                                                        : "Colonna " + std::to_string(i));
    cell->SetSize(columns[i].width, rowHeight);
    SetColumnWidth(i, columns[i].width);
    cell->Create();
    headerCells.push_back(std::move(cell));
  }
}

void Grid::BuildRow(int row) {
  std::vector<Column> columns = ColumnGeometry();
  const int top = (row + 1) * rowHeight + row + 2;
  std::vector<std::unique_ptr<CellControl>> cells;
  for (int i = 0; i < columnCount; ++i) {
    auto cell = std::make_unique<CellControl>(this);
    // The colour given before Create becomes the cell's class background, which is what
    // an unselected cell shows.
    cell->backColour = cellBackColour;
    cell->textColour = cellTextColour;
    cell->textAlignment = columns[i].alignment;
    cell->SetPosition(columns[i].x, top);
    cell->tag = std::to_string(row);
    cell->font = cellFont ? cellFont : &defaultCellFont;
    cell->onLeftButtonDown = CellClicked;
    cell->onLeftDoubleClick = CellDoubleClicked;
    cell->SetSize(columns[i].width, rowHeight);
    cell->Create();
    cells.push_back(std::move(cell));
  }
  rows.push_back(std::move(cells));
}

CellControl* Grid::HeaderCell(int column) const {
  if (column < 0 || column >= static_cast<int>(headerCells.size())) return nullptr;
  return headerCells[column].get();
}

void Grid::SetColumnCaption(int column, const std::string& caption) {
  if (column < 0) return;
  if (static_cast<int>(captions.size()) <= column) captions.resize(column + 1);
  captions[column] = caption;
  if (created && HeaderCell(column)) HeaderCell(column)->SetText(caption);
}

void Grid::SetColumnWidth(int column, int columnWidth) {
  if (column < 0) return;
  if (static_cast<int>(columnWidths.size()) <= column) columnWidths.resize(column + 1, 0);
  columnWidths[column] = columnWidth;
}

void Grid::SetColumnAlignment(int column, int alignment) {
  if (column < 0) return;
  if (static_cast<int>(columnAlignments.size()) <= column) {
    columnAlignments.resize(column + 1, kAlignCentre);
  }
  columnAlignments[column] = alignment;
  if (created && HeaderCell(column)) {
    HeaderCell(column)->textAlignment = alignment;
    InvalidateRect(HeaderCell(column)->window, nullptr, TRUE);
  }
}

void Grid::SetCellText(int row, int column, const std::string& cellText) {
  if (row < 0 || row >= RowsBuilt()) return;
  if (column < 0 || column >= static_cast<int>(rows[row].size())) return;
  rows[row][column]->SetText(cellText);
}

std::vector<CellControl*> Grid::GetRowCells(int row) const {
  std::vector<CellControl*> cells;
  if (row < 0 || row >= RowsBuilt()) return cells;
  for (const auto& cell : rows[row]) cells.push_back(cell.get());
  return cells;
}

void Grid::ClearCells() {
  for (auto& row : rows) {
    for (auto& cell : row) {
      cell->SetText(std::wstring());
      cell->SetImage(nullptr, 0, 0, 0);
      if (!cell->toolTip.empty()) cell->SetToolTip(std::string());
    }
  }
}

void Grid::AddRow() {
  if (!created) return;
  ScrollToLeft();
  SelectRow(0);
  ++rowCount;
  BuildRow(RowsBuilt());
  UpdateVerticalScroll();
  UpdateHorizontalScroll();
  Redraw();
}

POINT Grid::RowPosition(int row) {
  if (row < 0 || row >= RowsBuilt() || rows[row].empty()) return POINT{-1, -1};
  return rows[row][0]->RefreshPosition();
}

void Grid::HighlightSelection() {
  for (int row = 0; row < RowsBuilt(); ++row) {
    for (auto& cell : rows[row]) {
      if (row == selectedRow) {
        cell->textColour = selectedTextColour;
        cell->SetBackColor(selectedBackColour);
        InvalidateRect(cell->window, nullptr, TRUE);
      } else if (cell->backgroundPainted || cell->textColour != cellTextColour) {
        // Only cells that show something else than their class background are touched:
        // with many rows, repainting every cell on each selection would dominate.
        cell->backgroundPainted = false;
        cell->textColour = cellTextColour;
        InvalidateRect(cell->window, nullptr, TRUE);
      }
    }
  }
}

void Grid::ScrollVertically(int newPosition, int delta) {
  SetScrollPos(window, SB_VERT, newPosition, TRUE);
  ScrollWindow(window, 0, delta, nullptr, nullptr);
}

void Grid::SelectRow(int row) {
  selectedRow = row;
  HighlightSelection();
  if (!created || !window) return;
  SCROLLINFO bar{};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_ALL;
  if (!GetScrollInfo(window, SB_VERT, &bar)) return;
  // A row that does not exist has no place to scroll to; it is still reported.
  if (row >= 0 && row < RowsBuilt()) {
    const int top = RowPosition(row).y;
    const int pitch = rowHeight + 1;
    const int viewHeight = ClientHeight();
    const int position = bar.nPos;
    bool scrolled = true;
    if (top + pitch > viewHeight) {
      int delta = top + pitch - viewHeight;
      const int last = bar.nMax - static_cast<int>(bar.nPage);
      if (position + delta > last) delta = std::max(last - position, 0);
      ScrollVertically(position + delta, -delta);
    } else if (row == 0) {
      ScrollVertically(0, position);
    } else if (top < 0) {
      const int above = -top;
      if (pitch > above) {
        ScrollVertically(position - pitch, pitch);
      } else {
        ScrollVertically(position + top, above);
      }
    } else {
      scrolled = false;
    }
    if (scrolled) UpdateWindow(window);
  }
  if (onRowSelected) onRowSelected(this, row);
}

void Grid::ActivateRow(int row) {
  SelectRow(row);
  if (onRowActivated) onRowActivated(this, row);
}

void Grid::UpdateVerticalScroll() {
  const int pitch = rowHeight + 1;
  const int contentHeight = (rowCount + 1) * pitch + 1;
  int available = ClientHeight();
  if (!fitToWidth) {
    const bool needsHorizontal = totalWidth > ClientWidth() - GetSystemMetrics(SM_CXVSCROLL);
    if (needsHorizontal && !horizontalScrollBar) {
      available = ClientHeight() - GetSystemMetrics(SM_CXHSCROLL);
    } else if (!needsHorizontal && horizontalScrollBar) {
      available = ClientHeight() + GetSystemMetrics(SM_CXHSCROLL);
    }
  }
  if (contentHeight < available) {
    SelectRow(0);
    if (fitToWidth) {
      if (created) EnableScrollBar(window, SB_VERT, ESB_DISABLE_BOTH);
    } else {
      SetVerticalScrollBar(false);
    }
    return;
  }
  if (fitToWidth) {
    if (created) EnableScrollBar(window, SB_VERT, ESB_ENABLE_BOTH);
  } else {
    SetVerticalScrollBar(true);
  }
  const int excess = contentHeight - available;
  const int maximum = excess + pitch - excess % pitch;
  scrollMin = 0;
  scrollMax = maximum;
  if (!created) return;
  SCROLLINFO bar{};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_RANGE | SIF_PAGE;
  bar.nMin = 0;
  bar.nMax = maximum + maximum / 10;
  bar.nPage = static_cast<UINT>(maximum / 10);
  SetScrollInfo(window, SB_VERT, &bar, TRUE);
}

void Grid::UpdateHorizontalScroll() {
  if (fitToWidth) return;
  const int clientWidth = ClientWidth();
  if (clientWidth < totalWidth) {
    SetHorizontalScrollBar(true);
    SetHorizontalExtent(totalWidth - clientWidth);
  } else {
    SetHorizontalScrollBar(false);
  }
}

int Grid::ScrollToLeft() {
  if (!created || !horizontalScrollBar) return 0;
  SCROLLINFO bar{};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_ALL;
  if (!GetScrollInfo(window, SB_HORZ, &bar) || bar.nPos <= 0) return 0;
  const int previous = bar.nPos;
  SetScrollPos(window, SB_HORZ, 0, TRUE);
  ScrollWindow(window, previous, 0, nullptr, nullptr);
  UpdateWindow(window);
  return previous;
}

}  // namespace LumoUtility
