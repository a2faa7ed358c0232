// The list view with virtual rows, through real windows and real input under Wine.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/ListView.h"
#include "toolkit/MessageLoop.h"

using namespace LumoUtility;

namespace {

constexpr int kRows = 100000;

std::set<int> rowsAsked;
int questions = 0;
std::vector<int> selected;
std::vector<int> activated;
std::vector<int> columnsClicked;
std::vector<int> formCharacters;

std::string CellText(GUIElement*, int row, int column) {
  rowsAsked.insert(row);
  ++questions;
  return column == 0 ? "Riga " + std::to_string(row) : "Cambio olio";
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

RECT RowRect(HWND list, int row, int part) {
  RECT rect{};
  rect.left = part;
  SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void SendKey(WORD key) {
  INPUT input[2]{};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

// Dark pixels (text drawn black on a light ground) inside the rectangle of the window.
int DarkPixels(const PixelCanvas& canvas, RECT area) {
  int dark = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const COLORREF colour = canvas.Pixel(x, y);
      dark += GetRValue(colour) < 0x80 && GetGValue(colour) < 0x80 && GetBValue(colour) < 0x80;
    }
  }
  return dark;
}

}  // namespace

class ListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rowsAsked.clear();
    questions = 0;
    selected.clear();
    activated.clear();
    columnsClicked.clear();
    formCharacters.clear();
    // A tool window runs its loop through IsDialogMessage, which would take Enter for
    // the form; its controls' keys are previewed by the form.
    form.SetSize(500, 400);
    form.keyPreview = true;
    form.Create();
    form.onKeyPress = RecordFormCharacter;
    list = std::make_unique<ListView>(&form);
    list->SetPosition(10, 10);
    list->SetSize(400, 300);
    list->font = &font;
    list->AddColumn("Intervento", 150);
    list->AddColumn("Km", 80, 1);
    list->cellText = CellText;
    list->onRowSelected = RecordSelected;
    list->onRowActivated = RecordActivated;
    list->onColumnClick = RecordColumn;
    list->Create();
    list->SetRowCount(kRows);
    SetForegroundWindow(form.window);
    list->Focus();
    PumpMessagesUntil([&] { return GetForegroundWindow() == form.window; });
    UpdateWindow(list->window);
  }

  // Every row asked for since the last clear lies on screen (the last one maybe in part).
  void ExpectOnlyVisibleRowsAsked() {
    const int first = list->FirstVisibleRow();
    ASSERT_FALSE(rowsAsked.empty());
    EXPECT_GE(*rowsAsked.begin(), first);
    EXPECT_LE(*rowsAsked.rbegin(), first + list->VisibleRowCount());
    EXPECT_LE(questions, 4 * list->ColumnCount() * (list->VisibleRowCount() + 1));
  }

  ToolkitStateScope scope;
  RecordingForm form{true};
  FontSpec font{L"Tahoma", 14};
  std::unique_ptr<ListView> list;
};

TEST_F(ListViewTest, AsksOnlyForTheRowsOnScreen) {
  EXPECT_EQ(list->RowCount(), kRows);
  EXPECT_EQ(list->FirstVisibleRow(), 0);
  EXPECT_GT(list->VisibleRowCount(), 5);
  ExpectOnlyVisibleRowsAsked();
  EXPECT_EQ(*rowsAsked.begin(), 0);

  rowsAsked.clear();
  questions = 0;
  ASSERT_TRUE(list->SelectRow(kRows - 1));
  UpdateWindow(list->window);
  EXPECT_EQ(list->SelectedRow(), kRows - 1);
  EXPECT_EQ(list->FirstVisibleRow() + list->VisibleRowCount(), kRows);
  ExpectOnlyVisibleRowsAsked();
  EXPECT_EQ(selected, (std::vector<int>{kRows - 1}));

  // Home, then End, as the user scrolls; a move reports the new row only, never "none"
  // in between.
  SendKey(VK_HOME);
  ASSERT_TRUE(PumpMessagesUntil([] { return selected.size() == 2; }));
  EXPECT_EQ(list->FirstVisibleRow(), 0);
  rowsAsked.clear();
  questions = 0;
  SendKey(VK_END);
  ASSERT_TRUE(PumpMessagesUntil([] { return selected.size() == 3; }));
  UpdateWindow(list->window);
  EXPECT_EQ(selected, (std::vector<int>{kRows - 1, 0, kRows - 1}));
  ExpectOnlyVisibleRowsAsked();

  // Fewer rows keep a selection that still exists and drop one that does not.
  list->SelectRow(3);
  list->SetRowCount(50);
  EXPECT_EQ(list->SelectedRow(), 3);
  list->SetRowCount(2);
  EXPECT_EQ(list->SelectedRow(), -1);
  EXPECT_EQ(selected.back(), -1);
  EXPECT_FALSE(list->SelectRow(2));
}

TEST_F(ListViewTest, DoubleClickAndEnterActivateTheRowWithoutTheFormSeeingEnter) {
  RECT row = RowRect(list->window, 2, LVIR_LABEL);
  POINT centre{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
  ClientToScreen(list->window, &centre);
  SetCursorPos(centre.x, centre.y);
  for (int click = 0; click < 2; ++click) {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
  }
  ASSERT_TRUE(PumpMessagesUntil([] { return !activated.empty(); }));
  EXPECT_EQ(activated, (std::vector<int>{2}));
  EXPECT_EQ(list->SelectedRow(), 2);
  EXPECT_EQ(selected, (std::vector<int>{2}));

  // Enter through the tool window's own loop (IsDialogMessage), then its character.
  list->SelectRow(5);
  SendKey(VK_RETURN);
  LoopDeadline deadline(std::chrono::seconds(3));
  RunMessageLoop(&form);
  EXPECT_FALSE(deadline.Fired());
  PumpMessagesFor(std::chrono::milliseconds(100));
  EXPECT_EQ(activated, (std::vector<int>{2, 5}));
  for (int character : formCharacters) EXPECT_NE(character, kEnter);
}

TEST_F(ListViewTest, HeaderClickReportsTheColumnAndTheSortArrowShows) {
  HWND header = ListView_GetHeader(list->window);
  RECT item{};
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
  LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(header, WM_LBUTTONUP, 0, point);
  EXPECT_EQ(columnsClicked, (std::vector<int>{1}));

  auto format = [&](int column) {
    HDITEMW described{};
    described.mask = HDI_FORMAT;
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&described));
    return described.fmt & (HDF_SORTUP | HDF_SORTDOWN | HDF_RIGHT);
  };
  list->SetSortIndicator(1, true);
  EXPECT_EQ(format(0), 0);
  EXPECT_EQ(format(1), HDF_SORTDOWN | HDF_RIGHT);
  list->SetSortIndicator(0, false);
  EXPECT_EQ(format(0), HDF_SORTUP);
  EXPECT_EQ(format(1), HDF_RIGHT);
}

TEST_F(ListViewTest, HeaderAndFirstRowAreDrawnInTheElementsFont) {
  HWND header = ListView_GetHeader(list->window);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)), font.handle);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(list->window, WM_GETFONT, 0, 0)), font.handle);

  RedrawWindow(list->window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // Read through the form's own context: under Wine the screen itself may lag behind.
  RECT bounds{};
  GetWindowRect(list->window, &bounds);
  MapWindowPoints(nullptr, form.window, reinterpret_cast<POINT*>(&bounds), 2);
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  PixelCanvas canvas(width, height, RGB(255, 0, 255));
  HDC formContext = GetDC(form.window);
  BitBlt(canvas.Context(), 0, 0, width, height, formContext, bounds.left, bounds.top, SRCCOPY);
  ReleaseDC(form.window, formContext);

  // Inside the first caption and the first row's label, clear of their edges.
  RECT caption{};
  SendMessageW(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&caption));
  MapWindowPoints(header, form.window, reinterpret_cast<POINT*>(&caption), 2);
  OffsetRect(&caption, -bounds.left, -bounds.top);
  InflateRect(&caption, -3, -3);
  RECT label = RowRect(list->window, 0, LVIR_LABEL);
  MapWindowPoints(list->window, form.window, reinterpret_cast<POINT*>(&label), 2);
  OffsetRect(&label, -bounds.left, -bounds.top);
  InflateRect(&label, -1, -1);
  EXPECT_GT(DarkPixels(canvas, caption), 20);
  EXPECT_GT(DarkPixels(canvas, label), 20);
}
