#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "tests/toolkit/TestBitmapIds.h"
#include "toolkit/ToolBar.h"
#include "toolkit/ToolBarItem.h"

using namespace LumoUtility;

namespace {

std::vector<GUIElement*> commands;
void RecordCommand(GUIElement* element) { commands.push_back(element); }

TBBUTTON ButtonAt(const ToolBar& bar, int index) {
  TBBUTTON button{};
  SendMessageW(bar.window, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button));
  return button;
}

int ImageCount(const ToolBar& bar) {
  auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(bar.window, TB_GETIMAGELIST, 0, 0));
  return images ? ImageList_GetImageCount(images) : -1;
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  COLORREF colour = GetPixel(dc, x, y);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return colour;
}

std::wstring ToolTipOf(const ToolBar& bar, const ToolBarItem& item) {
  HWND tips = reinterpret_cast<HWND>(SendMessageW(bar.window, TB_GETTOOLTIPS, 0, 0));
  if (!tips) return L"<no tooltip window>";
  return ToolTipText(tips, bar.window, static_cast<UINT_PTR>(item.id));
}

}  // namespace

class ToolBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    commands.clear();
    form.SetSize(500, 300);
    form.Create();
    ASSERT_TRUE(IsWindow(form.window));
  }

  ToolBarItem& NewItem(ToolBar& bar, const char* tip) {
    items.push_back(std::make_unique<ToolBarItem>(&bar));
    items.back()->toolTip = tip;
    items.back()->commandHandler = RecordCommand;
    bar.AddItem(items.back().get());
    return *items.back();
  }

  ToolkitStateScope scope;
  RecordingForm form;
  std::vector<std::unique_ptr<ToolBarItem>> items;
};

TEST_F(ToolBarTest, StyleFromTheSettings) {
  ToolBar main(&form);
  main.flat = true;
  main.showText = true;
  EXPECT_EQ(main.ToolBarStyle(), static_cast<DWORD>(WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS |
                                                    CCS_NODIVIDER | TBSTYLE_FLAT | CCS_TOP));
  ToolBar loose(&form);
  loose.alignTop = false;
  loose.autoSize = false;
  loose.border = true;
  loose.enabled = false;
  EXPECT_EQ(loose.ToolBarStyle(),
            static_cast<DWORD>(WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER |
                               CCS_NORESIZE | WS_BORDER | CCS_NOPARENTALIGN | WS_DISABLED));
  loose.alignRight = true;
  EXPECT_EQ(loose.ToolBarStyle() & 0xFF, 0x83u | CCS_NORESIZE | CCS_NODIVIDER);
  loose.Create();
  EXPECT_EQ(GetWindowLongW(loose.window, GWL_STYLE) & CCS_NOPARENTALIGN, 0);
  EXPECT_EQ(loose.typeName, "toolbar");
}

TEST_F(ToolBarTest, StripImagesAreAddedOnceAndKeptByTheItems) {
  ToolBar bar(&form);
  bar.showText = true;
  ToolBarItem& open = NewItem(bar, "Apri");
  open.image = 7;  // STD_FILEOPEN
  ToolBarItem& separator = NewItem(bar, "");
  separator.style = 1;
  separator.image = 6;
  ToolBarItem& edit = NewItem(bar, "Modifica");
  edit.bitmapId = kStripBitmapId;
  edit.imageCount = 3;
  ToolBarItem& add = NewItem(bar, "Aggiungi");
  add.imageOffset = 1;
  ToolBarItem& close = NewItem(bar, "Chiudi");
  close.imageOffset = 2;
  ToolBarItem& options = NewItem(bar, "Opzioni");
  options.bitmapId = kMappedBitmapId;
  options.maskColour = kMaskColour;
  bar.Create();
  ASSERT_TRUE(IsWindow(bar.window));
  ASSERT_EQ(SendMessageW(bar.window, TB_BUTTONCOUNT, 0, 0), 6);

  // 15 standard images, the 3 of the strip, then the mapped bitmap.
  EXPECT_EQ(edit.image, 15);
  EXPECT_EQ(add.image, 16);
  EXPECT_EQ(close.image, 17);
  EXPECT_EQ(options.image, 18);
  EXPECT_EQ(ImageCount(bar), 19);
  EXPECT_EQ(ButtonAt(bar, 0).iBitmap, 7);
  EXPECT_EQ(ButtonAt(bar, 3).iBitmap, 16);
  EXPECT_EQ(ButtonAt(bar, 2).idCommand, edit.id);
  EXPECT_EQ(ButtonAt(bar, 1).fsStyle, BTNS_SEP);
  EXPECT_EQ(std::wstring(edit.label), L"Modifica");

  // The colour-mapped bitmap is the toolbar's: the mask colour became the button face.
  ASSERT_EQ(bar.mappedBitmaps.size(), 1u);
  HBITMAP mapped = bar.mappedBitmaps[0].Get();
  EXPECT_EQ(BitmapPixel(mapped, 0, 0), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(BitmapPixel(mapped, 8, 8), RGB(255, 0, 0));

  const int firstId = edit.id;
  bar.RebuildButtons();
  bar.RebuildButtons();
  EXPECT_EQ(ImageCount(bar), 19);
  EXPECT_EQ(bar.mappedBitmaps.size(), 1u);
  EXPECT_EQ(edit.image, 15);
  EXPECT_EQ(add.image, 16);
  EXPECT_EQ(edit.id, firstId);
  EXPECT_EQ(SendMessageW(bar.window, TB_BUTTONCOUNT, 0, 0), 6);
  EXPECT_EQ(ButtonAt(bar, 4).iBitmap, 17);
}

TEST_F(ToolBarTest, ADisabledItemGreysOnlyAfterARebuild) {
  ToolBar bar(&form);
  bar.flat = true;
  ToolBarItem& add = NewItem(bar, "Aggiungi");
  add.image = 6;
  ToolBarItem& close = NewItem(bar, "Chiudi");
  close.image = 7;
  bar.Create();
  EXPECT_TRUE(SendMessageW(bar.window, TB_GETSTATE, close.id, 0) & TBSTATE_ENABLED);
  close.SetEnabled(false);
  EXPECT_TRUE(SendMessageW(bar.window, TB_GETSTATE, close.id, 0) & TBSTATE_ENABLED);
  bar.RebuildButtons();
  EXPECT_FALSE(SendMessageW(bar.window, TB_GETSTATE, close.id, 0) & TBSTATE_ENABLED);
  EXPECT_TRUE(SendMessageW(bar.window, TB_GETSTATE, add.id, 0) & TBSTATE_ENABLED);

  // A click reaches the enabled item's handler, not the disabled one's.
  RECT area{};
  SendMessageW(bar.window, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&area));
  LPARAM middle = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  SendMessageW(bar.window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  SendMessageW(bar.window, WM_LBUTTONUP, 0, middle);
  PumpMessagesUntil([] { return !commands.empty(); }, std::chrono::milliseconds(500));
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], &add);
  SendMessageW(bar.window, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&area));
  middle = MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2);
  SendMessageW(bar.window, WM_LBUTTONDOWN, MK_LBUTTON, middle);
  SendMessageW(bar.window, WM_LBUTTONUP, 0, middle);
  PumpMessagesFor(std::chrono::milliseconds(50));
  EXPECT_EQ(commands.size(), 1u);

  // The greyed button looks different from the same button enabled.
  RECT second{};
  SendMessageW(bar.window, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  auto capture = [&] {
    InvalidateRect(bar.window, nullptr, TRUE);
    UpdateWindow(bar.window);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(bar.window);
    for (int y = second.top; y < second.bottom; ++y) {
      for (int x = second.left; x < second.right; ++x) pixels.push_back(GetPixel(dc, x, y));
    }
    ReleaseDC(bar.window, dc);
    return pixels;
  };
  std::vector<COLORREF> greyed = capture();
  close.SetEnabled(true);
  bar.RebuildButtons();
  EXPECT_NE(capture(), greyed);
}

TEST_F(ToolBarTest, AtMostAHundredButtonsAndTooltipsFromTheItems) {
  ToolBar bar(&form);
  for (int i = 0; i < 105; ++i) NewItem(bar, i == 3 ? "Chiudi il veicolo" : "Voce");
  bar.Create();
  EXPECT_EQ(SendMessageW(bar.window, TB_BUTTONCOUNT, 0, 0), 100);
  EXPECT_FALSE(items[104]->created);  // never became a button
  // No text on the buttons, but the tooltip still asks for the item's text.
  EXPECT_EQ(ButtonAt(bar, 3).iString, 0);
  EXPECT_EQ(ToolTipOf(bar, *items[3]), L"Chiudi il veicolo");
  EXPECT_EQ(ToolTipOf(bar, *items[0]), L"Voce");

  // Items added later become buttons at the next rebuild only.
  ToolBar empty(&form);
  empty.Create();
  EXPECT_EQ(SendMessageW(empty.window, TB_BUTTONCOUNT, 0, 0), 0);
  ToolBarItem& later = NewItem(empty, "Nuovo");
  EXPECT_EQ(SendMessageW(empty.window, TB_BUTTONCOUNT, 0, 0), 0);
  empty.RebuildButtons();
  EXPECT_EQ(SendMessageW(empty.window, TB_BUTTONCOUNT, 0, 0), 1);
  EXPECT_EQ(ButtonAt(empty, 0).idCommand, later.id);
}

TEST_F(ToolBarTest, ADeletedItemLeavesItsToolbar) {
  ToolBar bar(&form);
  NewItem(bar, "Nuovo");
  ToolBarItem& open = NewItem(bar, "Apri");
  bar.Create();
  items[0].reset();
  ASSERT_EQ(bar.items, std::vector<ToolBarItem*>{&open});
  bar.RebuildButtons();
  EXPECT_EQ(SendMessageW(bar.window, TB_BUTTONCOUNT, 0, 0), 1);
  EXPECT_EQ(ButtonAt(bar, 0).idCommand, open.id);
  // The fixture's items outlive this toolbar: it lets go of them when it goes.
}

TEST_F(ToolBarTest, ARebuildBeforeTheWindowResolvesNothing) {
  ToolBar bar(&form);
  ToolBarItem& edit = NewItem(bar, "Modifica");
  edit.bitmapId = kStripBitmapId;
  edit.imageCount = 3;
  ToolBarItem& options = NewItem(bar, "Opzioni");
  options.bitmapId = kMappedBitmapId;
  bar.RebuildButtons();
  EXPECT_EQ(edit.image, 0);
  EXPECT_TRUE(bar.mappedBitmaps.empty());
  bar.Create();
  EXPECT_EQ(edit.image, 15);
  EXPECT_EQ(options.image, 18);
}
