#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/CellControl.h"
#include "toolkit/Drawing.h"
#include "toolkit/Grid.h"

using namespace LumoUtility;

namespace {

struct RowEvent {
  GUIElement* grid;
  int row;
};

std::vector<RowEvent> selected;
std::vector<RowEvent> activated;

void RecordSelected(GUIElement* grid, int row) { selected.push_back({grid, row}); }
void RecordActivated(GUIElement* grid, int row) { activated.push_back({grid, row}); }

RECT ClientOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}

SCROLLINFO VerticalBar(HWND window) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window, SB_VERT, &info);
  return info;
}

bool VerticalBarDisabled(HWND window) {
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  GetScrollBarInfo(window, OBJID_VSCROLL, &info);
  // Wine marks the two arrows (not the bar itself) unavailable.
  return (info.rgstate[1] & STATE_SYSTEM_UNAVAILABLE) &&
         (info.rgstate[5] & STATE_SYSTEM_UNAVAILABLE);
}

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

void Paint(HWND window) {
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
}

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kYellow = RGB(255, 255, 0);

}  // namespace

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    selected.clear();
    activated.clear();
    form.SetSize(500, 400);
    form.Create();
    ASSERT_TRUE(IsWindow(form.window));
  }

  // A grid of the given height; 20 rows of 25 pixels never fit in 200.
  std::unique_ptr<Grid> MakeGrid(int rows, int gridHeight = 200) {
    auto grid = std::make_unique<Grid>(&form);
    grid->SetPosition(10, 10);
    grid->SetSize(300, gridHeight);
    grid->rowCount = rows;
    grid->onRowSelected = RecordSelected;
    grid->onRowActivated = RecordActivated;
    grid->Create();
    return grid;
  }

  ToolkitStateScope scope;
  RecordingForm form;
};

TEST_F(GridTest, HeaderCaptionsDefaultToTheColumnNumberAndRowsSitUnderIt) {
  auto grid = MakeGrid(4);
  ASSERT_EQ(grid->headerCells.size(), 3u);
  EXPECT_EQ(grid->headerCells[0]->GetTextAnsi(), "Colonna 0");
  EXPECT_EQ(grid->headerCells[1]->GetTextAnsi(), "Colonna 1");
  EXPECT_EQ(grid->headerCells[2]->GetTextAnsi(), "Colonna 2");
  ASSERT_EQ(grid->RowsBuilt(), 4);
  // Header at y 1, row r at (r + 1) x 25 + r + 2, one pixel between columns.
  EXPECT_EQ(grid->headerCells[0]->RefreshPosition().y, 1);
  EXPECT_EQ(grid->RowPosition(0).y, 27);
  EXPECT_EQ(grid->RowPosition(3).y, 4 * 25 + 3 + 2);
  const int clientWidth = ClientOf(grid->window).right;
  const int defaultWidth = clientWidth / 3 - 1;
  std::vector<CellControl*> cells = grid->GetRowCells(2);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0]->RefreshPosition().x, 1);
  EXPECT_EQ(cells[1]->RefreshPosition().x, defaultWidth + 2);
  EXPECT_EQ(cells[2]->tag, "2");
  EXPECT_TRUE(grid->headerCells[1]->tag.empty());
  EXPECT_EQ(ClientOf(cells[1]->window).right, defaultWidth);
  EXPECT_EQ(ClientOf(cells[1]->window).bottom, 25);
}

TEST_F(GridTest, FitToWidthCutsTheLastColumnAtTheClientEdge) {
  auto grid = std::make_unique<Grid>(&form);
  grid->SetSize(300, 200);
  grid->SetColumnWidth(0, 100);
  grid->SetColumnWidth(1, 100);
  grid->SetColumnWidth(2, 200);
  grid->SetColumnCaption(0, "Intervento");
  grid->Create();
  const int clientWidth = ClientOf(grid->window).right;
  ASSERT_LT(clientWidth, 403);
  EXPECT_EQ(grid->totalWidth, clientWidth);
  EXPECT_EQ(grid->headerCells[2]->RefreshPosition().x, 203);
  EXPECT_EQ(ClientOf(grid->headerCells[2]->window).right, clientWidth - 203);
  // The cut width is kept, so the rows get the same columns as the header.
  EXPECT_EQ(grid->columnWidths[2], clientWidth - 203);
  EXPECT_EQ(ClientOf(grid->GetRowCells(1)[2]->window).right, clientWidth - 203);
  EXPECT_EQ(grid->headerCells[0]->GetTextAnsi(), "Intervento");
  EXPECT_EQ(grid->headerCells[1]->GetTextAnsi(), "Colonna 1");
  // No horizontal bar with fitToWidth.
  EXPECT_FALSE(GetWindowLongW(grid->window, GWL_STYLE) & WS_HSCROLL);
}

TEST_F(GridTest, SelectingScrollsOnlyAsFarAsNeeded) {
  auto grid = MakeGrid(20);
  const int viewHeight = ClientOf(grid->window).bottom;
  const int pitch = 26;
  EXPECT_EQ(grid->selectedRow, -1);  // 20 rows do not fit: nothing selected by Create
  EXPECT_FALSE(VerticalBarDisabled(grid->window));

  // A row below the view: its bottom gap ends exactly at the view's bottom.
  grid->SelectRow(10);
  const int rowTop = grid->RowPosition(10).y;
  EXPECT_EQ(rowTop + pitch, viewHeight);
  const int scrolled = VerticalBar(grid->window).nPos;
  EXPECT_EQ(scrolled, (11 * 25 + 10 + 2) + pitch - viewHeight);
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(selected[0].row, 10);
  EXPECT_EQ(selected[0].grid, grid.get());

  // A fully visible row: no scrolling, but still reported.
  grid->SelectRow(9);
  EXPECT_EQ(VerticalBar(grid->window).nPos, scrolled);
  EXPECT_EQ(grid->RowPosition(10).y, rowTop);
  ASSERT_EQ(selected.size(), 2u);
  EXPECT_EQ(selected[1].row, 9);

  // A row cut by the top edge comes down by one whole row pitch.
  int partial = 0;
  while (partial < 20 &&
         !(grid->RowPosition(partial).y < 0 && grid->RowPosition(partial).y > -pitch)) {
    ++partial;
  }
  ASSERT_LT(partial, 20);
  const int cutTop = grid->RowPosition(partial).y;
  grid->SelectRow(partial);
  EXPECT_EQ(grid->RowPosition(partial).y, cutTop + pitch);
  EXPECT_EQ(VerticalBar(grid->window).nPos, scrolled - pitch);

  // Row 0 scrolls back to the top.
  grid->SelectRow(0);
  EXPECT_EQ(VerticalBar(grid->window).nPos, 0);
  EXPECT_EQ(grid->RowPosition(0).y, 27);
  EXPECT_EQ(selected.size(), 4u);

  // The last row never scrolls past the end of the bar.
  grid->SelectRow(19);
  SCROLLINFO bar = VerticalBar(grid->window);
  EXPECT_LE(bar.nPos, bar.nMax - static_cast<int>(bar.nPage));
  EXPECT_LE(grid->RowPosition(19).y + pitch, viewHeight);
  EXPECT_GE(grid->RowPosition(19).y, 0);

  // A row above the view: it comes back into view.
  grid->SelectRow(2);
  EXPECT_EQ(grid->RowPosition(2).y, 0);
  // A row that does not exist scrolls nothing.
  const int before = VerticalBar(grid->window).nPos;
  grid->SelectRow(25);
  EXPECT_EQ(VerticalBar(grid->window).nPos, before);
}

TEST_F(GridTest, UpAndDownStopAtTheEnds) {
  auto grid = MakeGrid(5, 300);
  grid->Focus();
  // All five rows fit: Create selected row 0.
  EXPECT_EQ(grid->selectedRow, 0);
  selected.clear();
  SendMessageW(grid->window, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(grid->selectedRow, 0);
  ASSERT_EQ(selected.size(), 1u);  // reported again
  EXPECT_EQ(selected[0].row, 0);

  SendMessageW(grid->window, WM_KEYDOWN, VK_DOWN, 0);
  SendMessageW(grid->window, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(grid->selectedRow, 2);
  grid->SelectRow(4);
  selected.clear();
  SendMessageW(grid->window, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(grid->selectedRow, 4);
  EXPECT_TRUE(selected.empty());
  SendMessageW(grid->window, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(grid->selectedRow, 3);
}

TEST_F(GridTest, TheSelectionStaysOnTheRowsInUse) {
  auto grid = MakeGrid(6, 300);
  grid->rowsInUse = 3;
  grid->Focus();
  for (int press = 0; press < 5; ++press) SendMessageW(grid->window, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(grid->selectedRow, 2);
  // A click or a double-click on an empty row below changes nothing.
  SendMessageW(grid->GetRowCells(4)[1]->window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(grid->GetRowCells(5)[0]->window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(grid->selectedRow, 2);
  EXPECT_TRUE(activated.empty());
  SendMessageW(grid->window, WM_CHAR, 13, 0);
  ASSERT_EQ(activated.size(), 1u);
  EXPECT_EQ(activated[0].row, 2);
}

TEST_F(GridTest, EnterAndDoubleClickActivateOnlyASelectedDataRow) {
  auto grid = MakeGrid(20);
  ASSERT_EQ(grid->selectedRow, -1);
  // Enter with no selection does nothing.
  SendMessageW(grid->window, WM_CHAR, 13, 0);
  EXPECT_TRUE(activated.empty());
  EXPECT_TRUE(selected.empty());

  // A header double-click focuses the grid and selects nothing.
  SetFocus(form.window);
  ASSERT_EQ(GetFocus(), form.window);
  SendMessageW(grid->headerCells[1]->window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(GetFocus(), grid->window);
  EXPECT_EQ(grid->selectedRow, -1);
  EXPECT_TRUE(activated.empty());
  EXPECT_TRUE(selected.empty());
  SendMessageW(grid->headerCells[1]->window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(grid->selectedRow, -1);

  // A click on a data cell selects its row; a double-click activates it.
  SendMessageW(grid->GetRowCells(3)[2]->window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(grid->selectedRow, 3);
  EXPECT_TRUE(activated.empty());
  SendMessageW(grid->GetRowCells(4)[0]->window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_EQ(activated.size(), 1u);
  EXPECT_EQ(activated[0].row, 4);
  EXPECT_EQ(grid->selectedRow, 4);

  // Enter activates the selected row, through the real keyboard path.
  grid->Focus();
  PostMessageW(grid->window, WM_KEYDOWN, VK_RETURN, 0x001C0001);
  ASSERT_TRUE(PumpMessagesUntil([] { return activated.size() == 2; }));
  EXPECT_EQ(activated[1].row, 4);
  EXPECT_EQ(selected.back().row, 4);
}

TEST_F(GridTest, AllRowsFittingSelectsRowZeroAndDisablesTheBar) {
  auto grid = MakeGrid(3, 300);
  EXPECT_EQ(grid->selectedRow, 0);
  ASSERT_FALSE(selected.empty());
  EXPECT_EQ(selected.back().row, 0);
  EXPECT_TRUE(VerticalBarDisabled(grid->window));
  // The bar is only disabled, never taken away, with fitToWidth.
  EXPECT_TRUE(GetWindowLongW(grid->window, GWL_STYLE) & WS_VSCROLL);

  // Growing past the view enables it and sets the range to whole row pitches.
  for (int i = 0; i < 12; ++i) grid->AddRow();
  EXPECT_EQ(grid->RowsBuilt(), 15);
  EXPECT_EQ(grid->rowCount, 15);
  EXPECT_FALSE(VerticalBarDisabled(grid->window));
  const int excess = 16 * 26 + 1 - ClientOf(grid->window).bottom;
  EXPECT_EQ(grid->scrollMax % 26, 0);
  EXPECT_GT(grid->scrollMax, excess - 1);
  EXPECT_LE(grid->scrollMax, excess + 26);
  SCROLLINFO bar = VerticalBar(grid->window);
  EXPECT_EQ(bar.nMax, grid->scrollMax + grid->scrollMax / 10);
  EXPECT_EQ(bar.nPage, static_cast<UINT>(grid->scrollMax / 10));
  EXPECT_EQ(grid->RowPosition(14).y, 15 * 25 + 14 + 2);
}

TEST_F(GridTest, WithoutFitToWidthWideColumnsScrollSideways) {
  auto grid = std::make_unique<Grid>(&form);
  grid->SetSize(300, 300);
  grid->fitToWidth = false;
  grid->rowCount = 3;
  grid->SetColumnWidth(0, 200);
  grid->SetColumnWidth(1, 200);
  grid->SetColumnWidth(2, 200);
  grid->SetColumnAlignment(0, 0);
  grid->onRowSelected = RecordSelected;
  grid->Create();
  EXPECT_EQ(grid->totalWidth, 3 * 201);  // nothing cut
  EXPECT_EQ(grid->headerCells[0]->textAlignment, 0);
  EXPECT_EQ(grid->GetRowCells(1)[0]->textAlignment, 0);
  EXPECT_EQ(grid->GetRowCells(1)[1]->textAlignment, 2);
  // Three rows fit: the vertical bar goes away instead of being disabled.
  EXPECT_FALSE(GetWindowLongW(grid->window, GWL_STYLE) & WS_VSCROLL);
  ASSERT_TRUE(GetWindowLongW(grid->window, GWL_STYLE) & WS_HSCROLL);
  const int clientWidth = ClientOf(grid->window).right;
  EXPECT_EQ(grid->scrollMax, grid->totalWidth - clientWidth);

  SendMessageW(grid->window, WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  SCROLLINFO bar{};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_POS;
  GetScrollInfo(grid->window, SB_HORZ, &bar);
  const int scrolled = bar.nPos;
  ASSERT_GT(scrolled, 0);
  EXPECT_EQ(grid->headerCells[0]->RefreshPosition().x, 1 - scrolled);

  // A new row is built at the left edge: the grid scrolls back first.
  grid->AddRow();
  EXPECT_EQ(grid->headerCells[0]->RefreshPosition().x, 1);
  EXPECT_EQ(grid->RowPosition(3).x, 1);
  EXPECT_EQ(grid->ScrollToLeft(), 0);
  SendMessageW(grid->window, WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(grid->ScrollToLeft(), scrolled);

  // Enough rows for a vertical bar bring it back.
  for (int i = 0; i < 10; ++i) grid->AddRow();
  EXPECT_TRUE(GetWindowLongW(grid->window, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(grid->RowPosition(13).y, 14 * 25 + 13 + 2);
}

TEST_F(GridTest, OutOfRangeCellsAreIgnored) {
  auto grid = MakeGrid(2, 300);
  grid->SetCellText(0, 1, "Tagliando");
  grid->SetCellText(2, 0, "fuori");
  grid->SetCellText(0, 3, "fuori");
  grid->SetCellText(-1, 0, "fuori");
  EXPECT_EQ(grid->GetRowCells(0)[1]->GetTextAnsi(), "Tagliando");
  EXPECT_TRUE(grid->GetRowCells(2).empty());
  EXPECT_TRUE(grid->GetRowCells(-1).empty());
  POINT none = grid->RowPosition(2);
  EXPECT_EQ(none.x, -1);
  EXPECT_EQ(none.y, -1);
  grid->SetColumnCaption(2, "Costo");
  EXPECT_EQ(grid->headerCells[2]->GetTextAnsi(), "Costo");
}

TEST_F(GridTest, ClearCellsKeepsTheRowsAndRemovesTextsAndPictures) {
  auto grid = MakeGrid(4, 300);
  RECT inner{4, 4, 16, 16};
  HBITMAP face = MakeSolidBitmap(20, 20, kBlack, &inner, kRed);
  for (int row = 0; row < 4; ++row) {
    grid->SetCellText(row, 1, "Cambio olio");
    grid->GetRowCells(row)[0]->SetImage(face, 1, 20, 20);
  }
  Paint(grid->GetRowCells(1)[0]->window);
  HWND first = grid->GetRowCells(1)[0]->window;
  const int cellWidth = ClientOf(first).right;
  EXPECT_EQ(WindowPixel(first, cellWidth - 3 - 10, 12), kRed);
  EXPECT_EQ(grid->GetRowCells(1)[1]->GetTextAnsi(), "Cambio olio");
  // The picture's black frame lets the cell's white show through.
  EXPECT_EQ(WindowPixel(first, cellWidth - 3 - 19, 12), kWhite);
  EXPECT_EQ(WindowPixel(first, cellWidth - 3 - 10, 3), kWhite);

  grid->ClearCells();
  EXPECT_EQ(grid->RowsBuilt(), 4);
  for (int row = 0; row < 4; ++row) {
    for (CellControl* cell : grid->GetRowCells(row)) {
      EXPECT_TRUE(cell->GetTextAnsi().empty());
      EXPECT_EQ(cell->image, nullptr);
      EXPECT_EQ(cell->imageAlignment, 0);
      EXPECT_EQ(cell->imageWidth, 0);
      EXPECT_EQ(cell->imageHeight, 0);
    }
  }
  Paint(first);
  EXPECT_EQ(WindowPixel(first, cellWidth - 3 - 10, 12), kWhite);
  DeleteObject(face);
}

TEST_F(GridTest, ASelectedRowShowsTheSelectionColourAndTheOthersTheirOwn) {
  auto grid = MakeGrid(4, 300);
  grid->SelectRow(2);
  for (int row = 0; row < 4; ++row) Paint(grid->GetRowCells(row)[1]->window);
  EXPECT_EQ(WindowPixel(grid->GetRowCells(2)[1]->window, 4, 4), kYellow);
  EXPECT_EQ(WindowPixel(grid->GetRowCells(2)[0]->window, 4, 20), kYellow);
  EXPECT_EQ(WindowPixel(grid->GetRowCells(0)[1]->window, 4, 4), kWhite);
  // The grid lines: the grey background between cells.
  POINT second = grid->GetRowCells(2)[1]->RefreshPosition();
  EXPECT_EQ(WindowPixel(grid->window, second.x - 1, second.y + 5), RGB(128, 128, 128));

  // Moving the selection gives the old row its class background back.
  grid->SelectRow(1);
  Paint(grid->GetRowCells(2)[1]->window);
  Paint(grid->GetRowCells(1)[1]->window);
  EXPECT_EQ(WindowPixel(grid->GetRowCells(2)[1]->window, 4, 4), kWhite);
  EXPECT_EQ(WindowPixel(grid->GetRowCells(1)[1]->window, 4, 4), kYellow);
  EXPECT_FALSE(grid->GetRowCells(2)[1]->backgroundPainted);
}

TEST(CellPainting, ThePictureSitsAtTheRightWithItsBlackTransparent) {
  ToolkitStateScope scope;
  CellControl cell(nullptr);
  cell.backColour = static_cast<int>(kYellow);
  cell.backgroundPainted = true;
  // A 20 x 20 picture: black frame of 5 pixels around a red square.
  RECT face{5, 5, 15, 15};
  HBITMAP picture = MakeSolidBitmap(20, 20, kBlack, &face, kRed);
  cell.SetImage(picture, 1, 20, 20);
  PixelCanvas canvas(100, 26, kWhite);
  Drawing drawing;
  drawing.Attach(canvas.Context());
  cell.Paint(drawing, 100, 26);
  drawing.Finish();
  // Right alignment: x = 100 - 20 - 3 = 77, y = (26 - 20) / 2 = 3.
  EXPECT_EQ(canvas.Pixel(77 + 10, 3 + 10), kRed);
  EXPECT_EQ(canvas.Pixel(77 + 5, 3 + 5), kRed);
  EXPECT_EQ(canvas.Pixel(77 + 4, 3 + 4), kYellow);  // black frame shows the background
  EXPECT_EQ(canvas.Pixel(77 + 1, 3 + 10), kYellow);
  EXPECT_EQ(canvas.Pixel(76, 13), kYellow);
  EXPECT_EQ(canvas.CountOf(kBlack, RECT{0, 0, 100, 26}), 0);
  RECT leftPart{0, 0, 77, 26};
  EXPECT_EQ(canvas.CountOf(kRed, leftPart), 0);

  // Centred and left alignments.
  PixelCanvas centred(100, 26, kWhite);
  drawing.Attach(centred.Context());
  cell.SetImage(picture, 2, 20, 20);
  cell.Paint(drawing, 100, 26);
  drawing.Finish();
  EXPECT_EQ(centred.Pixel(40 + 10, 13), kRed);
  EXPECT_EQ(centred.Pixel(40 + 1, 13), kYellow);
  PixelCanvas left(100, 26, kWhite);
  drawing.Attach(left.Context());
  cell.SetImage(picture, 0, 20, 20);
  cell.Paint(drawing, 100, 26);
  drawing.Finish();
  EXPECT_EQ(left.Pixel(3 + 10, 13), kRed);
  DeleteObject(picture);
}

TEST(CellPainting, TextAndMarkerUseTheTextColour) {
  ToolkitStateScope scope;
  CellControl cell(nullptr);
  cell.SetText("Freni");
  cell.textColour = static_cast<int>(kRed);
  cell.textAlignment = 0;
  PixelCanvas canvas(120, 26, kWhite);
  Drawing drawing;
  drawing.Attach(canvas.Context());
  cell.Paint(drawing, 120, 26);
  EXPECT_GT(canvas.CountOf(kRed, RECT{0, 0, 60, 26}), 10);
  EXPECT_EQ(canvas.CountNot(kWhite, RECT{60, 0, 120, 26}), 0);
  cell.showMarker = true;
  cell.Paint(drawing, 120, 26);
  drawing.Finish();
  // The marker sits in the bottom-right square of the text height (its small glyph is
  // smoothed, so any ink counts).
  EXPECT_GT(canvas.CountNot(kWhite, RECT{100, 8, 120, 26}), 0);
  EXPECT_EQ(canvas.CountNot(kWhite, RECT{60, 0, 100, 26}), 0);
}
