#pragma once
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/CellControl.h"
#include "toolkit/Font.h"
#include "toolkit/PanelChildren.h"

namespace LumoUtility {

using GridRowCallback = void (*)(GUIElement* grid, int row);

// A scrolling table of one header row and data rows, every cell a window of its own; the
// one-pixel gaps between cells show the grid's grey background as lines. The owner sets
// the layout before Create, then writes texts and pictures and adds rows; rows are never
// removed.
class Grid : public PanelChildren {
 public:
  explicit Grid(GUIElement* parentElement);
  ~Grid() override;

  void Create() override;
  // Makes the row the selected one, highlights it, scrolls it into view and reports it.
  virtual void SelectRow(int row);
  // Selects the row, then reports it as activated.
  virtual void ActivateRow(int row);

  void SetColumnCaption(int column, const std::string& caption);
  void SetColumnWidth(int column, int columnWidth);
  void SetColumnAlignment(int column, int alignment);
  void SetCellText(int row, int column, const std::string& cellText);
  // The row's cells (empty for a row that does not exist); the grid keeps owning them.
  std::vector<CellControl*> GetRowCells(int row) const;
  // Every data cell loses its text, picture and tooltip; the rows stay.
  void ClearCells();
  void AddRow();
  // The row's first cell in the grid's client coordinates; (-1, -1) for no such row.
  POINT RowPosition(int row);
  void UpdateVerticalScroll();
  void UpdateHorizontalScroll();
  // Scrolls back to the left edge and answers the previous position (0 when unscrolled).
  int ScrollToLeft();

  int RowsBuilt() const { return static_cast<int>(rows.size()); }
  // The rows the selection may reach: the first rowsInUse ones, or every row when it is -1.
  int RowsInUse() const { return rowsInUse < 0 ? RowsBuilt() : std::min(rowsInUse, RowsBuilt()); }
  CellControl* HeaderCell(int column) const;

  GridRowCallback onRowSelected = nullptr;
  GridRowCallback onRowActivated = nullptr;
  std::vector<std::string> captions;
  std::vector<int> columnWidths;
  std::vector<int> columnAlignments;
  std::vector<std::unique_ptr<CellControl>> headerCells;
  std::vector<std::vector<std::unique_ptr<CellControl>>> rows;
  bool fitToWidth = true;
  int columnCount = 3;
  int rowCount = 2;
  int rowHeight = 25;
  int selectedRow = -1;
  // Rows that hold data, set by the owner; the empty ones below are never selected.
  int rowsInUse = -1;
  int totalWidth = 0;
  FontSpec* cellFont = nullptr;    // borrowed
  FontSpec* headerFont = nullptr;  // borrowed
  FontSpec defaultCellFont;
  FontSpec defaultHeaderFont;
  int headerBackColour = 0x994C00;
  int headerTextColour = 0xFFFFFF;
  int cellBackColour = 0xFFFFFF;
  int cellTextColour = 0x000000;
  int selectedBackColour = 0x00FFFF;
  int selectedTextColour = 0x000000;

 private:
  struct Column {
    int x;
    int width;
    int alignment;
  };

  std::vector<Column> ColumnGeometry();
  int ClientWidth();
  int ClientHeight();
  void BuildHeader();
  void BuildRow(int row);
  void HighlightSelection();
  void ScrollVertically(int newPosition, int delta);
};

}  // namespace LumoUtility
