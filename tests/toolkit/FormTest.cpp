#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "tests/support/MessageBoxRecorder.h"
#include "toolkit/FormMessageBoxes.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/OwnedForms.h"

using namespace LumoUtility;
using namespace std::chrono_literals;

TEST(FormClosing, ARefusedCloseAnswersOneAndKeepsTheWindow) {
  ToolkitStateScope scope;
  static int destroyed = 0;
  destroyed = 0;
  RecordingForm form;
  bool allow = false;
  form.closing = [&] { return allow; };
  form.onDestroy = [](GUIElement*) { return ++destroyed; };
  form.Create();

  EXPECT_EQ(SendMessageW(form.window, WM_CLOSE, 0, 0), 1);
  EXPECT_TRUE(IsWindow(form.window));
  EXPECT_EQ(form.closingCount, 1);
  EXPECT_FALSE(form.destroyed);

  allow = true;
  HWND window = form.window;
  EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(form.destroyed);
  EXPECT_EQ(destroyed, 1);
}

TEST(FormClosing, TheQuestionGoesThroughTheMessageBoxSeam) {
  ToolkitStateScope scope;
  MessageBoxRecorder boxes;
  RecordingForm form;
  form.closing = [&] { return AskYesNo("Vuoi realmente uscire?", "Uscita", form); };
  form.Create();
  boxes.QueueAnswer(IDNO);
  EXPECT_EQ(SendMessageW(form.window, WM_CLOSE, 0, 0), 1);
  EXPECT_TRUE(IsWindow(form.window));
  boxes.QueueAnswer(IDYES);
  HWND window = form.window;
  SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window));
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(boxes.Requests()[0].text, "Vuoi realmente uscire?");
  EXPECT_EQ(boxes.Requests()[0].caption, "Uscita");
  EXPECT_EQ(boxes.Requests()[0].owner, window);
}

TEST(FormClosing, EscapeClosesButARefusedCloseKeepsTheFormCreated) {
  ToolkitStateScope scope;
  RecordingForm form;
  bool allow = false;
  form.closing = [&] { return allow; };
  form.Create();
  SendMessageW(form.window, WM_CHAR, 27, 0);
  EXPECT_EQ(form.closingCount, 1);
  EXPECT_TRUE(form.created);
  form.SetText("Ancora viva");
  wchar_t title[32] = {};
  GetWindowTextW(form.window, title, 32);
  EXPECT_STREQ(title, L"Ancora viva");

  allow = true;
  HWND window = form.window;
  SendMessageW(window, WM_CHAR, 27, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(form.created);
}

TEST(MessageLoop, OnlyTheMainWindowsDestructionEndsTheLoop) {
  ToolkitStateScope scope;
  RecordingForm mainForm;
  RecordingForm other;
  mainForm.Create();
  other.Create();
  EXPECT_EQ(Toolkit().mainWindow, mainForm.window);

  {
    // Another form going away leaves the loop running until the deadline.
    LoopDeadline deadline(300ms);
    PostMessageW(other.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(nullptr), 0);
    EXPECT_TRUE(deadline.Fired());
    EXPECT_FALSE(IsWindow(other.window));
    EXPECT_TRUE(IsWindow(mainForm.window));
  }
  {
    LoopDeadline deadline(5s);
    PostMessageW(mainForm.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(nullptr), 0);
    EXPECT_FALSE(deadline.Fired());
    EXPECT_FALSE(IsWindow(mainForm.window));
  }
  // The dead handle is not kept: the next form created is the main window.
  EXPECT_EQ(Toolkit().mainWindow, nullptr);
}

TEST(OwnedForms, AnOwnedFormDisablesItsOwnerUntilItCloses) {
  ToolkitStateScope scope;
  RecordingForm owner;
  owner.Create();
  RecordingForm owned(true);
  owned.closing = [&] {
    EndWaitOnOwnedForm(owner);
    return true;
  };
  WaitOnOwnedForm(owner, owned);
  owned.Create();

  EXPECT_FALSE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, &owned);
  EXPECT_EQ(GetWindowLongW(owned.window, GWL_EXSTYLE) & 0x89, 0x89);
  EXPECT_EQ(GetWindowLongW(owned.window, GWL_STYLE) & WS_THICKFRAME, 0);

  SendMessageW(owned.window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
}

TEST(OwnedForms, DeletingAnOpenOwnedFormReleasesItsOwner) {
  ToolkitStateScope scope;
  RecordingForm owner;
  owner.Create();
  auto owned = std::make_unique<RecordingForm>(true);
  WaitOnOwnedForm(owner, *owned);
  owned->Create();
  owned.reset();
  EXPECT_TRUE(IsWindowEnabled(owner.window));
  EXPECT_EQ(owner.companion, nullptr);
}

bool IsAbove(HWND upper, HWND lower) {
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if (w == upper) return true;
    if (w == lower) return false;
  }
  return false;
}

TEST(OwnedForms, RaisingTheOwnerKeepsItsCompanionInFront) {
  ToolkitStateScope scope;
  RecordingForm owner;
  owner.Create();
  RecordingForm owned(true);
  owned.topmost = false;
  WaitOnOwnedForm(owner, owned);
  owned.Create();
  ASSERT_TRUE(PumpMessagesUntil([&] { return IsAbove(owned.window, owner.window); }, 1s));
  // Wine settles the stacking order a moment after the call; allow for it.
  SetWindowPos(owner.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(PumpMessagesUntil([&] { return IsAbove(owned.window, owner.window); }, 1s));

  // Without a companion the owner is simply raised.
  EndWaitOnOwnedForm(owner);
  SetWindowPos(owner.window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_TRUE(PumpMessagesUntil([&] { return IsAbove(owner.window, owned.window); }, 1s));
}

TEST(FormActivation, TheForegroundFormIsActivatedAndThePreviousOneDeactivated) {
  ToolkitStateScope scope;
  static std::vector<std::string> seen;
  seen.clear();
  RecordingForm first;
  RecordingForm second;
  first.onActivate = [](GUIElement*) {
    seen.push_back("first on");
    return 0;
  };
  first.onDeactivate = [](GUIElement*) {
    seen.push_back("first off");
    return 0;
  };
  second.onActivate = [](GUIElement*) {
    seen.push_back("second on");
    return 0;
  };
  first.Create();
  second.Create();
  PumpMessagesUntil([&] { return GetForegroundWindow() == second.window; });
  EXPECT_EQ(Toolkit().lastActiveForm, &second);
  seen.clear();
  SetForegroundWindow(first.window);
  PumpMessagesUntil([&] { return Toolkit().lastActiveForm == &first; });
  EXPECT_EQ(Toolkit().lastActiveForm, &first);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), "first on");
}

TEST(FormGeometry, ClientSizeAndCentring) {
  ToolkitStateScope scope;
  RecordingForm form;
  form.Create();
  form.SetClientSize(400, 250);
  RECT client{};
  GetClientRect(form.window, &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 250);
  RECT outer{};
  GetWindowRect(form.window, &outer);
  EXPECT_EQ(form.width, outer.right - outer.left);

  form.CenterOnScreen();
  GetWindowRect(form.window, &outer);
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - form.width) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - form.height) / 2);
}

TEST(FormStyles, CaptionBoxesAndPopups) {
  ToolkitStateScope scope;
  RecordingForm plain;
  plain.Create();
  LONG style = GetWindowLongW(plain.window, GWL_STYLE);
  EXPECT_EQ(style & 0x10CF0000, 0x10CF0000);  // caption, system menu, boxes, sizing border
  RecordingForm fixed;
  fixed.maximizeBox = false;
  fixed.minimizeBox = false;
  fixed.Create();
  style = GetWindowLongW(fixed.window, GWL_STYLE);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME), 0);
  RecordingForm popup;
  popup.captioned = false;
  popup.Create();
  style = GetWindowLongW(popup.window, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_CAPTION);
  EXPECT_TRUE(IsWindowVisible(popup.window));
}

TEST(FormIcons, EachIconBelongsToTheFormAndIsReplacedAndReleased) {
  ToolkitStateScope scope;
  constexpr int kApplicationIcon = 32512;
  auto form = std::make_unique<RecordingForm>();
  form->SetIcon(kApplicationIcon);  // stored only, no window yet
  EXPECT_EQ(form->IconHandle(), nullptr);
  EXPECT_EQ(form->iconId, kApplicationIcon);
  form->Create();
  // The test program has no icons; the system's module holds one under the standard id.
  form->instance = GetModuleHandleW(L"user32.dll");
  form->SetIcon(kApplicationIcon);
  HICON first = form->IconHandle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(form->window, WM_GETICON, ICON_SMALL, 0)), first);
  form->SetIcon(kApplicationIcon);
  HICON second = form->IconHandle();
  EXPECT_NE(second, first);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(form->window, WM_GETICON, ICON_SMALL, 0)), second);
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(first, &info));  // the replaced icon was destroyed
  form.reset();
  EXPECT_FALSE(GetIconInfo(second, &info));
}

TEST(MessageLoop, AToolWindowGivenToTheLoopGetsDialogKeyboardHandling) {
  static int tabKeyDowns = 0;
  auto runWith = [](bool giveForm) {
    ToolkitStateScope scope;
    tabKeyDowns = 0;
    RecordingForm tool(true);
    std::unique_ptr<TestControl> first;
    std::unique_ptr<TestControl> second;
    tool.buildControls = [&](RecordingForm& self) {
      DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
      first = std::make_unique<TestControl>(&self, L"edit", style, "textbox");
      first->onKeyDown = [](GUIElement*, int key) { return key == VK_TAB ? ++tabKeyDowns : 0; };
      first->Create();
      second = std::make_unique<TestControl>(&self, L"edit", style, "textbox");
      second->Create();
    };
    tool.Create();
    first->Focus();
    HWND focusAfterTab = nullptr;
    LoopDeadline deadline(5s);
    PostMessageW(first->window, WM_KEYDOWN, VK_TAB, 0);
    // Looks at the focus once the key has been handled, then ends the loop.
    static HWND* seenFocus = nullptr;
    seenFocus = &focusAfterTab;
    tool.onMouseHover = [](GUIElement* form) {
      *seenFocus = GetFocus();
      PostMessageW(form->window, WM_CLOSE, 0, 0);
      return 0;
    };
    PostMessageW(tool.window, WM_MOUSEHOVER, 0, 0);
    RunMessageLoop(giveForm ? &tool : nullptr);
    EXPECT_FALSE(deadline.Fired());
    return std::make_pair(tabKeyDowns, focusAfterTab == second->window);
  };
  // Through the dialog handling the key moves the focus without reaching the control.
  EXPECT_EQ(runWith(true), std::make_pair(0, true));
  // Without it the control gets the key, and the toolkit moves the focus itself.
  EXPECT_EQ(runWith(false), std::make_pair(1, true));
}
