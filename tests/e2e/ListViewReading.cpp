// The common controls' list view from outside: rows, column captions and places are read
// through memory in the program's process (the messages carry pointers); a list with
// virtual rows asks its owner for each text while answering, so what is read is what the
// list would draw.
#include <windows.h>
#include <commctrl.h>

#include "tests/e2e/RemoteMemory.h"
#include "tests/e2e/UiDriver.h"
#include "tests/e2e/WindowSearch.h"

namespace e2e {
namespace {

std::string RowsText(const std::vector<std::vector<std::wstring>>& rows) {
  std::string text;
  for (const auto& row : rows) {
    text += "\n  ";
    for (const std::wstring& cell : row) text += "\"" + Utf8(cell) + "\" ";
  }
  return rows.empty() ? " none" : text;
}

HWND Header(HWND list) { return reinterpret_cast<HWND>(SendTimed(list, LVM_GETHEADER)); }

}  // namespace

std::vector<std::wstring> UiDriver::ListViewColumns(HWND list) {
  HWND header = Header(list);
  const int count = static_cast<int>(SendTimed(header, HDM_GETITEMCOUNT));
  RemoteTextRequest<HDITEMW> request(process_.Handle(), &HDITEMW::pszText);
  std::vector<std::wstring> captions;
  for (int i = 0; i < count; ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.cchTextMax = request.kCapacity;
    SendTimed(header, HDM_GETITEMW, i, request.Prepare(item));
    captions.push_back(request.Text());
  }
  return captions;
}

int UiDriver::ListViewRowCount(HWND list) {
  return static_cast<int>(SendTimed(list, LVM_GETITEMCOUNT));
}

std::vector<std::wstring> UiDriver::ListViewRow(HWND list, int row) {
  const int columns = static_cast<int>(SendTimed(Header(list), HDM_GETITEMCOUNT));
  RemoteTextRequest<LVITEMW> request(process_.Handle(), &LVITEMW::pszText);
  std::vector<std::wstring> texts;
  for (int column = 0; column < columns; ++column) {
    LVITEMW item{};
    item.iSubItem = column;
    item.cchTextMax = request.kCapacity;
    SendTimed(list, LVM_GETITEMTEXTW, row, request.Prepare(item));
    texts.push_back(request.Text());
  }
  return texts;
}

std::vector<std::vector<std::wstring>> UiDriver::ListViewRows(HWND list) {
  std::vector<std::vector<std::wstring>> rows;
  const int count = ListViewRowCount(list);
  for (int row = 0; row < count; ++row) rows.push_back(ListViewRow(list, row));
  return rows;
}

void UiDriver::WaitForListViewRows(HWND list,
                                   const std::vector<std::vector<std::wstring>>& expected) {
  std::vector<std::vector<std::wstring>> seen;
  try {
    WaitUntil([&] { return (seen = ListViewRows(list)) == expected; }, Timeout(),
              "the list rows:" + RowsText(expected));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + "\nit shows:" + RowsText(seen));
  }
}

int UiDriver::ListViewSelectedRow(HWND list) {
  return static_cast<int>(SendTimed(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

bool UiDriver::ListViewRowInView(HWND list, int row) {
  const int top = static_cast<int>(SendTimed(list, LVM_GETTOPINDEX));
  const int page = static_cast<int>(SendTimed(list, LVM_GETCOUNTPERPAGE));
  return row >= top && row < top + page;
}

POINT UiDriver::ListViewRowPoint(HWND list, int row) {
  const int count = ListViewRowCount(list);
  if (row < 0 || row >= count) {
    throw DriverError("the list has no row " + std::to_string(row) + " (it has " +
                      std::to_string(count) + ")");
  }
  WaitUntil([&] { return Enabled(list); }, Timeout(), "the list to accept input");
  // As a user scrolls to a row before clicking it.
  SendTimed(list, LVM_ENSUREVISIBLE, row, FALSE);
  RemoteMemory remote(process_.Handle(), sizeof(RECT));
  RECT place{};
  place.left = LVIR_LABEL;
  remote.Write(&place, sizeof place);
  if (!SendTimed(list, LVM_GETITEMRECT, row, remote.Address())) {
    throw DriverError("cannot read where row " + std::to_string(row) + " of the list is");
  }
  place = remote.Read<RECT>();
  return {place.left + 4, (place.top + place.bottom) / 2};
}

void UiDriver::SelectListViewRow(HWND list, int row) {
  const POINT where = ListViewRowPoint(list, row);
  PostClick(list, where.x, where.y, false);
  WaitUntil([&] { return ListViewSelectedRow(list) == row; }, Timeout(),
            "row " + std::to_string(row) + " of the list to be selected");
}

void UiDriver::ActivateListViewRow(HWND list, int row) {
  const POINT where = ListViewRowPoint(list, row);
  PostClick(list, where.x, where.y, true);
}

void UiDriver::ClickListViewColumn(HWND list, int column) {
  HWND header = Header(list);
  WaitUntil([&] { return Enabled(list); }, Timeout(), "the list to accept input");
  RemoteMemory remote(process_.Handle(), sizeof(RECT));
  if (!SendTimed(header, HDM_GETITEMRECT, column, remote.Address())) {
    throw DriverError("the list has no column " + std::to_string(column));
  }
  const RECT place = remote.Read<RECT>();
  // A press and release on the caption: the header reports the click to the list.
  PostClick(header, (place.left + place.right) / 2, (place.top + place.bottom) / 2, false);
}

}  // namespace e2e
