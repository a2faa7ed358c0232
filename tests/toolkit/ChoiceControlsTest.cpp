#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "tests/support/GuiTestHarness.h"
#include "toolkit/Button.h"
#include "toolkit/ComboBox.h"
#include "toolkit/DatePicker.h"
#include "toolkit/Drawing.h"
#include "toolkit/ListBox.h"

using namespace LumoUtility;

namespace {

std::vector<GUIElement*> commands;
std::vector<SYSTEMTIME> datesReported;
int textChanges = 0;

void RecordCommand(GUIElement* element) { commands.push_back(element); }
void RecordDate(GUIElement*, SYSTEMTIME date) { datesReported.push_back(date); }
int RecordTextChange(GUIElement*) {
  ++textChanges;
  return 0;
}

std::wstring ControlItemText(HWND list, UINT getLength, UINT getText, int index) {
  int length = static_cast<int>(SendMessageW(list, getLength, index, 0));
  if (length < 0) return L"<error>";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(list, getText, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

// Press and release on a list box item, as the mouse does.
void ClickItem(HWND list, int index, bool twice = false) {
  RECT item{};
  SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(list, WM_LBUTTONUP, 0, point);
  if (twice) {
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    SendMessageW(list, WM_LBUTTONUP, 0, point);
  }
}

SYSTEMTIME Day(WORD year, WORD month, WORD day) {
  SYSTEMTIME date{};
  date.wYear = year;
  date.wMonth = month;
  date.wDay = day;
  return date;
}

class RecordingComboBox : public ComboBox {
 public:
  using ComboBox::ComboBox;
  bool OnDropDown() override {
    ++dropDowns;
    return true;
  }
  bool OnCloseUp() override {
    ++closeUps;
    return true;
  }
  int dropDowns = 0;
  int closeUps = 0;
};

}  // namespace

class ChoiceControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    commands.clear();
    datesReported.clear();
    textChanges = 0;
    form.SetSize(500, 400);
    form.Create();
    ASSERT_TRUE(IsWindow(form.window));
  }

  ToolkitStateScope scope;
  RecordingForm form;
};

TEST_F(ChoiceControlsTest, ComboBoxItemsSelectionAndRemoval) {
  RecordingComboBox combo(&form);
  EXPECT_EQ(combo.ItemText(0), L"");  // an empty list reads safely
  EXPECT_EQ(combo.ItemKeyAnsi(3), "");
  combo.AddItem("Cambio olio", "1");
  combo.AddItem(std::string("Revisione è"), std::string("7"));
  EXPECT_FALSE(combo.SetSelectedIndex(0));  // no window yet
  EXPECT_EQ(combo.SelectedIndex(), -1);
  combo.commandHandler = RecordCommand;
  combo.Create();
  combo.AddItem(L"Freni", L"12");
  ASSERT_EQ(SendMessageW(combo.window, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ControlItemText(combo.window, CB_GETLBTEXTLEN, CB_GETLBTEXT, 1), L"Revisione \u00e8");
  EXPECT_EQ(ControlItemText(combo.window, CB_GETLBTEXTLEN, CB_GETLBTEXT, 2), L"Freni");
  EXPECT_EQ(combo.ItemText(2), L"Freni");
  EXPECT_EQ(combo.ItemText(9), L"Freni");  // past the end: the last item
  EXPECT_EQ(combo.ItemKeyAnsi(9), "12");
  EXPECT_EQ(combo.ItemKeyAnsi(1), "7");
  EXPECT_TRUE(GetWindowLongW(combo.window, GWL_STYLE) & CBS_DROPDOWNLIST);

  EXPECT_TRUE(combo.SetSelectedIndex(1));
  EXPECT_EQ(combo.SelectedIndex(), 1);
  EXPECT_TRUE(commands.empty());  // the program's own selection raises nothing
  EXPECT_FALSE(combo.ClearSelection());
  EXPECT_EQ(combo.SelectedIndex(), -1);

  // The user picking with the keyboard raises the command.
  combo.Focus();
  combo.SetSelectedIndex(0);
  SendMessageW(combo.window, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(combo.SelectedIndex(), 1);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], &combo);

  SendMessageW(combo.window, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageW(combo.window, CB_SHOWDROPDOWN, FALSE, 0);
  EXPECT_EQ(combo.dropDowns, 1);
  EXPECT_EQ(combo.closeUps, 1);

  EXPECT_FALSE(combo.RemoveItem(-1));
  EXPECT_FALSE(combo.RemoveItem(3));
  EXPECT_TRUE(combo.RemoveItem(0));
  EXPECT_EQ(combo.ItemText(0), L"Revisione \u00e8");
  EXPECT_EQ(SendMessageW(combo.window, CB_GETCOUNT, 0, 0), 2);
  combo.AddItem(L"Gomme", L"3");
  EXPECT_TRUE(combo.Clear());
  EXPECT_EQ(combo.ItemCount(), 0);
  EXPECT_EQ(SendMessageW(combo.window, CB_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(combo.Clear());
  EXPECT_EQ(combo.ItemText(0), L"");

  ComboBox editable(&form);
  editable.SetListOnly(false);
  editable.Create();
  EXPECT_EQ(GetWindowLongW(editable.window, GWL_STYLE) & 3, CBS_DROPDOWN);
}

TEST_F(ChoiceControlsTest, ListBoxRaisesItsCommandOnlyWhenTheSelectionChanges) {
  ListBox plates(&form);
  EXPECT_EQ(plates.ItemText(0), "");
  EXPECT_EQ(plates.ItemKey(0), "");
  plates.AddItem("AB123CD", "1");
  plates.AddItem("EF456GH", "2");
  EXPECT_FALSE(plates.SetSelectedIndex(0));
  plates.commandHandler = RecordCommand;
  plates.SetSize(160, 250);
  plates.Create();
  plates.AddItem("IL789MN", "3");
  ASSERT_EQ(SendMessageW(plates.window, LB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(ControlItemText(plates.window, LB_GETTEXTLEN, LB_GETTEXT, 2), L"IL789MN");
  EXPECT_EQ(plates.ItemText(5), "IL789MN");
  EXPECT_EQ(plates.ItemKey(5), "3");
  EXPECT_TRUE(GetWindowLongW(plates.window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongW(plates.window, GWL_STYLE) & LBS_SORT);

  EXPECT_TRUE(plates.SetSelectedIndex(0));
  EXPECT_EQ(plates.SelectedIndex(), 0);
  EXPECT_TRUE(commands.empty());

  ClickItem(plates.window, 1);
  EXPECT_EQ(plates.SelectedIndex(), 1);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0], &plates);
  // The same item again, and a double-click on it: the selection stays, no command
  // (focus and double-click notifications are not commands).
  ClickItem(plates.window, 1);
  EXPECT_EQ(commands.size(), 1u);
  ClickItem(plates.window, 1, true);
  EXPECT_EQ(commands.size(), 1u);
  ClickItem(plates.window, 2);
  EXPECT_EQ(commands.size(), 2u);

  EXPECT_FALSE(plates.RemoveItem(-1));
  EXPECT_FALSE(plates.RemoveItem(7));
  EXPECT_TRUE(plates.RemoveItem(0));
  EXPECT_EQ(plates.ItemCount(), 2);
  EXPECT_EQ(plates.ItemText(0), "EF456GH");
  EXPECT_EQ(SendMessageW(plates.window, LB_GETCOUNT, 0, 0), 2);
}

TEST_F(ChoiceControlsTest, DatePickerDatesRangeAndChanges) {
  DatePicker picker(&form);
  SYSTEMTIME today{};
  GetLocalTime(&today);
  EXPECT_EQ(picker.GetDate().wYear, today.wYear);
  picker.optional = true;
  picker.onDateChanged = RecordDate;
  picker.onTextChanged = RecordTextChange;
  SYSTEMTIME withTime = Day(2024, 3, 15);
  withTime.wHour = 14;
  withTime.wMinute = 30;
  picker.date = withTime;
  EXPECT_EQ(picker.GetDate().wHour, 14);  // before the window: as stored
  picker.hasMinimum = true;
  picker.rangeMinimum = Day(2000, 1, 1);
  picker.Create();
  ASSERT_TRUE(IsWindow(picker.window));
  EXPECT_TRUE(GetWindowLongW(picker.window, GWL_STYLE) & DTS_SHOWNONE);
  // Creating applies the date, which is reported.
  ASSERT_EQ(datesReported.size(), 1u);
  EXPECT_EQ(datesReported[0].wDay, 15);
  EXPECT_EQ(textChanges, 1);

  SYSTEMTIME shown = picker.GetDate();
  EXPECT_EQ(shown.wYear, 2024);
  EXPECT_EQ(shown.wMonth, 3);
  EXPECT_EQ(shown.wDay, 15);
  EXPECT_EQ(shown.wHour, 0);
  EXPECT_EQ(shown.wMinute, 0);

  SYSTEMTIME range[2] = {};
  LRESULT flags = SendMessageW(picker.window, DTM_GETRANGE, 0, reinterpret_cast<LPARAM>(range));
  EXPECT_EQ(flags & GDTR_MIN, GDTR_MIN);
  EXPECT_EQ(flags & GDTR_MAX, 0);
  EXPECT_EQ(range[0].wYear, 2000);

  picker.ClearDate();
  SYSTEMTIME none = picker.GetDate();
  EXPECT_EQ(none.wYear, 0);
  EXPECT_EQ(none.wMonth, 0);
  EXPECT_EQ(none.wDay, 0);
  EXPECT_EQ(datesReported.back().wYear, 0);

  picker.SetDate(Day(2025, 12, 24));
  EXPECT_EQ(picker.GetDate().wDay, 24);

  // A date chosen by the user (the day field stepped with the keyboard) is reported.
  datesReported.clear();
  picker.Focus();
  SendMessageW(picker.window, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(picker.window, WM_KEYDOWN, VK_UP, 0);
  ASSERT_FALSE(datesReported.empty());
  EXPECT_NE(datesReported.back().wYear * 10000 + datesReported.back().wMonth * 100 +
                datesReported.back().wDay,
            20251224);
  EXPECT_EQ(datesReported.back().wHour, 0);

  // A picker that is not optional keeps its date.
  DatePicker required(&form);
  required.date = Day(2023, 6, 1);
  required.ClearDate();
  EXPECT_EQ(required.date.wYear, 2023);
}

TEST_F(ChoiceControlsTest, ButtonsRaiseTheirCommandOnEveryClick) {
  Button ok(&form, "OK");
  ok.commandHandler = RecordCommand;
  ok.Create();
  EXPECT_EQ(GetWindowLongW(ok.window, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  SendMessageW(ok.window, BM_CLICK, 0, 0);
  SendMessageW(ok.window, BM_CLICK, 0, 0);
  EXPECT_EQ(commands.size(), 2u);

  RECT inner{2, 2, 14, 14};
  HBITMAP picture = MakeSolidBitmap(16, 16, RGB(0, 0, 255), &inner, RGB(255, 0, 0));
  HBITMAP greyed = MakeSolidBitmap(16, 16, RGB(128, 128, 128));
  Button drawn(&form, "Salva");
  drawn.ownerDraw = true;
  drawn.image = picture;
  drawn.disabledImage = greyed;
  drawn.SetPosition(0, 50);
  drawn.Create();
  EXPECT_EQ(GetWindowLongW(drawn.window, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  PixelCanvas canvas(80, 30, RGB(255, 255, 255));
  Drawing drawing;
  drawing.Attach(canvas.Context());
  RECT item{0, 0, 80, 30};
  EXPECT_EQ(drawn.DrawImage(drawing, item, false), 16 + 0 + 8);
  EXPECT_EQ(canvas.Pixel(5 + 8, 7 + 8), RGB(255, 0, 0));
  EXPECT_EQ(canvas.Pixel(5, 7), RGB(0, 0, 255));
  drawn.SetEnabled(false);
  EXPECT_EQ(drawn.DrawImage(drawing, item, false), 24);
  EXPECT_EQ(canvas.Pixel(5 + 8, 7 + 8), RGB(128, 128, 128));
  drawn.disabledImage = nullptr;
  EXPECT_EQ(drawn.DrawImage(drawing, item, false), 0);
  drawing.Finish();
  DeleteObject(picture);
  DeleteObject(greyed);
}

TEST_F(ChoiceControlsTest, AComboBoxWithATooltipTakesItsDropDownListWithIt) {
  // The tooltip's subclass stays in front of the toolkit's procedure under Wine; the
  // combo box must still see its own destruction, where it destroys its list.
  auto combo = std::make_unique<ComboBox>(&form);
  combo->toolTip = "Tipo di intervento";
  combo->Create();
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetComboBoxInfo(combo->window, &info));
  ASSERT_TRUE(IsWindow(info.hwndList));
  combo.reset();
  EXPECT_FALSE(IsWindow(info.hwndList));
}
