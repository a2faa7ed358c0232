// The list view with virtual rows, through real windows and real input under Wine.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ListView.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/SortArrows.h"

using namespace LumoUtility;

namespace {

constexpr int kRows = 100000;

std::set<int> rowsAsked;
std::vector<int> selected, activated, columnsClicked, formCharacters;

std::string CellText(GUIElement*, int row, int column) {
  rowsAsked.insert(row);
  return column == 0 ? "Riga " + std::to_string(row) : "12.345";
}
void RecordSelected(GUIElement*, int row) { selected.push_back(row); }
void RecordActivated(GUIElement*, int row) {
  activated.push_back(row);
  PostQuitMessage(0);  // ends RunMessageLoop; the test pumps drop it
}
void RecordColumn(GUIElement*, int column) { columnsClicked.push_back(column); }
bool RecordFormCharacter(GUIElement*, int character) {
  formCharacters.push_back(character);
  return true;
}

void SendKey(WORD key, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki = {key, 0, flags, 0, 0};
  SendInput(1, &input, sizeof input);
}
void PressKey(WORD key) {
  SendKey(key, 0);
  SendKey(key, KEYEVENTF_KEYUP);
}

// The rectangle in the form's client coordinates, shrunk clear of its edges.
RECT InForm(HWND window, RECT rect, HWND form, int margin) {
  MapWindowPoints(window, form, reinterpret_cast<POINT*>(&rect), 2);
  InflateRect(&rect, -margin, -margin);
  return rect;
}

}  // namespace

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rowsAsked.clear();
    selected.clear();
    activated.clear();
    columnsClicked.clear();
    formCharacters.clear();
    // A tool window: its loop runs IsDialogMessage, which would take Enter for the form.
    form.SetSize(500, 400);
    form.keyPreview = true;
    form.Create();
    form.onKeyPress = RecordFormCharacter;
    list.SetPosition(10, 10);
    list.SetSize(400, 300);
    list.font = &font;
    list.AddColumn("Intervento", 150);
    list.AddColumn("Km", 80, 1);
    list.cellText = CellText;
    list.onRowSelected = RecordSelected;
    list.onRowActivated = RecordActivated;
    list.onColumnClick = RecordColumn;
    list.Create();
    list.SetRowCount(kRows);
    SetForegroundWindow(form.window);
    list.Focus();
    PumpMessagesUntil([&] { return GetForegroundWindow() == form.window; });
    UpdateWindow(list.window);
  }

  // The rows asked for since the last clear all lie on screen (the last maybe in part).
  void ExpectOnlyVisibleRowsAsked() {
    ASSERT_FALSE(rowsAsked.empty());
    EXPECT_GE(*rowsAsked.begin(), list.FirstVisibleRow());
    EXPECT_LE(*rowsAsked.rbegin(), list.FirstVisibleRow() + list.VisibleRowCount());
    rowsAsked.clear();
  }

  ToolkitStateScope scope;
  RecordingForm form{true};
  FontSpec font{L"Tahoma", 14};
  ListView list{&form};
};

TEST_F(ListViewTest, AsksOnlyForTheRowsOnScreenWhereverItScrolls) {
  EXPECT_EQ(list.FirstVisibleRow(), 0);
  EXPECT_GT(list.VisibleRowCount(), 5);
  ExpectOnlyVisibleRowsAsked();

  ASSERT_TRUE(list.SelectRow(kRows - 1));
  UpdateWindow(list.window);
  EXPECT_EQ(list.FirstVisibleRow() + list.VisibleRowCount(), kRows);
  ExpectOnlyVisibleRowsAsked();

  // Home, then End; a move reports the new row only, never "none" in between.
  PressKey(VK_HOME);
  ASSERT_TRUE(PumpMessagesUntil([] { return selected.size() == 2; }));
  rowsAsked.clear();
  PressKey(VK_END);
  ASSERT_TRUE(PumpMessagesUntil([] { return selected.size() == 3; }));
  UpdateWindow(list.window);
  EXPECT_EQ(selected, (std::vector<int>{kRows - 1, 0, kRows - 1}));
  EXPECT_EQ(list.SelectedRow(), kRows - 1);
  ExpectOnlyVisibleRowsAsked();

  // Fewer rows keep a selection that still exists and drop one that does not.
  list.SelectRow(3);
  list.SetRowCount(50);
  EXPECT_EQ(list.SelectedRow(), 3);
  list.SetRowCount(2);
  EXPECT_EQ(list.SelectedRow(), -1);
  EXPECT_EQ(selected.back(), -1);
  EXPECT_FALSE(list.SelectRow(2));
}

TEST_F(ListViewTest, DoubleClickAndEnterActivateTheRowWithoutTheFormSeeingEnter) {
  RECT row{};
  row.left = LVIR_LABEL;
  SendMessageW(list.window, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
  POINT centre{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
  ClientToScreen(list.window, &centre);
  // Each click carries its own position: after SetCursorPos alone, Wine may still place
  // a click at the pointer's previous place (after a busy run of other tests it did).
  INPUT click{};
  click.type = INPUT_MOUSE;
  click.mi.dx = MulDiv(centre.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  click.mi.dy = MulDiv(centre.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  for (DWORD flags :
       {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    click.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &click, sizeof click);
  }
  ASSERT_TRUE(PumpMessagesUntil([] { return !activated.empty(); }));
  EXPECT_EQ(selected, (std::vector<int>{2}));

  // Enter through the tool window's own loop, then its character.
  list.SelectRow(5);
  PressKey(VK_RETURN);
  LoopDeadline deadline(std::chrono::seconds(3));
  RunMessageLoop(&form);
  EXPECT_FALSE(deadline.Fired());
  PumpMessagesFor(std::chrono::milliseconds(100));
  EXPECT_EQ(activated, (std::vector<int>{2, 5}));
  for (int character : formCharacters) EXPECT_NE(character, kEnter);
}

TEST_F(ListViewTest, TheHeaderReportsClicksShowsTheArrowAndIsDrawnWithTheRows) {
  HWND header = ListView_GetHeader(list.window);
  RECT caption{};
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&caption));
  LPARAM point = MAKELPARAM((caption.left + caption.right) / 2, caption.bottom / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(header, WM_LBUTTONUP, 0, point);
  EXPECT_EQ(columnsClicked, (std::vector<int>{1}));

  // The arrow as an image of ours on the caption's right (-1: none), and the alignment kept.
  auto arrow = [&](int column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    const int shown = HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
    return std::make_pair((item.fmt & shown) == shown ? item.iImage : -1, item.fmt & HDF_RIGHT);
  };
  list.SetSortIndicator(1, true);
  EXPECT_EQ(arrow(0), std::make_pair(-1, 0));
  EXPECT_EQ(arrow(1), std::make_pair(kSortDownImage, HDF_RIGHT));
  list.SetSortIndicator(0, false);
  EXPECT_EQ(arrow(0), std::make_pair(kSortUpImage, 0));
  EXPECT_EQ(arrow(1), std::make_pair(-1, HDF_RIGHT));
  list.SetSortIndicator(-1, false);
  EXPECT_EQ(arrow(0), std::make_pair(-1, 0));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)), font.handle);

  // Read through the form's own context: under Wine the screen itself may lag behind.
  RECT client{};
  GetClientRect(form.window, &client);
  auto capture = [&](PixelCanvas& canvas) {
    RedrawWindow(list.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC formContext = GetDC(form.window);
    BitBlt(canvas.Context(), 0, 0, client.right, client.bottom, formContext, 0, 0, SRCCOPY);
    ReleaseDC(form.window, formContext);
  };
  PixelCanvas canvas(client.right, client.bottom, RGB(255, 0, 255));
  capture(canvas);
  // The arrow is drawn, in the shadow colour, on the sorted caption.
  const RECT sortedCaption = InForm(header, caption, form.window, 0);
  const COLORREF arrowInk = GetSysColor(COLOR_BTNSHADOW);
  list.SetSortIndicator(1, true);
  PixelCanvas sorted(client.right, client.bottom, RGB(255, 0, 255));
  capture(sorted);
  list.SetSortIndicator(-1, false);
  EXPECT_GE(sorted.CountOf(arrowInk, sortedCaption) - canvas.CountOf(arrowInk, sortedCaption), 20);
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&caption));
  RECT label{};
  label.left = LVIR_LABEL;
  SendMessageW(list.window, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
  // Text shows as pixels unlike the ground at the corner of the caption and of the label.
  for (RECT area :
       {InForm(header, caption, form.window, 3), InForm(list.window, label, form.window, 2)}) {
    EXPECT_GT(canvas.CountNot(canvas.Pixel(area.left, area.top), area), 20);
  }
}
