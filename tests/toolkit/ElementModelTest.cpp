#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <windows.h>
#include <commctrl.h>

#include "tests/support/GuiTestHarness.h"

#include "toolkit/ElementRegistry.h"
#include "toolkit/Font.h"
#include "toolkit/Form.h"
#include "toolkit/PanelChildren.h"

using namespace LumoUtility;

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

std::wstring WindowText(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

std::wstring ClassName(HWND window) {
  wchar_t buffer[64] = {};
  GetClassNameW(window, buffer, 64);
  return buffer;
}

}  // namespace

TEST(ElementModel, SettersStoreBeforeTheWindowAndApplyAfterIt) {
  ToolkitStateScope scope;
  RecordingForm form;
  form.SetText("Manutenzione verrà");
  form.SetPosition(40, 30);
  form.SetSize(320, 240);
  form.SetEnabled(false);
  EXPECT_EQ(form.window, nullptr);
  EXPECT_EQ(form.GetText(), L"Manutenzione verr\u00E0");
  EXPECT_EQ(form.GetTextAnsi(), "Manutenzione verrà");
  EXPECT_EQ(form.RefreshPosition().x, 40);

  form.Create();
  ASSERT_TRUE(IsWindow(form.window));
  EXPECT_EQ(WindowText(form.window), L"Manutenzione verr\u00E0");
  RECT bounds{};
  GetWindowRect(form.window, &bounds);
  EXPECT_EQ(bounds.left, 40);
  EXPECT_EQ(bounds.top, 30);
  EXPECT_EQ(bounds.right - bounds.left, 320);
  EXPECT_EQ(bounds.bottom - bounds.top, 240);
  EXPECT_FALSE(IsWindowEnabled(form.window));

  form.SetText("Dopo");
  EXPECT_EQ(WindowText(form.window), L"Dopo");
  form.SetEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(form.window));
  form.SetPosition(60, 70);
  form.SetSize(300, 200);
  GetWindowRect(form.window, &bounds);
  EXPECT_EQ(bounds.left, 60);
  EXPECT_EQ(bounds.top, 70);
  EXPECT_EQ(bounds.right - bounds.left, 300);

  // The live text wins over the stored one and is stored.
  SetWindowTextW(form.window, L"Dall'esterno");
  EXPECT_EQ(form.GetText(), L"Dall'esterno");
  EXPECT_EQ(form.text, L"Dall'esterno");
}

TEST(ElementModel, ChildSettersAndPositionsAreInParentCoordinates) {
  ToolkitStateScope scope;
  RecordingForm form;
  form.SetPosition(100, 100);
  form.Create();
  TestControl edit(&form, L"edit", kEditStyle, "textbox");
  edit.SetText("prima");
  edit.SetPosition(12, 14);
  edit.Create();
  EXPECT_EQ(WindowText(edit.window), L"prima");
  EXPECT_EQ(GetParent(edit.window), form.window);
  EXPECT_EQ(GetDlgCtrlID(edit.window), edit.id);
  SetWindowPos(edit.window, nullptr, 25, 35, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  POINT position = edit.RefreshPosition();
  EXPECT_EQ(position.x, 25);
  EXPECT_EQ(position.y, 35);
  EXPECT_EQ(edit.x, 25);
}

TEST(ElementModel, DefaultsWithoutCallbacks) {
  ToolkitStateScope scope;
  RecordingForm form;
  TestControl control(&form, L"static", WS_CHILD);
  EXPECT_TRUE(control.OnKeyPress('a'));
  EXPECT_TRUE(control.OnClosing());
  EXPECT_EQ(control.width, 100);
  EXPECT_EQ(control.height, 50);
  EXPECT_EQ(control.backColour, -1);
  EXPECT_TRUE(control.visible);
  EXPECT_EQ(control.GetText(), L"");
  EXPECT_EQ(control.GetBackgroundBrush(nullptr), nullptr);
  // Nothing touches the system without a window.
  control.SetBackColor(0x123456);
  control.Focus();
  control.Redraw();
  control.Hide();
  EXPECT_EQ(control.backColour, 0x123456);
  EXPECT_FALSE(control.backgroundPainted);
}

TEST(ElementModel, OnCreatedFiresOnceAndKeepsTheFirstWindow) {
  ToolkitStateScope scope;
  static int fired = 0;
  fired = 0;
  TestControl control(nullptr, L"static", WS_CHILD);
  control.onCreated = [](GUIElement*, HWND) { ++fired; };
  HWND first = reinterpret_cast<HWND>(0x100);
  control.OnCreated(first);
  control.OnCreated(reinterpret_cast<HWND>(0x200));
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(control.createdFired);
  EXPECT_EQ(control.window, first);
  control.window = nullptr;
}

TEST(FontSpecs, DefaultsAndOneCachedFontReleasedWithTheSpec) {
  FontSpec plain;
  EXPECT_EQ(plain.faceName, L"System");
  EXPECT_EQ(plain.height, 0);
  EXPECT_FALSE(plain.bold || plain.italic || plain.underline || plain.fixedPitch);
  HFONT handle = nullptr;
  {
    FontSpec lucida("Lucida Console", 16);
    lucida.bold = true;
    EXPECT_EQ(lucida.faceName, L"Lucida Console");
    handle = CreateFont(lucida);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(CreateFont(lucida), handle);
    LOGFONTW description{};
    GetObjectW(handle, sizeof description, &description);
    EXPECT_EQ(description.lfHeight, 16);
    EXPECT_EQ(description.lfWeight, 700);
    EXPECT_EQ(std::wstring(description.lfFaceName), L"Lucida Console");
  }
  EXPECT_EQ(GetObjectType(handle), 0u);
}

TEST(ElementRegistry, LooksUpByWindowAndIdAndForgetsDeletedElements) {
  ToolkitStateScope scope;
  RecordingForm form;
  form.Create();
  auto control = std::make_unique<TestControl>(&form, L"static", WS_CHILD | WS_VISIBLE);
  control->Create();
  HWND controlWindow = control->window;
  int controlId = control->id;
  EXPECT_EQ(FindElementByWindow(controlWindow), control.get());
  EXPECT_EQ(FindElementById(controlId), control.get());
  EXPECT_EQ(FindElementById(form.id), &form);
  EXPECT_EQ(FindSubMenuById(controlId), nullptr);

  control.reset();
  EXPECT_EQ(FindElementByWindow(controlWindow), nullptr);
  EXPECT_EQ(FindElementById(controlId), nullptr);
  // The element owned its window.
  EXPECT_FALSE(IsWindow(controlWindow));
}

TEST(ElementRegistry, AnUnknownWindowFindsNothingEvenWhenTheLastElementHasNoWindow) {
  ToolkitStateScope scope;
  RecordingForm form;
  form.Create();
  TestControl windowless(&form, L"static", WS_CHILD);
  EXPECT_EQ(FindElementById(windowless.id), nullptr);  // not created: no id yet
  HWND foreign = CreateWindowExW(0, L"static", L"", WS_CHILD, 0, 0, 10, 10, form.window, nullptr,
                                 nullptr, nullptr);
  EXPECT_EQ(FindElementByWindow(foreign), nullptr);
  DestroyWindow(foreign);
}

TEST(FormCreation, BuildControlsRunsInsideWindowCreationAndOnCreatedOnce) {
  ToolkitStateScope scope;
  std::unique_ptr<TestControl> edit;
  RecordingForm form;
  form.buildControls = [&](RecordingForm& self) {
    edit = std::make_unique<TestControl>(&self, L"edit", kEditStyle, "textbox");
    edit->Create();
  };
  // Constructed after the form and never given a window: messages of the form's
  // creation must still reach the form, not this last element.
  TestControl stray(&form, L"static", WS_CHILD);
  static int strayEvents = 0;
  strayEvents = 0;
  stray.onResize = [](GUIElement*) { return ++strayEvents; };
  stray.onMove = [](GUIElement*) { return ++strayEvents; };

  form.Create();
  EXPECT_FALSE(form.visibleDuringBuild);
  EXPECT_EQ(strayEvents, 0);
  EXPECT_EQ(form.buildCount, 1);
  EXPECT_EQ(form.windowDuringBuild, form.window);
  EXPECT_NE(form.windowDuringBuild, nullptr);
  EXPECT_FALSE(form.createdDuringBuild);
  EXPECT_TRUE(form.created);
  ASSERT_TRUE(edit);
  EXPECT_EQ(GetParent(edit->window), form.window);
  EXPECT_EQ(stray.window, nullptr);

  form.OnCreated(form.window);
  form.Create();
  EXPECT_EQ(form.buildCount, 1);

  // The class is named after the counter before the form took its id.
  EXPECT_EQ(ClassName(form.window), L"Window" + std::to_wstring(form.id - 1));
  EXPECT_EQ(form.typeName, "form");
  EXPECT_EQ(FindElementByWindow(form.window), &form);
}

TEST(FormCreation, PanelsRegisterAClassEachAndGetTheirCreationMessages) {
  ToolkitStateScope scope;
  RecordingForm form;
  form.Create();
  static int panelCreated = 0;
  panelCreated = 0;
  PanelChildren first(&form);
  PanelChildren second(&form);
  first.onCreated = [](GUIElement*, HWND) { ++panelCreated; };
  first.Create();
  second.Create();
  EXPECT_EQ(panelCreated, 1);
  EXPECT_EQ(ClassName(first.window), L"PanelChildren" + std::to_wstring(first.id - 1));
  EXPECT_EQ(ClassName(second.window), L"PanelChildren" + std::to_wstring(second.id - 1));
  EXPECT_EQ(GetDlgCtrlID(first.window), first.id);
  EXPECT_EQ(GetParent(first.window), form.window);
  EXPECT_EQ(first.typeName, "panel");
  EXPECT_TRUE(GetWindowLongW(first.window, GWL_STYLE) & WS_TABSTOP);
}

TEST(ElementModel, TooltipCoversTheElementAndFollowsItsText) {
  ToolkitStateScope scope;
  RecordingForm form;
  form.Create();
  TestControl silent(&form, L"static", WS_CHILD | WS_VISIBLE);
  silent.Create();
  EXPECT_EQ(silent.toolTipWindow, nullptr);  // no text, no tooltip

  TestControl label(&form, L"static", WS_CHILD | WS_VISIBLE);
  label.toolTip = "Targa del veicolo";
  label.Create();
  ASSERT_NE(label.toolTipWindow, nullptr);
  EXPECT_EQ(SendMessageW(label.toolTipWindow, TTM_GETTOOLCOUNT, 0, 0), 1);
  auto tipText = [&] {
    return ToolTipText(label.toolTipWindow, label.window, reinterpret_cast<UINT_PTR>(label.window));
  };
  EXPECT_EQ(tipText(), L"Targa del veicolo");
  label.toolTip = "Già registrato";
  label.UpdateToolTip();
  EXPECT_EQ(tipText(), L"Gi\u00E0 registrato");
  HWND tip = label.toolTipWindow;
  label.SetSize(60, 20);
  EXPECT_EQ(label.toolTipWindow, tip);
}
