#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "tests/support/ResourceCounts.h"
#include "toolkit/Button.h"
#include "toolkit/Drawing.h"
#include "toolkit/ElementRegistry.h"
#include "toolkit/Font.h"
#include "toolkit/PanelChildren.h"

using namespace LumoUtility;

namespace {

constexpr int kForms = 1000;

// Everything one form made that must be gone once it is deleted.
struct Made {
  std::vector<HWND> windows;
  std::vector<std::wstring> classes;
  std::vector<HGDIOBJ> objects;
};

int Survivors(const Made& made) {
  int alive = 0;
  for (HWND window : made.windows) alive += IsWindow(window) ? 1 : 0;
  for (const std::wstring& name : made.classes) {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    alive += GetClassInfoExW(TestInstance(), name.c_str(), &description) ? 1 : 0;
  }
  for (HGDIOBJ object : made.objects) alive += GetObjectType(object) != 0 ? 1 : 0;
  return alive;
}

HBITMAP picture = nullptr;  // drawn by every panel, owned by the test

void PaintPicture(GUIElement* element) {
  Drawing drawing(*element);
  drawing.DrawTransparentBitmap(2, 2, 20, 20, picture);
}

HBRUSH ClassBrush(HWND window) {
  return reinterpret_cast<HBRUSH>(GetClassLongPtrW(window, GCLP_HBRBACKGROUND));
}

// One form as a screen builds it: a panel with a tooltip and scroll bar, an owner-drawn
// button, a plain one and a label on it, a font shared by the controls, coloured backgrounds.
struct Screen {
  std::unique_ptr<RecordingForm> form = std::make_unique<RecordingForm>();
  std::unique_ptr<FontSpec> font = std::make_unique<FontSpec>(L"Tahoma", 14);
  std::unique_ptr<PanelChildren> panel;
  std::unique_ptr<Button> drawn;
  std::unique_ptr<Button> plain;
  std::unique_ptr<TestControl> label;

  void Build(int index) {
    form->backColour = 0x203040 + index;
    form->toolTip = "Finestra";
    form->font = font.get();
    form->SetSize(320, 200);
    form->buildControls = [this](RecordingForm& self) {
      panel = std::make_unique<PanelChildren>(&self);
      panel->backColour = 0x00C0C0;
      panel->childBackColour = 0x00E0E0;
      panel->verticalScrollBar = true;
      panel->toolTip = "Pannello";
      panel->onPaint = PaintPicture;
      panel->SetPosition(0, 0);
      panel->SetSize(200, 100);
      panel->Create();
      drawn = std::make_unique<Button>(panel.get(), "Disegnato");
      drawn->ownerDraw = true;
      drawn->font = font.get();
      drawn->toolTip = "Pulsante";
      drawn->Create();
      plain = std::make_unique<Button>(panel.get(), "Semplice");
      plain->SetPosition(100, 10);
      plain->font = font.get();
      plain->Create();
      label = std::make_unique<TestControl>(panel.get(), L"static", WS_CHILD | WS_VISIBLE);
      label->SetText("Etichetta");
      label->SetPosition(10, 60);
      label->Create();
    };
    form->Create();
    form->SetBackColor(form->backColour);
    // Paint everything now: owner-draw requests and child colour requests happen.
    for (HWND control : {panel->window, drawn->window, plain->window, label->window}) {
      InvalidateRect(control, nullptr, TRUE);
      UpdateWindow(control);
    }
  }

  Made Record() const {
    Made made;
    made.windows = {form->window,  panel->window,       drawn->window,        plain->window,
                    label->window, form->toolTipWindow, panel->toolTipWindow, drawn->toolTipWindow};
    made.classes = {form->ClassRegistration().Name(), panel->ClassRegistration().Name()};
    made.objects = {ClassBrush(form->window), ClassBrush(panel->window), font->handle,
                    panel->childBrush.Get()};
    return made;
  }
};

}  // namespace

TEST(NoLeak, AThousandFormsLeaveNoWindowClassBrushFontOrBitmap) {
  ToolkitStateScope scope;
  RECT face{4, 4, 12, 12};
  picture = MakeSolidBitmap(16, 16, RGB(0, 0, 0), &face, RGB(255, 0, 0));
  {
    // One form first, so that what the system makes once per process is made.
    Screen warmUp;
    warmUp.Build(0);
  }
  PumpMessagesFor(std::chrono::milliseconds(0));
  const int roomBefore = GdiRoom();
  const int windowsBefore = ThreadWindows();
  const size_t elementsBefore = ElementRegistry::Elements().size();
  std::vector<Made> all;
  int survivorsRightAfter = 0;
  int incomplete = 0;
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kForms; ++i) {
    Screen screen;
    screen.Build(i);
    Made made = screen.Record();
    for (HWND window : made.windows) incomplete += window ? 0 : 1;
    for (HGDIOBJ object : made.objects) incomplete += object ? 0 : 1;
    // Both deletion orders a program uses: controls first, or the form first.
    if (i % 2 == 0) {
      screen.label.reset();
      screen.plain.reset();
      screen.drawn.reset();
      screen.panel.reset();
      screen.form.reset();
    } else {
      screen.form.reset();
      screen.label.reset();
      screen.plain.reset();
      screen.drawn.reset();
      screen.panel.reset();
    }
    screen.font.reset();
    // Checked at once, before a later form could be given a recycled handle.
    survivorsRightAfter += Survivors(made);
    all.push_back(std::move(made));
    PumpMessagesFor(std::chrono::milliseconds(0));
  }
  auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  std::printf("%d forms built, painted and deleted in %lld ms\n", kForms,
              static_cast<long long>(elapsed.count()));

  EXPECT_EQ(incomplete, 0);
  EXPECT_EQ(survivorsRightAfter, 0);
  int survivorsAtTheEnd = 0;
  for (const Made& made : all) {
    for (const std::wstring& name : made.classes) {
      WNDCLASSEXW description{};
      description.cbSize = sizeof description;
      survivorsAtTheEnd += GetClassInfoExW(TestInstance(), name.c_str(), &description) ? 1 : 0;
    }
  }
  EXPECT_EQ(survivorsAtTheEnd, 0);
  EXPECT_EQ(ElementRegistry::Elements().size(), elementsBefore);
  EXPECT_EQ(ThreadWindows(), windowsBefore);
  const int roomAfter = GdiRoom();
  std::printf("GDI room before %d, after %d\n", roomBefore, roomAfter);
  EXPECT_GT(roomBefore, kForms);
  EXPECT_EQ(roomAfter, roomBefore);
  DeleteObject(picture);
}
