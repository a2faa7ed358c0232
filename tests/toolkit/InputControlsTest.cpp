#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Label.h"
#include "toolkit/NumericBox.h"
#include "toolkit/TextBox.h"

using namespace LumoUtility;

namespace {

std::vector<int> valuesReported;
int textChanges = 0;
std::vector<GUIElement*> commands;

void RecordValue(GUIElement*, int value) { valuesReported.push_back(value); }
int RecordTextChange(GUIElement*) {
  ++textChanges;
  return 0;
}
void RecordCommand(GUIElement* element) { commands.push_back(element); }

DWORD StyleOf(const GUIElement& element) {
  return static_cast<DWORD>(GetWindowLongW(element.window, GWL_STYLE));
}

void Type(HWND window, const std::wstring& characters) {
  for (wchar_t c : characters) SendMessageW(window, WM_CHAR, c, 0);
}

}  // namespace

class InputControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    valuesReported.clear();
    textChanges = 0;
    commands.clear();
    form.SetSize(500, 400);
    form.Create();
    ASSERT_TRUE(IsWindow(form.window));
  }

  ToolkitStateScope scope;
  RecordingForm form;
};

TEST_F(InputControlsTest, TextBoxStyleFollowsItsFlagsInOrder) {
  TextBox single(&form);
  single.uppercase = true;
  single.lowercase = true;
  single.alignRight = true;
  single.center = true;
  single.password = true;
  single.Create();
  DWORD style = StyleOf(single);
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
  EXPECT_TRUE(style & ES_UPPERCASE);
  EXPECT_FALSE(style & ES_LOWERCASE);
  EXPECT_TRUE(style & ES_RIGHT);
  EXPECT_FALSE(style & ES_CENTER);
  EXPECT_FALSE(style & ES_PASSWORD);  // the mask comes only from ApplyStyle
  EXPECT_EQ(SendMessageW(single.window, EM_GETPASSWORDCHAR, 0, 0), 0);
  EXPECT_TRUE(GetWindowLongW(single.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

  TextBox wrapped(&form);
  wrapped.multiline = true;
  wrapped.wordWrap = true;
  wrapped.verticalScrollBar = true;
  wrapped.numbersOnly = true;
  wrapped.border = false;
  wrapped.Create();
  style = StyleOf(wrapped);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_WANTRETURN);
  EXPECT_FALSE(style & ES_AUTOHSCROLL);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_TRUE(style & ES_NUMBER);
  EXPECT_FALSE(style & WS_BORDER);
  EXPECT_EQ(GetWindowLongW(wrapped.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

  TextBox unwrapped(&form);
  unwrapped.multiline = true;
  EXPECT_TRUE(unwrapped.TextBoxStyle() & ES_AUTOHSCROLL);
  unwrapped.lowercase = true;
  unwrapped.center = true;
  unwrapped.enabled = false;
  unwrapped.Create();
  style = StyleOf(unwrapped);
  EXPECT_TRUE(style & ES_LOWERCASE);
  EXPECT_TRUE(style & ES_CENTER);
  EXPECT_TRUE(style & WS_DISABLED);
  EXPECT_TRUE(style & ES_AUTOHSCROLL);
}

TEST_F(InputControlsTest, LengthLimitBindsTypingOnly) {
  TextBox free(&form);
  free.Create();
  TextBox plain(&form);
  plain.SetPosition(0, 40);
  plain.Create();
  const LRESULT systemLimit = SendMessageW(plain.window, EM_GETLIMITTEXT, 0, 0);
  EXPECT_EQ(SendMessageW(free.window, EM_GETLIMITTEXT, 0, 0), systemLimit);

  TextBox plate(&form, "");
  plate.maxLength = 5;
  plate.Create();
  EXPECT_EQ(SendMessageW(plate.window, EM_GETLIMITTEXT, 0, 0), 5);
  Type(plate.window, L"AB123XYZ");
  EXPECT_EQ(plate.GetTextAnsi(), "AB123");
  plate.SetText("PROGRAMMA");
  EXPECT_EQ(plate.GetTextAnsi(), "PROGRAMMA");
  plate.SetMaxLength(3);
  EXPECT_EQ(SendMessageW(plate.window, EM_GETLIMITTEXT, 0, 0), 3);
  plate.SetMaxLength(-1);
  EXPECT_GT(SendMessageW(plate.window, EM_GETLIMITTEXT, 0, 0), 3);
}

TEST_F(InputControlsTest, ApplyStyleMasksAndUnmasksAndLocks) {
  TextBox box(&form, "segreto");
  box.Create();
  box.ApplyStyle();  // nothing changed: nothing masked
  EXPECT_EQ(SendMessageW(box.window, EM_GETPASSWORDCHAR, 0, 0), 0);
  box.password = true;
  EXPECT_EQ(SendMessageW(box.window, EM_GETPASSWORDCHAR, 0, 0), 0);  // stored only
  box.ApplyStyle();
  EXPECT_EQ(SendMessageW(box.window, EM_GETPASSWORDCHAR, 0, 0), L'*');
  EXPECT_EQ(box.GetTextAnsi(), "segreto");
  box.password = false;
  box.readOnly = true;
  box.ApplyStyle();
  EXPECT_EQ(SendMessageW(box.window, EM_GETPASSWORDCHAR, 0, 0), 0);
  EXPECT_TRUE(StyleOf(box) & ES_READONLY);
  box.Focus();
  Type(box.window, L"xyz");
  EXPECT_EQ(box.GetTextAnsi(), "segreto");

  // Before the window exists, ApplyStyle does nothing and Create applies the flags.
  TextBox later(&form);
  later.readOnly = true;
  later.ApplyStyle();
  later.Create();
  EXPECT_TRUE(StyleOf(later) & ES_READONLY);
}

TEST_F(InputControlsTest, LabelAlignmentAndBorder) {
  Label caption(&form, "Targa");
  caption.alignRight = true;
  caption.center = true;
  caption.Create();
  EXPECT_EQ(caption.GetTextAnsi(), "Targa");
  DWORD style = StyleOf(caption);
  EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_RIGHT));
  EXPECT_TRUE(style & SS_NOTIFY);
  EXPECT_FALSE(style & WS_BORDER);
  caption.alignRight = false;
  caption.border = true;
  caption.ApplyStyle();
  style = StyleOf(caption);
  EXPECT_EQ(style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
  EXPECT_TRUE(style & WS_BORDER);
  // The extended style stays as created.
  EXPECT_EQ(GetWindowLongW(caption.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

TEST_F(InputControlsTest, NumericBoxClampsWhatItReports) {
  TextBox km(&form);
  km.SetPosition(10, 10);
  km.SetSize(90, 25);
  km.numbersOnly = true;
  NumericBox spinner(&form, &km);
  spinner.onValueChanged = RecordValue;
  spinner.onTextChanged = RecordTextChange;
  spinner.SetValue(5000000);  // before creation: stored only
  EXPECT_TRUE(valuesReported.empty());
  EXPECT_EQ(textChanges, 0);
  EXPECT_EQ(spinner.GetValue(), 5000000);
  spinner.value = 120;
  spinner.Create();
  ASSERT_TRUE(IsWindow(spinner.window));
  EXPECT_TRUE(IsWindow(km.window));  // the buddy is created by the spinner
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spinner.window, UDM_GETBUDDY, 0, 0)), km.window);
  EXPECT_EQ(km.GetTextAnsi(), "120");
  EXPECT_EQ(spinner.GetValue(), 120);
  int low = -1;
  int high = -1;
  SendMessageW(spinner.window, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 1000000);

  spinner.SetValue(2000000);
  ASSERT_EQ(valuesReported.size(), 1u);
  EXPECT_EQ(valuesReported[0], 1000000);
  EXPECT_EQ(textChanges, 1);
  spinner.SetValue(-5);
  EXPECT_EQ(valuesReported.back(), 0);

  // A buddy holding no number reads as the minimum.
  km.SetText("abc");
  EXPECT_EQ(spinner.GetValue(), 0);
  km.SetText("345");
  EXPECT_EQ(spinner.GetValue(), 345);

  // A click on the upper arrow steps the value and reports the proposed one.
  valuesReported.clear();
  RECT arrows{};
  GetClientRect(spinner.window, &arrows);
  LPARAM upper = MAKELPARAM(arrows.right / 2, 2);
  SendMessageW(spinner.window, WM_LBUTTONDOWN, MK_LBUTTON, upper);
  SendMessageW(spinner.window, WM_LBUTTONUP, 0, upper);
  ASSERT_FALSE(valuesReported.empty());
  EXPECT_EQ(valuesReported[0], 346);
  EXPECT_EQ(spinner.GetValue(), 346);
  EXPECT_EQ(km.GetTextAnsi(), "346");
}

TEST_F(InputControlsTest, NumericBoxCheckedReadRefusesWhatIsNoNumberInRange) {
  TextBox km(&form);
  km.SetPosition(10, 10);
  km.SetSize(90, 25);
  NumericBox spinner(&form, &km);
  spinner.maximum = 2000;
  spinner.value = 7;
  int read = -1;
  EXPECT_TRUE(spinner.TryGetValue(read));  // before the window: the stored value
  EXPECT_EQ(read, 7);
  spinner.Create();
  ASSERT_TRUE(IsWindow(spinner.window));
  km.SetText("1,500");  // the control's own grouping, whatever the user's separator
  EXPECT_TRUE(spinner.TryGetValue(read));
  EXPECT_EQ(read, 1500);
  for (const char* text : {"", "abc", "12a", "2001"}) {
    km.SetText(text);
    read = -1;
    EXPECT_FALSE(spinner.TryGetValue(read)) << text;
    EXPECT_EQ(read, -1) << text;
  }
}

TEST_F(InputControlsTest, CheckBoxTogglesOnClickAndRaisesItsCommand) {
  CheckBox box(&form, "Da effettuare a fine rodaggio");
  box.checked = true;
  EXPECT_TRUE(box.IsChecked());  // before the window: the stored state
  box.checked = false;
  box.commandHandler = RecordCommand;
  box.Create();
  EXPECT_EQ(StyleOf(box) & BS_TYPEMASK, static_cast<DWORD>(BS_CHECKBOX));
  EXPECT_FALSE(box.IsChecked());

  SendMessageW(box.window, BM_CLICK, 0, 0);
  EXPECT_EQ(SendMessageW(box.window, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(box.checked);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], &box);
  SendMessageW(box.window, BM_CLICK, 0, 0);
  EXPECT_FALSE(box.IsChecked());
  EXPECT_EQ(commands.size(), 2u);

  box.SetChecked(true);
  EXPECT_EQ(SendMessageW(box.window, BM_GETCHECK, 0, 0), BST_CHECKED);
  // The state read from the window is stored.
  SendMessageW(box.window, BM_SETCHECK, BST_UNCHECKED, 0);
  EXPECT_FALSE(box.IsChecked());
  EXPECT_FALSE(box.checked);

  // A box created checked shows it.
  CheckBox second(&form, "Altro");
  second.checked = true;
  second.multiline = true;
  second.SetPosition(0, 50);
  second.Create();
  EXPECT_EQ(SendMessageW(second.window, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(StyleOf(second) & BS_MULTILINE);
}
