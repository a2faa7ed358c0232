#include "toolkit/ListView.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "toolkit/ChildControl.h"
#include "toolkit/ElementRegistry.h"
#include "toolkit/SortArrows.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {
namespace {

// The list view's own timers are small numbers; this one is ours.
constexpr UINT_PTR kSelectionTimer = 0x4C56;

// Ours, and the header's own, which a version 6 header would draw beside ours.
constexpr UINT kSortFlags = HDF_IMAGE | HDF_BITMAP_ON_RIGHT | HDF_SORTUP | HDF_SORTDOWN;

HWND HeaderOf(HWND list) { return reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)); }

void SetRowState(HWND list, int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

ListView::ListView(GUIElement* parentElement) {
  parent = parentElement;
  typeName = "listview";
  width = 300;
  height = 200;
}

ListView::~ListView() {
  // The header refers to the arrows until its window is gone.
  ReleaseWindow();
}

void ListView::Create() {
  if (created) return;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&classes);
  DWORD style =
      WS_CHILD | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
  if (visible) style |= WS_VISIBLE;
  if (!enabled) style |= WS_DISABLED;
  text.clear();
  CreateChildControl(*this, WC_LISTVIEWW, style, WS_EX_CLIENTEDGE);
  if (!window) return;
  SendMessageW(window, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  // Given to the header directly rather than left to the list to pass on.
  if (font) {
    SendMessageW(HeaderOf(window), WM_SETFONT, reinterpret_cast<WPARAM>(CreateFont(*font)), TRUE);
  }
  for (int i = 0; i < ColumnCount(); ++i) InsertColumn(i);
  SendMessageW(window, LVM_SETITEMCOUNT, static_cast<WPARAM>(rowCount_), 0);
  ApplySortIndicator();
}

void ListView::AddColumn(const std::string& caption, int columnWidth, int alignment) {
  columns_.push_back({caption, columnWidth, alignment});
  if (created && window) InsertColumn(ColumnCount() - 1);
}

void ListView::InsertColumn(int index) {
  const Column& column = columns_[static_cast<size_t>(index)];
  std::wstring caption = WidenText(column.caption);
  LVCOLUMNW description{};
  description.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  // The first column of a list view is always drawn left-aligned.
  description.fmt = column.alignment == 1 && index > 0 ? LVCFMT_RIGHT : LVCFMT_LEFT;
  description.cx = column.width;
  description.pszText = caption.data();
  description.iSubItem = index;
  SendMessageW(window, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(&description));
}

void ListView::SetRowCount(int rows) {
  rows = std::max(rows, 0);
  const int selected = SelectedRow();
  rowCount_ = rows;
  if (!created || !window) return;
  // Each system keeps or drops the selection on a new count in its own way; it is set
  // again explicitly so that the outcome is the same everywhere.
  selecting_ = true;
  SendMessageW(window, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
  if (selected >= 0 && selected < rows) {
    SetRowState(window, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  } else {
    SetRowState(window, -1, 0, LVIS_SELECTED);
  }
  selecting_ = false;
  if (selected >= rows && reportedRow_ != -1) Report(-1);
  InvalidateRect(window, nullptr, TRUE);
}

void ListView::Refresh() {
  if (created && window) InvalidateRect(window, nullptr, TRUE);
}

int ListView::SelectedRow() const {
  if (!created || !window) return -1;
  return static_cast<int>(
      SendMessageW(window, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

bool ListView::SelectRow(int row) {
  if (!created || !window || row < -1 || row >= rowCount_) return false;
  selecting_ = true;
  if (row == -1) {
    SetRowState(window, -1, 0, LVIS_SELECTED);
  } else {
    SetRowState(window, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageW(window, LVM_SETSELECTIONMARK, 0, row);
    SendMessageW(window, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
  }
  selecting_ = false;
  KillTimer(window, kSelectionTimer);
  Report(row);
  return true;
}

void ListView::SetSortIndicator(int column, bool descending) {
  sortColumn_ = column;
  sortDescending_ = descending;
  ApplySortIndicator();
}

void ListView::ApplySortIndicator() {
  if (!created || !window) return;
  HWND header = HeaderOf(window);
  if (sortColumn_ >= 0 && !sortArrows_.Get()) {
    sortArrows_ = MakeSortArrows();
    SendMessageW(header, HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(sortArrows_.Get()));
  }
  for (int i = 0; i < ColumnCount(); ++i) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, i, reinterpret_cast<LPARAM>(&item))) continue;
    item.fmt &= ~static_cast<int>(kSortFlags);
    if (i == sortColumn_ && sortArrows_.Get()) {
      item.mask |= HDI_IMAGE;
      item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
      item.iImage = sortDescending_ ? kSortDownImage : kSortUpImage;
    }
    SendMessageW(header, HDM_SETITEMW, i, reinterpret_cast<LPARAM>(&item));
  }
}

int ListView::FirstVisibleRow() const {
  if (!created || !window) return 0;
  return static_cast<int>(SendMessageW(window, LVM_GETTOPINDEX, 0, 0));
}

int ListView::VisibleRowCount() const {
  if (!created || !window) return 0;
  const int perPage = static_cast<int>(SendMessageW(window, LVM_GETCOUNTPERPAGE, 0, 0));
  return std::max(0, std::min(perPage, rowCount_ - FirstVisibleRow()));
}

bool ListView::OnListNotify(const NMHDR& header, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (header.code) {
    case LVN_GETDISPINFOW: {
      LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(lParam)->item;
      if (!(item.mask & LVIF_TEXT)) return true;
      answer_ = cellText ? WidenText(cellText(this, item.iItem, item.iSubItem)) : std::wstring();
      // A copy into the control's own buffer outlives any later question; our string
      // only serves when there is no buffer.
      if (item.pszText && item.cchTextMax > 0) {
        const size_t room = static_cast<size_t>(item.cchTextMax) - 1;
        const size_t length = std::min(answer_.size(), room);
        std::wmemcpy(item.pszText, answer_.data(), length);
        item.pszText[length] = L'\0';
      } else {
        item.pszText = answer_.data();
      }
      return true;
    }
    case LVN_ITEMCHANGED: {
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
      if ((change->uChanged & LVIF_STATE) &&
          ((change->uOldState ^ change->uNewState) & LVIS_SELECTED)) {
        OnSelectionChanged();
      }
      return true;
    }
    case LVN_ITEMACTIVATE: {
      // Wine sends Enter's activation as a bare header, without the row: the row is the
      // selected one, which a double-click has just selected too.
      const int row = SelectedRow();
      if (row >= 0 && onRowActivated) onRowActivated(this, row);
      return true;
    }
    case LVN_COLUMNCLICK: {
      const int column = reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem;
      if (onColumnClick) onColumnClick(this, column);
      return true;
    }
    default: return false;
  }
}

// A click or key that moves the selection first takes it from the old row, then gives it
// to the new one, each with its own notification. A row gained is reported at once; a
// selection that seems gone is looked at again once those messages are done, so that a
// move is not reported as "none" in between.
void ListView::OnSelectionChanged() {
  if (selecting_) return;
  const int row = SelectedRow();
  if (row >= 0) {
    KillTimer(window, kSelectionTimer);
    if (row != reportedRow_) Report(row);
  } else if (reportedRow_ != -1) {
    SetTimer(window, kSelectionTimer, USER_TIMER_MINIMUM, &ListView::SelectionSettled);
  }
}

void CALLBACK ListView::SelectionSettled(HWND window, UINT, UINT_PTR timer, DWORD) {
  KillTimer(window, timer);
  auto* list = dynamic_cast<ListView*>(FindElementByWindow(window));
  if (list && list->SelectedRow() == -1 && list->reportedRow_ != -1) list->Report(-1);
}

void ListView::Report(int row) {
  reportedRow_ = row;
  if (onRowSelected) onRowSelected(this, row);
}

}  // namespace LumoUtility
