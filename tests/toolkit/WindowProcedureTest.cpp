#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/Button.h"
#include "toolkit/CommandElement.h"
#include "toolkit/ControlNotifications.h"
#include "toolkit/ElementRegistry.h"

using namespace LumoUtility;

namespace {

constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;

std::vector<std::string> events;

std::wstring WindowText(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

void SetShiftDown(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

// A control that raises commands and reacts to its own notifications, as the toolkit's
// list, combo, check and menu classes do.
class CommandControl : public TestControl, public CommandElement, public ControlNotifications {
 public:
  CommandControl(GUIElement* parentElement, const std::wstring& windowClass, DWORD controlStyle,
                 const std::string& tag)
      : TestControl(parentElement, windowClass, controlStyle, tag) {}
  void ToggleChecked() override { events.push_back("toggle " + typeName); }
  bool OnDropDown() override {
    events.push_back("dropdown");
    return allowDropDown;
  }
  bool OnCloseUp() override {
    events.push_back("closeup");
    return true;
  }
  void OnSpin(int position, int delta) override {
    events.push_back("spin " + std::to_string(position) + " " + std::to_string(delta));
  }
  bool allowDropDown = true;
};

void RecordCommand(GUIElement* element) { events.push_back("command " + element->typeName); }

}  // namespace

class WindowProcedureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    events.clear();
    form.Create();
    ASSERT_TRUE(IsWindow(form.window));
  }

  ToolkitStateScope scope;
  RecordingForm form;
};

TEST_F(WindowProcedureTest, TextChangeIsReportedOnLosingFocusOnlyWhenTheTextDiffers) {
  TestControl first(&form, L"edit", kEditStyle, "textbox");
  TestControl second(&form, L"edit", kEditStyle, "textbox");
  first.SetText("iniziale");
  first.Create();
  second.Create();
  first.onLostFocus = [](GUIElement*) { events.push_back("lost"); };
  first.onTextChanged = [](GUIElement*) {
    events.push_back("changed");
    return 0;
  };

  first.Focus();
  EXPECT_EQ(first.textAtFocus, L"iniziale");
  second.Focus();
  EXPECT_EQ(events, (std::vector<std::string>{"lost"}));

  events.clear();
  first.Focus();
  SetWindowTextW(first.window, L"modificato");
  second.Focus();
  EXPECT_EQ(events, (std::vector<std::string>{"lost", "changed"}));

  events.clear();
  first.Focus();
  SetWindowTextW(first.window, L"altro");
  SetWindowTextW(first.window, L"modificato");
  second.Focus();
  EXPECT_EQ(events, (std::vector<std::string>{"lost"}));

  // Case counts as a change.
  events.clear();
  first.Focus();
  SetWindowTextW(first.window, L"Modificato");
  second.Focus();
  EXPECT_EQ(events, (std::vector<std::string>{"lost", "changed"}));
}

TEST_F(WindowProcedureTest, ARefusedCharacterNeverReachesTheControlAndThePreviewSeesBoth) {
  TestControl edit(&form, L"edit", kEditStyle, "textbox");
  edit.Create();
  edit.onKeyPress = [](GUIElement*, int character) {
    events.push_back(std::string("child ") + static_cast<char>(character));
    return character != 'x';
  };
  form.keyPreview = true;
  form.onKeyPress = [](GUIElement*, int character) {
    events.push_back(std::string("form ") + static_cast<char>(character));
    return false;  // the preview's answer does not matter
  };

  EXPECT_EQ(SendMessageW(edit.window, WM_CHAR, 'x', 0), 1);
  EXPECT_EQ(WindowText(edit.window), L"");
  SendMessageW(edit.window, WM_CHAR, 'y', 0);
  EXPECT_EQ(WindowText(edit.window), L"y");
  EXPECT_EQ(events, (std::vector<std::string>{"child x", "form x", "child y", "form y"}));

  events.clear();
  form.keyPreview = false;
  SendMessageW(edit.window, WM_CHAR, 'z', 0);
  EXPECT_EQ(events, (std::vector<std::string>{"child z"}));
  EXPECT_EQ(WindowText(edit.window), L"yz");
}

TEST_F(WindowProcedureTest, TabAndShiftTabMoveAmongTheParentsTabStops) {
  TestControl first(&form, L"edit", kEditStyle, "textbox");
  TestControl second(&form, L"edit", kEditStyle, "textbox");
  TestControl third(&form, L"edit", kEditStyle, "textbox");
  first.Create();
  second.Create();
  third.Create();
  static int keyDowns = 0;
  keyDowns = 0;
  second.onKeyDown = [](GUIElement*, int key) { return key == VK_TAB ? ++keyDowns : 0; };

  second.Focus();
  SetShiftDown(true);
  SendMessageW(second.window, WM_KEYDOWN, VK_TAB, 0);
  SetShiftDown(false);
  EXPECT_EQ(GetFocus(), first.window);
  EXPECT_EQ(keyDowns, 1);

  SendMessageW(first.window, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), second.window);
  SendMessageW(second.window, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), third.window);
  SendMessageW(third.window, WM_KEYDOWN, VK_TAB, 0);
  EXPECT_EQ(GetFocus(), first.window);
}

TEST_F(WindowProcedureTest, CommandsReachTheirControlsByKind) {
  Button button(&form, "OK");
  button.commandHandler = RecordCommand;
  button.Create();
  CommandControl list(&form, L"ListBox", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, "listbox");
  list.commandHandler = RecordCommand;
  list.Create();
  CommandControl combo(&form, L"Combobox", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, "combobox");
  combo.commandHandler = RecordCommand;
  combo.Create();
  CommandControl check(&form, L"Button", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, "checkbox");
  check.commandHandler = RecordCommand;
  check.Create();
  auto command = [&](GUIElement& control, int code) {
    return SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(control.id, code),
                        reinterpret_cast<LPARAM>(control.window));
  };

  // A real click, then another notification code: a button hears every one.
  SendMessageW(button.window, BM_CLICK, 0, 0);
  command(button, BN_SETFOCUS);
  EXPECT_EQ(events, (std::vector<std::string>{"command button", "command button"}));

  events.clear();
  command(list, LBN_DBLCLK);
  command(list, LBN_SELCHANGE);
  EXPECT_EQ(events, (std::vector<std::string>{"command listbox"}));

  events.clear();
  command(check, BN_CLICKED);
  EXPECT_EQ(events, (std::vector<std::string>{"toggle checkbox", "command checkbox"}));

  events.clear();
  EXPECT_EQ(command(combo, CBN_SELCHANGE), 0);
  combo.allowDropDown = false;
  EXPECT_EQ(command(combo, CBN_DROPDOWN), 1);
  command(combo, CBN_CLOSEUP);
  command(combo, CBN_EDITCHANGE);
  EXPECT_EQ(events, (std::vector<std::string>{"command combobox", "dropdown", "closeup"}));
  command(combo, 0);
  EXPECT_TRUE(SendMessageW(combo.window, CB_GETDROPPEDSTATE, 0, 0));
  SendMessageW(combo.window, CB_SHOWDROPDOWN, FALSE, 0);
}

TEST_F(WindowProcedureTest, MenuAndToolbarCommandsAreFoundById) {
  CommandControl menuItem(&form, L"static", WS_CHILD, "submenu");
  menuItem.id = TakeNextElementId();
  menuItem.commandHandler = RecordCommand;
  CommandControl toolbarItem(&form, L"static", WS_CHILD, "toolbaritem");
  toolbarItem.id = TakeNextElementId();
  toolbarItem.commandHandler = RecordCommand;
  TestControl toolbar(&form, L"static", WS_CHILD | WS_VISIBLE, "toolbar");
  toolbar.Create();

  SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(menuItem.id, 0), 0);
  SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(menuItem.id, 1), 0);  // accelerator
  EXPECT_EQ(events, (std::vector<std::string>{"toggle submenu", "command submenu"}));

  events.clear();
  SendMessageW(form.window, WM_COMMAND, MAKEWPARAM(toolbarItem.id, BN_CLICKED),
               reinterpret_cast<LPARAM>(toolbar.window));
  EXPECT_EQ(events, (std::vector<std::string>{"command toolbaritem"}));
}

TEST_F(WindowProcedureTest, ToolbarTooltipTextOutlivesTheNotification) {
  CommandControl item(&form, L"static", WS_CHILD, "toolbaritem");
  item.id = TakeNextElementId();
  item.toolTip = "Modifica verrà";
  NMTTDISPINFOW info{};
  info.hdr.hwndFrom = form.window;
  info.hdr.idFrom = static_cast<UINT_PTR>(item.id);
  info.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(form.window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_NE(info.lpszText, nullptr);
  EXPECT_EQ(std::wstring(info.lpszText), L"Modifica verr\u00E0");

  CommandControl unnamed(&form, L"static", WS_CHILD, "toolbaritem");
  unnamed.id = TakeNextElementId();
  NMTTDISPINFOW second{};
  second.hdr.idFrom = static_cast<UINT_PTR>(unnamed.id);
  second.hdr.code = TTN_GETDISPINFOW;
  SendMessageW(form.window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(second.lpszText, nullptr);
  EXPECT_EQ(std::wstring(info.lpszText), L"Modifica verr\u00E0");
}

TEST_F(WindowProcedureTest, UpDownNotificationsReachTheNumericBox) {
  CommandControl spinner(&form, L"static", WS_CHILD | WS_VISIBLE, "numericbox");
  spinner.Create();
  NMUPDOWN change{};
  change.hdr.hwndFrom = spinner.window;
  change.hdr.idFrom = static_cast<UINT_PTR>(spinner.id);
  change.hdr.code = UDN_DELTAPOS;
  change.iPos = 41;
  change.iDelta = 1;
  SendMessageW(form.window, WM_NOTIFY, spinner.id, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(events, (std::vector<std::string>{"spin 41 1"}));
}

TEST_F(WindowProcedureTest, CursorsMouseTrackingAndSignedCoordinates) {
  TestControl label(&form, L"static", WS_CHILD | WS_VISIBLE | SS_NOTIFY);
  label.Create();
  label.SetHandCursor(true);
  label.SetWaitCursor(true);
  EXPECT_TRUE(SendMessageW(label.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(label.window),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  label.SetHandCursor(false);
  SendMessageW(label.window, WM_SETCURSOR, reinterpret_cast<WPARAM>(label.window),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_WAIT));

  static int lastX = 0;
  static int lastY = 0;
  label.onMouseMove = [](GUIElement*, int x, int y) {
    lastX = x;
    lastY = y;
    return 0;
  };
  label.onMouseLeave = [](GUIElement*) {
    events.push_back("leave");
    return 0;
  };
  SendMessageW(label.window, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(-5), 7));
  EXPECT_EQ(lastX, -5);
  EXPECT_EQ(lastY, 7);
  EXPECT_TRUE(Toolkit().trackingMouse);
  SendMessageW(label.window, WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(Toolkit().trackingMouse);
  EXPECT_EQ(events, (std::vector<std::string>{"leave"}));
}

TEST_F(WindowProcedureTest, ACallbackThatThrowsDoesNotUnwindThroughTheProcedure) {
  TestControl label(&form, L"static", WS_CHILD | WS_VISIBLE | SS_NOTIFY);
  label.Create();
  label.onLeftButtonDown = [](GUIElement*, HWND, int, int) -> int {
    throw std::runtime_error("errore");
  };
  SendMessageW(label.window, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
  EXPECT_TRUE(IsWindow(label.window));
}

TEST_F(WindowProcedureTest, AnElementDeletedByItsOwnMessageIsNotTouchedAgain) {
  static TestControl* doomed = nullptr;
  doomed = new TestControl(&form, L"static", WS_CHILD | WS_VISIBLE | SS_NOTIFY);
  doomed->Create();
  HWND window = doomed->window;
  doomed->onLeftButtonDown = [](GUIElement*, HWND, int, int) {
    delete doomed;
    doomed = nullptr;
    return 0;
  };
  SendMessageW(window, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(doomed, nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(FindElementByWindow(window), nullptr);
  EXPECT_EQ(Toolkit().wheelTarget, nullptr);
}
