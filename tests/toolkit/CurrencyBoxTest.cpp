#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/GuiTestHarness.h"
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
