#include <gtest/gtest.h>

#include <string>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/Button.h"
#include "toolkit/Drawing.h"
#include "toolkit/Font.h"
#include "toolkit/OwnerDrawnButton.h"
#include "toolkit/PanelChildren.h"

using namespace LumoUtility;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

RECT Area(int left, int top, int right, int bottom) { return RECT{left, top, right, bottom}; }

}  // namespace

class OwnerDrawnButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.Create();
    button.ownerDraw = true;
    button.SetSize(80, 30);
    button.Create();
    ASSERT_TRUE(GetWindowLongW(button.window, GWL_STYLE) & BS_OWNERDRAW);
  }

  // Sends the parent the owner-draw request a real button would send, over the canvas.
  LRESULT Draw(PixelCanvas& canvas, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(button.id);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = button.window;
    item.hDC = canvas.Context();
    item.rcItem = RECT{0, 0, 80, 30};
    return SendMessageW(form.window, WM_DRAWITEM, static_cast<WPARAM>(button.id),
                        reinterpret_cast<LPARAM>(&item));
  }

  ToolkitStateScope scope;
  RecordingForm form;
  Button button{&form, "Salva"};
};

TEST_F(OwnerDrawnButtonTest, EnabledButtonUsesTheContextsColours) {
  PixelCanvas canvas(80, 30, kWhite);
  SetBkColor(canvas.Context(), kGreen);
  SetTextColor(canvas.Context(), RGB(0, 0, 128));
  EXPECT_EQ(Draw(canvas, 0), TRUE);
  EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 128));
  EXPECT_EQ(canvas.Pixel(79, 29), RGB(0, 0, 128));
  EXPECT_EQ(canvas.Pixel(3, 3), kGreen);
  EXPECT_GT(canvas.CountOf(RGB(0, 0, 128), Area(1, 1, 79, 29)), 10);
  EXPECT_EQ(canvas.CountOf(kWhite, Area(0, 0, 80, 30)), 0);
}

TEST_F(OwnerDrawnButtonTest, DisabledButtonIsGreyInADarkGreyOutline) {
  PixelCanvas canvas(80, 30, kWhite);
  SetBkColor(canvas.Context(), kWhite);
  SetTextColor(canvas.Context(), kBlack);
  EXPECT_EQ(Draw(canvas, ODS_DISABLED), TRUE);
  EXPECT_EQ(canvas.Pixel(0, 0), RGB(0x69, 0x69, 0x69));
  EXPECT_EQ(canvas.Pixel(40, 29), RGB(0x69, 0x69, 0x69));
  EXPECT_GT(canvas.CountOf(RGB(0x96, 0x96, 0x96), Area(1, 1, 79, 29)), 10);
  EXPECT_EQ(canvas.CountOf(kBlack, Area(1, 1, 79, 29)), 0);
}

TEST_F(OwnerDrawnButtonTest, PressedButtonKeepsItsTextAndInvertsItsOutline) {
  PixelCanvas canvas(80, 30, kWhite);
  SetBkColor(canvas.Context(), kWhite);
  SetTextColor(canvas.Context(), RGB(0x80, 0, 0));
  EXPECT_EQ(Draw(canvas, ODS_SELECTED), TRUE);
  EXPECT_EQ(canvas.Pixel(0, 0), static_cast<COLORREF>(0xFFFFFF - 0x000080));
  EXPECT_GT(canvas.CountOf(RGB(0x80, 0, 0), Area(1, 1, 79, 29)), 10);
}

TEST_F(OwnerDrawnButtonTest, PictureFollowsTheEnabledStateAndShiftsTheCaption) {
  HBITMAP red = MakeSolidBitmap(10, 10, kRed);
  HBITMAP blue = MakeSolidBitmap(10, 10, kBlue);
  button.image = red;
  button.disabledImage = blue;
  {
    PixelCanvas canvas(80, 30, kWhite);
    SetBkColor(canvas.Context(), kWhite);
    Draw(canvas, 0);
    EXPECT_EQ(canvas.Pixel(5, 10), kRed);
    EXPECT_EQ(canvas.Pixel(14, 19), kRed);
    EXPECT_EQ(canvas.Pixel(4, 10), kWhite);
  }
  {
    button.SetEnabled(false);
    PixelCanvas canvas(80, 30, kWhite);
    SetBkColor(canvas.Context(), kWhite);
    Draw(canvas, ODS_DISABLED);
    EXPECT_EQ(canvas.Pixel(5, 10), kBlue);
    EXPECT_EQ(canvas.CountOf(kRed, Area(0, 0, 80, 30)), 0);
  }
  Drawing drawing;
  PixelCanvas canvas(80, 30, kWhite);
  drawing.Attach(canvas.Context());
  EXPECT_EQ(button.DrawImage(drawing, RECT{0, 0, 80, 30}, false), 10 + 8);
  button.disabledImage = nullptr;
  EXPECT_EQ(button.DrawImage(drawing, RECT{0, 0, 80, 30}, false), 0);
  DeleteObject(red);
  DeleteObject(blue);
}

TEST_F(OwnerDrawnButtonTest, FocusRectangleInsideTheOutline) {
  PixelCanvas plain(80, 30, kWhite);
  SetBkColor(plain.Context(), kWhite);
  Draw(plain, 0);
  PixelCanvas focused(80, 30, kWhite);
  SetBkColor(focused.Context(), kWhite);
  Draw(focused, ODS_FOCUS);
  int changed = 0;
  for (int x = 3; x < 77; ++x) changed += plain.Pixel(x, 3) != focused.Pixel(x, 3);
  EXPECT_GT(changed, 10);
  EXPECT_EQ(plain.Pixel(40, 2), focused.Pixel(40, 2));
}

TEST(DrawingPixels, TransparentBitmapKeepsTheBackgroundWherePureBlack) {
  // A 20 x 20 black bitmap with a red 10 x 10 square in the middle.
  RECT square{5, 5, 15, 15};
  HBITMAP bitmap = MakeSolidBitmap(20, 20, kBlack, &square, kRed);
  PixelCanvas canvas(120, 60, kGreen);
  // Whatever colours the caller left in the context must not tint the result.
  SetTextColor(canvas.Context(), kWhite);
  SetBkColor(canvas.Context(), RGB(0x80, 0x80, 0x80));
  Drawing drawing;
  drawing.Attach(canvas.Context());

  drawing.DrawTransparentBitmap(10, 10, 0, 0, bitmap);  // natural size
  EXPECT_EQ(canvas.Pixel(11, 11), kGreen);
  EXPECT_EQ(canvas.Pixel(14, 14), kGreen);
  EXPECT_EQ(canvas.Pixel(15, 15), kRed);
  EXPECT_EQ(canvas.Pixel(24, 24), kRed);
  EXPECT_EQ(canvas.Pixel(25, 25), kGreen);
  EXPECT_EQ(canvas.CountOf(kRed, Area(0, 0, 50, 60)), 100);

  drawing.DrawTransparentBitmap(60, 10, 40, 40, bitmap);  // stretched twice
  EXPECT_EQ(canvas.Pixel(62, 12), kGreen);
  EXPECT_EQ(canvas.Pixel(80, 30), kRed);
  EXPECT_EQ(canvas.Pixel(98, 48), kGreen);
  EXPECT_EQ(canvas.CountOf(kRed, Area(50, 0, 120, 60)), 400);
  EXPECT_EQ(GetTextColor(canvas.Context()), kWhite);
  EXPECT_TRUE(drawing.LastErrorText().empty());
  DeleteObject(bitmap);
}

TEST(DrawingPixels, RectanglesTextHeightAndBitmap) {
  PixelCanvas canvas(100, 60, kWhite);
  Drawing drawing;
  drawing.Attach(canvas.Context());
  drawing.FillRectangle(10, 10, 20, 10, static_cast<int>(kBlue));
  EXPECT_EQ(canvas.CountOf(kBlue, Area(0, 0, 100, 60)), 200);
  drawing.FrameRectangle(40, 10, 20, 10, static_cast<int>(kRed));
  EXPECT_EQ(canvas.Pixel(40, 10), kRed);
  EXPECT_EQ(canvas.Pixel(59, 19), kRed);
  EXPECT_EQ(canvas.Pixel(50, 15), kWhite);  // hollow

  FontSpec tahoma(L"Tahoma", 14);
  EXPECT_GT(drawing.GetTextHeight(&tahoma), 0);
  EXPECT_EQ(drawing.GetTextHeight(nullptr), -1);

  HBITMAP bitmap = MakeSolidBitmap(8, 4, kGreen);
  drawing.DrawBitmap(bitmap, 50);
  EXPECT_EQ(canvas.Pixel(0, 50), kGreen);
  EXPECT_EQ(canvas.Pixel(7, 53), kGreen);
  EXPECT_EQ(canvas.Pixel(8, 50), kWhite);
  DeleteObject(bitmap);

  // Finishing an attached drawing neither ends a paint cycle nor frees the context.
  drawing.Finish();
  drawing.Finish();
  EXPECT_EQ(drawing.Context(), nullptr);
  EXPECT_EQ(GetObjectType(canvas.Context()), static_cast<DWORD>(OBJ_MEMDC));
  drawing.FillRectangle(0, 0, 100, 60, static_cast<int>(kBlack));  // no context: nothing
  EXPECT_EQ(canvas.Pixel(0, 0), kWhite);
}

TEST(DrawingPixels, TextWithZeroWidthIsWrittenUnclipped) {
  PixelCanvas clipped(300, 40, kWhite);
  Drawing first;
  first.Attach(clipped.Context());
  first.DrawTextIn(10, 5, 6, 30, std::string("Manutenzione"), 0, nullptr, kAlignLeft);
  EXPECT_GT(clipped.CountNot(kWhite, Area(10, 0, 16, 40)), 0);
  EXPECT_EQ(clipped.CountNot(kWhite, Area(16, 0, 300, 40)), 0);

  PixelCanvas unclipped(300, 40, kWhite);
  Drawing second;
  second.Attach(unclipped.Context());
  second.DrawTextIn(10, 5, 0, 30, std::string("Manutenzione"), 0, nullptr, kAlignLeft);
  EXPECT_GT(unclipped.CountNot(kWhite, Area(16, 0, 300, 40)), 0);
  EXPECT_EQ(unclipped.CountNot(kWhite, Area(0, 0, 10, 40)), 0);
  EXPECT_EQ(unclipped.CountNot(kWhite, Area(0, 0, 300, 5)), 0);
  EXPECT_EQ(GetTextColor(unclipped.Context()), kBlack);
}

namespace {

// The pixels black text leaves on a white 200 x 30 canvas.
int Ink(const std::wstring& text, int alignment) {
  PixelCanvas canvas(200, 30, kWhite);
  Drawing drawing;
  drawing.Attach(canvas.Context());
  drawing.DrawTextIn(0, 0, 200, 30, text, static_cast<int>(kBlack), nullptr, alignment);
  return canvas.CountNot(kWhite, Area(0, 0, 200, 30));
}

}  // namespace

TEST(DrawingPixels, TextIsCutAfter1023Characters) {
  // Right-aligned, so only the end of the text lands in the rectangle.
  auto inkAtTheEnd = [](const std::wstring& text) { return Ink(text, kAlignRight); };
  EXPECT_GT(inkAtTheEnd(std::wstring(1022, L' ') + L"XXXXXXXX"), 0);  // X is character 1023
  EXPECT_EQ(inkAtTheEnd(std::wstring(1023, L' ') + L"XXXXXXXX"), 0);
  EXPECT_EQ(inkAtTheEnd(std::wstring(5000, L' ') + L"XXXXXXXX"), 0);
}

TEST(DrawingPixels, AnAmpersandIsDrawnAsItself) {
  // With prefix processing "&&" would show one ampersand and a lone "&" none at all.
  auto ink = [](const std::wstring& text) { return Ink(text, kAlignLeft); };
  EXPECT_GT(ink(L"&"), 0);
  EXPECT_GT(ink(L"&&"), ink(L"&"));
}

TEST(DrawingPixels, ColouredTextInAFontRestoresTheContext) {
  PixelCanvas canvas(200, 40, kWhite);
  HGDIOBJ fontBefore = GetCurrentObject(canvas.Context(), OBJ_FONT);
  FontSpec tahoma(L"Tahoma", 20);
  tahoma.bold = true;
  Drawing drawing;
  drawing.Attach(canvas.Context());
  drawing.DrawTextIn(0, 0, 200, 40, std::string("Tagliando"), static_cast<int>(kRed), &tahoma,
                     kAlignCentre);
  EXPECT_GT(canvas.CountNot(kWhite, Area(0, 0, 200, 40)), 20);
  EXPECT_EQ(canvas.CountNot(kWhite, Area(0, 0, 30, 40)), 0);  // centred, nothing at the left
  EXPECT_EQ(GetCurrentObject(canvas.Context(), OBJ_FONT), fontBefore);
  EXPECT_EQ(GetTextColor(canvas.Context()), kBlack);
}

namespace {

COLORREF WindowPixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

void PaintRedSquare(GUIElement* element) {
  Drawing drawing(*element);
  drawing.FillRectangle(0, 0, 10, 10, static_cast<int>(kRed));
  drawing.Finish();
}

}  // namespace

TEST(DrawingOnWindows, BackColourAndAPaintCycleReachTheWindow) {
  ToolkitStateScope scope;
  RecordingForm form;
  form.SetSize(300, 200);
  form.Create();
  form.SetBackColor(static_cast<int>(kBlue));
  EXPECT_TRUE(form.backgroundPainted);
  EXPECT_EQ(WindowPixel(form.window, 50, 50), kBlue);

  // A repaint keeps the colour although the class brush is the system one.
  InvalidateRect(form.window, nullptr, TRUE);
  UpdateWindow(form.window);
  EXPECT_EQ(WindowPixel(form.window, 60, 60), kBlue);

  PanelChildren panel(&form);
  panel.SetPosition(0, 0);
  panel.SetSize(100, 100);
  panel.backColour = static_cast<int>(kGreen);  // becomes the class background
  panel.onPaint = PaintRedSquare;
  panel.Create();
  InvalidateRect(panel.window, nullptr, TRUE);
  UpdateWindow(panel.window);
  EXPECT_EQ(WindowPixel(panel.window, 5, 5), kRed);
  EXPECT_EQ(WindowPixel(panel.window, 50, 50), kGreen);
  RECT pending{};
  EXPECT_FALSE(GetUpdateRect(panel.window, &pending, FALSE));
}
