#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "tests/support/GuiTestHarness.h"
#include "tests/support/WindowsTestSupport.h"
#include "toolkit/CurrencyBox.h"
#include "toolkit/TextBox.h"

using namespace LumoUtility;

// Run with LC_ALL=it_IT.UTF-8: Wine takes the user's regional settings from it.

namespace {

int lostFocusCalls = 0;
int textChanges = 0;
void RecordLostFocus(GUIElement*) { ++lostFocusCalls; }
int RecordTextChange(GUIElement*) {
  ++textChanges;
  return 0;
}
bool RefuseNine(GUIElement*, int character) { return character != '9'; }

// Each character as the keyboard would send it.
void Type(HWND window, const std::wstring& characters) {
  for (wchar_t c : characters) SendMessageW(window, WM_CHAR, c, 0);
}

}  // namespace

class ItalianCurrencyBox : public ::testing::Test {
 protected:
  void SetUp() override {
    lostFocusCalls = 0;
    textChanges = 0;
    form.SetSize(400, 200);
    form.Create();
    ASSERT_TRUE(IsWindow(form.window));
    other.SetPosition(10, 60);
    other.Create();
  }

  ToolkitStateScope scope;
  RecordingForm form;
  TextBox other{&form};
};

TEST_F(ItalianCurrencyBox, SeparatorsAndTheInitialAmountFollowTheUserSettings) {
  CurrencyBox cost(&form, 12.5);
  EXPECT_EQ(cost.decimalSeparator, ',');
  EXPECT_EQ(cost.thousandsSeparator, '.');
  EXPECT_EQ(cost.typeName, "textbox");
  EXPECT_EQ(cost.GetTextAnsi(), "12,5");
  cost.Create();
  EXPECT_EQ(cost.GetTextAnsi(), "12,5");
  EXPECT_EQ(SendMessageW(cost.window, EM_GETLIMITTEXT, 0, 0), 9);
  EXPECT_DOUBLE_EQ(cost.Value(), 12.5);
}

TEST_F(ItalianCurrencyBox, GroupedAmountReadsBackAndIsWrittenCanonicallyOnLosingFocus) {
  CurrencyBox cost(&form, 0);
  cost.onLostFocus = RecordLostFocus;
  cost.onTextChanged = RecordTextChange;
  cost.Create();
  cost.Focus();
  ASSERT_EQ(GetFocus(), cost.window);
  // Gaining the focus selects everything, so typing replaces the amount.
  DWORD start = 1;
  DWORD end = 0;
  SendMessageW(cost.window, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 1u);
  Type(cost.window, L"1.234,5");
  EXPECT_EQ(cost.GetTextAnsi(), "1.234,5");
  EXPECT_DOUBLE_EQ(cost.Value(), 1234.5);
  other.Focus();
  EXPECT_EQ(cost.GetTextAnsi(), "1.234,5");
  EXPECT_DOUBLE_EQ(cost.Value(), 1234.5);
  // A currency box raises neither callback.
  EXPECT_EQ(lostFocusCalls, 0);
  EXPECT_EQ(textChanges, 0);

  // Ungrouped input comes back grouped; every digit the box takes survives.
  cost.SetText("1234567,89");
  cost.Focus();
  other.Focus();
  EXPECT_EQ(cost.GetTextAnsi(), "1.234.567,89");
  EXPECT_DOUBLE_EQ(cost.Value(), 1234567.89);
  cost.SetText("999999999");
  cost.Focus();
  other.Focus();
  EXPECT_EQ(cost.GetTextAnsi(), "999.999.999");
}

TEST_F(ItalianCurrencyBox, KeyFilterTakesDigitsAndOneOfEachSeparator) {
  CurrencyBox cost(&form, 0);
  cost.Create();
  cost.SetText("");
  Type(cost.window, L"12,3,4");
  EXPECT_EQ(cost.GetTextAnsi(), "12,34");
  Type(cost.window, L"a\x09Z-+ e");
  EXPECT_EQ(cost.GetTextAnsi(), "12,34");
  cost.SetText("");
  Type(cost.window, L"1.000.0");
  EXPECT_EQ(cost.GetTextAnsi(), "1.0000");
  Type(cost.window, L"\x08\x08");
  EXPECT_EQ(cost.GetTextAnsi(), "1.00");
  // The filter answers directly too.
  EXPECT_FALSE(cost.OnKeyPress(9));
  EXPECT_TRUE(cost.OnKeyPress(8));
  EXPECT_FALSE(cost.OnKeyPress('.'));
  EXPECT_TRUE(cost.OnKeyPress(','));
  EXPECT_FALSE(cost.OnKeyPress('x'));
  // A digit is the element's callback to decide, when there is one.
  cost.onKeyPress = RefuseNine;
  EXPECT_FALSE(cost.OnKeyPress('9'));
  EXPECT_TRUE(cost.OnKeyPress('8'));
}

TEST_F(ItalianCurrencyBox, AnEmptyOrNonNumericBoxReadsAsZero) {
  CurrencyBox cost(&form, 5);
  EXPECT_DOUBLE_EQ(cost.Value(), 5);
  cost.Create();
  cost.SetText("");
  EXPECT_DOUBLE_EQ(cost.Value(), 0);
  cost.Focus();
  other.Focus();
  EXPECT_EQ(cost.GetTextAnsi(), "0");
  cost.SetText("abc");
  EXPECT_DOUBLE_EQ(cost.Value(), 0);
  EXPECT_FALSE(cost.HoldsAmount());
  // Text that is no amount is not rewritten as one: the form refuses it as it stands.
  for (const char* pasted : {"abc", "12abc", "-5", "1e300", "1,2,3", ","}) {
    cost.SetText(pasted);
    cost.Focus();
    other.Focus();
    EXPECT_EQ(cost.GetTextAnsi(), pasted);
    EXPECT_FALSE(cost.HoldsAmount()) << pasted;
  }
  for (const char* typed : {"", "0", "12", "1.234,5", ",5", "1.234"}) {
    cost.SetText(typed);
    EXPECT_TRUE(cost.HoldsAmount()) << typed;
  }
}

namespace {

std::wstring ClipboardText(HWND window) {
  std::wstring text;
  if (!OpenClipboard(window)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    text = static_cast<const wchar_t*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

constexpr wchar_t kCtrlC = 3, kCtrlV = 22, kCtrlX = 24, kCtrlZ = 26;

}  // namespace

TEST_F(ItalianCurrencyBox, EditCommandsWorkAndAPasteIsCheckedLikeTyping) {
  CurrencyBox cost(&form, 84.5);
  cost.Create();
  cost.Focus();
  Type(cost.window, {kCtrlC});
  EXPECT_EQ(ClipboardText(cost.window), L"84,5");
  Type(cost.window, {kCtrlX});
  EXPECT_EQ(cost.GetTextAnsi(), "");
  Type(cost.window, {kCtrlZ});
  EXPECT_EQ(cost.GetTextAnsi(), "84,5");

  // Each clipboard text pasted over the whole box, and what the box holds afterwards.
  const struct {
    std::wstring pasted;
    const char* held;
  } pastes[] = {
      {L"45.50", "45.50"},
      {L" 84,50\r\n", "84,50"},
      {L"1.234.567", "1.234.567"},
      {L"12a", "7"},
      {L"-5", "7"},
      {L"1 5", "7"},
      {L"1234567890", "7"},
      {L"", "7"},
  };
  for (const auto& p : pastes) {
    cost.SetText("7");
    SendMessageW(cost.window, EM_SETSEL, 0, -1);
    PutOnClipboard(cost.window, p.pasted);
    Type(cost.window, {kCtrlV});
    EXPECT_EQ(cost.GetTextAnsi(), p.held) << cost.GetTextAnsi();
  }
  // A paste is undone like typing.
  cost.SetText("");
  PutOnClipboard(cost.window, L"12,5");
  Type(cost.window, {kCtrlV});
  Type(cost.window, {kCtrlZ});
  EXPECT_EQ(cost.GetTextAnsi(), "");
}

// A separator that Windows-1252 keeps between 0x80 and 0x9F is typed as another UTF-16
// character: "’", the Swiss Italian grouping, is 0x92 in the program's text.
TEST_F(ItalianCurrencyBox, ASeparatorOutsideAsciiIsTypedOnce) {
  CurrencyBox cost(&form, 0);
  cost.thousandsSeparator = '\x92';
  cost.Create();
  cost.SetText("");
  Type(cost.window,
       L"1\x2019"
       L"234\x2019"
       L"5");
  EXPECT_EQ(cost.GetTextAnsi(),
            "1\x92"
            "2345");
  cost.SetText(
      "1\x92"
      "234");
  EXPECT_TRUE(cost.HoldsAmount());
  EXPECT_DOUBLE_EQ(cost.Value(), 1234);
}
