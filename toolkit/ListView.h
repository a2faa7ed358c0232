#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "toolkit/Child.h"
#include "toolkit/ControlNotifications.h"
#include "toolkit/SortArrows.h"

namespace LumoUtility {

// The text of one cell, asked for the rows on screen only.
using ListCellTextCallback = std::string (*)(GUIElement* list, int row, int column);
// A row selected (-1: none any more) or activated (Enter or a double-click on it).
using ListRowCallback = void (*)(GUIElement* list, int row);
// A click on a column's header.
using ListColumnCallback = void (*)(GUIElement* list, int column);

// A table of many rows over the common-controls list view in report mode with virtual
// rows: the control holds no texts, only the number of rows, and asks its owner for the
// text of a cell when it draws it, so thousands of rows cost no windows and no copies.
// One row is selected at a time; the columns are set before Create.
class ListView : public Child, public ControlNotifications {
 public:
  explicit ListView(GUIElement* parentElement);
  ~ListView() override;

  void Create() override;

  // alignment: 0 left, 1 right.
  void AddColumn(const std::string& caption, int columnWidth, int alignment = 0);
  int ColumnCount() const { return static_cast<int>(columns_.size()); }

  // Sets how many rows there are and redraws the visible ones (their texts are asked
  // again); the selection is kept when its row still exists.
  void SetRowCount(int rows);
  int RowCount() const { return rowCount_; }
  // Redraws the visible rows after their data changed without a change in number.
  void Refresh();

  // -1 when no row is selected.
  int SelectedRow() const;
  // Selects the row (and gives it the focus mark), scrolls it into view and reports it;
  // -1 clears the selection. False when there is no such row or no window.
  bool SelectRow(int row);
  // The arrow in the header: column -1 for none.
  void SetSortIndicator(int column, bool descending);
  // The rows on screen, first and count (for tests and for scrolling by page): the rows
  // wholly visible, never more than there are from the first one on.
  int FirstVisibleRow() const;
  int VisibleRowCount() const;

  // Called by the toolkit's notification routing (WM_NOTIFY from the control).
  // Answers whether the notification was dealt with, and what to return then.
  bool OnListNotify(const NMHDR& header, LPARAM lParam, LRESULT& result) override;

  ListCellTextCallback cellText = nullptr;
  ListRowCallback onRowSelected = nullptr;
  ListRowCallback onRowActivated = nullptr;
  ListColumnCallback onColumnClick = nullptr;

 private:
  struct Column {
    std::string caption;
    int width;
    int alignment;
  };
  void InsertColumn(int index);
  void ApplySortIndicator();
  void OnSelectionChanged();
  void Report(int row);
  // Runs once the messages of a user's click or key are done (see OnSelectionChanged).
  static void CALLBACK SelectionSettled(HWND window, UINT message, UINT_PTR timer, DWORD time);

  std::vector<Column> columns_;
  int rowCount_ = 0;
  int sortColumn_ = -1;
  bool sortDescending_ = false;
  // The row last reported through onRowSelected.
  int reportedRow_ = -1;
  // Set while the program changes the selection itself: it reports once, at the end.
  bool selecting_ = false;
  // The header's arrows, made when a column is first sorted.
  OwnedImageList sortArrows_;
  // The text last handed to the control when it gave no buffer of its own: it must stay
  // valid after the notification.
  std::wstring answer_;
};

}  // namespace LumoUtility
