#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/GdiObjects.h"
#include "toolkit/PanelChildren.h"

using namespace LumoUtility;

namespace {

std::vector<int> verticalDeltas;
std::vector<int> horizontalDeltas;

void RecordVertical(PanelChildren*, int delta) { verticalDeltas.push_back(delta); }
void RecordHorizontal(PanelChildren*, int delta) { horizontalDeltas.push_back(delta); }

SCROLLINFO ReadBar(HWND window, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window, bar, &info);
  return info;
}

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH description{};
  GetObjectW(brush, sizeof description, &description);
  return description.lbColor;
}

int ChildTop(HWND child, HWND parent) {
  RECT bounds{};
  GetWindowRect(child, &bounds);
  POINT corner{bounds.left, bounds.top};
  ScreenToClient(parent, &corner);
  return corner.y;
}

}  // namespace

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    verticalDeltas.clear();
    horizontalDeltas.clear();
    form.SetSize(400, 300);
    form.Create();
    panel.SetPosition(10, 10);
    panel.SetSize(200, 150);
    panel.verticalScrollBar = true;
    panel.onVerticalScroll = RecordVertical;
    panel.onHorizontalScroll = RecordHorizontal;
    panel.Create();
    ASSERT_TRUE(IsWindow(panel.window));
  }

  LRESULT Scroll(int request) {
    return SendMessageW(panel.window, WM_VSCROLL, MAKEWPARAM(request, 0), 0);
  }

  ToolkitStateScope scope;
  RecordingForm form;
  PanelChildren panel{&form};
};

TEST_F(PanelTest, ScrollRangeAndHorizontalExtent) {
  SCROLLINFO bar = ReadBar(panel.window, SB_VERT);
  EXPECT_EQ(bar.nMin, 0);
  EXPECT_EQ(bar.nMax, 100);
  EXPECT_EQ(bar.nPage, 10u);
  panel.SetHorizontalScrollBar(true);
  EXPECT_TRUE(GetWindowLongW(panel.window, GWL_STYLE) & WS_HSCROLL);
  panel.SetHorizontalExtent(200);
  bar = ReadBar(panel.window, SB_HORZ);
  EXPECT_EQ(bar.nMin, 0);
  EXPECT_EQ(bar.nMax, 220);
  EXPECT_EQ(bar.nPage, 20u);
  EXPECT_EQ(panel.scrollMax, 200);
}

TEST_F(PanelTest, ScrollingMovesByTheClampedStepAndReportsTheRequestedOne) {
  TestControl child(&panel, L"static", WS_CHILD | WS_VISIBLE);
  child.SetPosition(5, 120);
  child.SetSize(50, 20);
  child.Create();

  EXPECT_EQ(Scroll(SB_LINEDOWN), 0);
  EXPECT_EQ(ReadBar(panel.window, SB_VERT).nPos, 1);
  EXPECT_EQ(ChildTop(child.window, panel.window), 119);

  Scroll(SB_BOTTOM);  // asks for 100, the bar stops at 100 - page + 1
  EXPECT_EQ(ReadBar(panel.window, SB_VERT).nPos, 91);
  EXPECT_EQ(ChildTop(child.window, panel.window), 120 - 91);
  EXPECT_EQ(verticalDeltas, (std::vector<int>{-1, -99}));

  // At the bottom a page down moves nothing but still reports minus a page.
  verticalDeltas.clear();
  Scroll(SB_PAGEDOWN);
  EXPECT_EQ(ReadBar(panel.window, SB_VERT).nPos, 91);
  EXPECT_EQ(ChildTop(child.window, panel.window), 120 - 91);
  EXPECT_EQ(verticalDeltas, (std::vector<int>{-10}));

  // Thumb position and end of scrolling request nothing.
  verticalDeltas.clear();
  Scroll(SB_THUMBPOSITION);
  Scroll(SB_ENDSCROLL);
  EXPECT_TRUE(verticalDeltas.empty());

  Scroll(SB_PAGEUP);
  Scroll(SB_TOP);
  EXPECT_EQ(ReadBar(panel.window, SB_VERT).nPos, 0);
  EXPECT_EQ(ChildTop(child.window, panel.window), 120);
  EXPECT_EQ(verticalDeltas, (std::vector<int>{10, 81}));
  EXPECT_EQ(Toolkit().wheelTarget, &panel);
}

TEST_F(PanelTest, AnEndOfScrollingFromAPanelIsTakenByThePanel) {
  EXPECT_EQ(SendMessageW(form.window, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0),
                         reinterpret_cast<LPARAM>(panel.window)),
            0);
  EXPECT_EQ(Toolkit().wheelTarget, &panel);
  EXPECT_TRUE(verticalDeltas.empty());
}

TEST_F(PanelTest, OnlyAnEnabledBarScrolls) {
  SendMessageW(panel.window, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
  EXPECT_TRUE(horizontalDeltas.empty());
  panel.SetHorizontalScrollBar(true);
  panel.SetHorizontalExtent(200);
  SendMessageW(panel.window, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), 0);
  SendMessageW(panel.window, WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);  // no "end" horizontally
  EXPECT_EQ(horizontalDeltas, (std::vector<int>{-1}));
  EXPECT_TRUE(verticalDeltas.empty());
}

TEST_F(PanelTest, TheWheelScrollsTheLastClickedPanelUntilAFormIsActivated) {
  TestControl button(&form, L"Button", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
  button.SetPosition(250, 10);
  button.Create();
  const WPARAM down = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
  const WPARAM up = MAKEWPARAM(0, WHEEL_DELTA);

  // Nothing clicked yet: the wheel over the button scrolls nothing.
  SendMessageW(button.window, WM_MOUSEWHEEL, down, 0);
  EXPECT_TRUE(verticalDeltas.empty());

  SendMessageW(panel.window, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(Toolkit().wheelTarget, &panel);
  EXPECT_EQ(SendMessageW(button.window, WM_MOUSEWHEEL, down, 0), 0);
  EXPECT_EQ(SendMessageW(button.window, WM_MOUSEWHEEL, up, 0), 0);
  EXPECT_EQ(verticalDeltas, (std::vector<int>{-10, 10}));

  verticalDeltas.clear();
  SendMessageW(form.window, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_EQ(Toolkit().wheelTarget, nullptr);
  SendMessageW(button.window, WM_MOUSEWHEEL, down, 0);
  EXPECT_TRUE(verticalDeltas.empty());

  // Over the panel itself the wheel always works; clicking elsewhere drops the target.
  SendMessageW(panel.window, WM_MOUSEWHEEL, down, 0);
  EXPECT_EQ(verticalDeltas, (std::vector<int>{-10}));
  SendMessageW(button.window, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
  SendMessageW(button.window, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(Toolkit().wheelTarget, nullptr);
}

TEST_F(PanelTest, ChildControlsGetThePanelsBrushAndColours) {
  TestControl label(&panel, L"static", WS_CHILD | WS_VISIBLE);
  label.Create();
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  auto ask = [&] {
    return reinterpret_cast<HBRUSH>(SendMessageW(panel.window, WM_CTLCOLORSTATIC,
                                                 reinterpret_cast<WPARAM>(dc),
                                                 reinterpret_cast<LPARAM>(label.window)));
  };

  EXPECT_EQ(ask(), GetSysColorBrush(COLOR_BTNFACE));

  panel.SetBackColor(0x112233);
  HBRUSH backBrush = ask();
  EXPECT_EQ(BrushColour(backBrush), 0x112233u);
  EXPECT_EQ(GetBkColor(dc), 0x112233u);
  EXPECT_EQ(ask(), backBrush);  // kept while the colour stays

  panel.childBackColour = 0x445566;
  panel.childTextColour = 0x0000FF;
  HBRUSH childBrush = ask();
  EXPECT_EQ(BrushColour(childBrush), 0x445566u);
  EXPECT_EQ(GetBkColor(dc), 0x445566u);
  EXPECT_EQ(GetTextColor(dc), 0x0000FFu);
  EXPECT_EQ(GetObjectType(backBrush), 0u);  // the replaced brush was deleted

  panel.childBackColour = -1;
  panel.backColour = -1;
  EXPECT_EQ(ask(), GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(GetObjectType(childBrush), 0u);

  // A form hands out no brush: its controls paint themselves.
  TestControl onForm(&form, L"static", WS_CHILD | WS_VISIBLE);
  onForm.Create();
  EXPECT_EQ(SendMessageW(form.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(onForm.window)),
            DefWindowProcW(form.window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(onForm.window)));
  DeleteDC(dc);
}

TEST_F(PanelTest, ThePanelsBrushGoesWithThePanel) {
  auto second = std::make_unique<PanelChildren>(&form);
  second->backColour = 0x00AA00;
  second->Create();
  TestControl label(second.get(), L"static", WS_CHILD | WS_VISIBLE);
  label.Create();
  HBRUSH classBrush =
      reinterpret_cast<HBRUSH>(GetClassLongPtrW(second->window, GCLP_HBRBACKGROUND));
  EXPECT_EQ(BrushColour(classBrush), 0x00AA00u);
  HDC dc = GetDC(label.window);
  HBRUSH childBrush = reinterpret_cast<HBRUSH>(
      SendMessageW(second->window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(label.window)));
  ReleaseDC(label.window, dc);
  std::wstring className = second->ClassRegistration().Name();
  second.reset();
  EXPECT_EQ(GetObjectType(childBrush), 0u);
  EXPECT_EQ(GetObjectType(classBrush), 0u);
  WNDCLASSEXW description{};
  description.cbSize = sizeof description;
  EXPECT_FALSE(GetClassInfoExW(TestInstance(), className.c_str(), &description));
}

TEST_F(PanelTest, BorderStyleFollowsTheSetters) {
  panel.SetBorder(true);
  EXPECT_TRUE(GetWindowLongW(panel.window, GWL_STYLE) & WS_BORDER);
  panel.SetVerticalScrollBar(false);
  EXPECT_FALSE(GetWindowLongW(panel.window, GWL_STYLE) & WS_VSCROLL);
  PanelChildren sunken(&form);
  sunken.border = true;
  sunken.Create();
  EXPECT_TRUE(GetWindowLongW(sunken.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  PanelChildren flat(&form);
  flat.border = true;
  flat.flatBorder = true;
  flat.tabStop = false;
  flat.Create();
  EXPECT_FALSE(GetWindowLongW(flat.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongW(flat.window, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(PanelTest, APaintingControlAsksThePanelForItsBrush) {
  TestControl label(&panel, L"static", WS_CHILD | WS_VISIBLE);
  label.SetText("Etichetta");
  label.Create();
  panel.childBackColour = 0x00E0E0;
  InvalidateRect(label.window, nullptr, TRUE);
  UpdateWindow(label.window);
  ASSERT_TRUE(panel.childBrush);
  LOGBRUSH description{};
  GetObjectW(panel.childBrush.Get(), sizeof description, &description);
  EXPECT_EQ(description.lbColor, 0x00E0E0u);
}
