#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/e2e/DriverError.h"
#include "tests/e2e/TargetProcess.h"

namespace e2e {

// What a message box said.
struct MessageBoxSeen {
  HWND window = nullptr;
  std::wstring caption;
  std::wstring text;
  std::vector<std::wstring> buttons;  // texts as shown, e.g. "&Yes", "&No"
};

// One native button of a toolbar, as read from outside.
struct ToolbarButton {
  int index = 0;
  int command = 0;
  bool enabled = false;
  bool separator = false;
  std::wstring label;  // the button's text, or its tooltip when it shows none
  std::wstring toolTip;
};

// The face drawn at the right end of a grid row's first cell.
enum class RowStatus { None, InOrder, Due };
const char* ToString(RowStatus status);

// Drives the windows of another process the way a user would, through window messages
// (and memory in that process where a message carries a pointer). Every lookup and every
// Wait... waits up to the process's timeout for its window, item or text, and then throws
// a DriverError that names what it looked for and what was there instead. Actions that
// may open something modal are posted, so the driver never blocks on the program.
class UiDriver {
 public:
  explicit UiDriver(TargetProcess& process) : process_(process) {}

  // Forms and message boxes.
  // A visible toolkit form with exactly this title; with mustBeEnabled, also waits until
  // it accepts input (no child form or message box is open over it).
  HWND WaitForForm(const std::wstring& title, bool mustBeEnabled = true);
  void WaitForFormGone(const std::wstring& title);
  void WaitGone(HWND window, const std::string& what);
  void WaitForTitle(HWND window, const std::wstring& title);
  bool FormOpen(const std::wstring& title);
  // Sends the close request (the title-bar close box).
  void CloseWindow(HWND window);

  MessageBoxSeen WaitForMessageBox(const std::wstring& caption);
  // Presses the button (IDOK, IDYES, IDNO, ...) and waits for the box to go.
  void Answer(const MessageBoxSeen& box, int button);
  // Both at once: answers the box with that caption and gives back its text.
  std::wstring AnswerMessageBox(const std::wstring& caption, int button);
  // True when no message box of the process is open right now.
  bool NoMessageBox();

  // The folder chooser (SHBrowseForFolder) whose prompt reads promptText: selects the
  // folder (which must exist) and presses OK, or presses Cancel when folder is empty.
  void ChooseFolder(const std::wstring& promptText, const std::wstring& folder);

  // Controls of a form.
  HWND Button(HWND form, const std::wstring& text);
  // The index-th control of the class among the form's descendants, in creation order.
  HWND Control(HWND form, const std::wstring& className, int index = 0);
  // The control of the class on the same line right of the label, or else just below it.
  HWND ControlBeside(HWND form, const std::wstring& labelText, const std::wstring& className);
  // Waits until the button and its form accept input, then clicks it (BM_CLICK, posted:
  // what the click opens may be modal).
  void ClickButton(HWND form, const std::wstring& text);
  void Click(HWND button);
  // Gives the control the focus with a mouse click on it.
  void Focus(HWND control);
  // Types the characters as the keyboard would (WM_CHAR each), at the caret.
  void Type(HWND control, const std::wstring& text);
  // Focuses the control, selects all its text and types the new text over it.
  void ReplaceText(HWND control, const std::wstring& text);
  // A key press (down and up) posted to the window; the program's message loop makes the
  // character of it (TranslateMessage), as it does for the keyboard.
  void PressKey(HWND window, WPARAM virtualKey);
  std::wstring Text(HWND control);
  void WaitForText(HWND control, const std::wstring& text);
  bool Enabled(HWND control);

  std::vector<std::wstring> ListItems(HWND list);
  std::wstring SelectedListItem(HWND list);
  // A mouse click on the item (the list reports the change itself); doubleClick also
  // sends the second click.
  void ChooseListItem(HWND list, const std::wstring& text, bool doubleClick = false);
  std::vector<std::wstring> ComboItems(HWND combo);
  std::wstring SelectedComboItem(HWND combo);
  // Selects the item and reports the change to the combo's parent as the combo does.
  void ChooseComboItem(HWND combo, const std::wstring& text);
  bool Checked(HWND checkBox);
  void SetChecked(HWND checkBox, bool checked);
  // Sets a date picker's date (the calendar part) and ticks its check box when it has one.
  void SetDate(HWND picker, WORD year, WORD month, WORD day);

  // Real keyboard input (SendInput): the keys go to whatever has the keyboard focus, as a
  // user's would. The driver never moves the focus or the foreground itself: when the
  // foreground window is not the program's, the keys are not sent and the call throws
  // naming the window that would have got them. Each call then waits until the program is
  // idle; what the keys do is awaited by the caller (a form, a text, the focus).
  // Presses the keys down in order and lets them go in reverse: {VK_CONTROL, 'N'}.
  void PressKeys(std::initializer_list<WORD> keys);
  // Types the characters as Unicode keystrokes.
  void TypeText(const std::wstring& text);
  // The window that has the keyboard focus (null when the foreground is not the program's).
  HWND Focused();
  // Waits until the control has the focus; throws saying where the focus is instead.
  void WaitForFocus(HWND control, const std::string& what);

  // Toolbars and menus.
  HWND Toolbar(HWND form);
  std::vector<ToolbarButton> ToolbarButtons(HWND toolbar);
  ToolbarButton FindToolbarButton(HWND form, const std::wstring& label);
  // A mouse click on the item's button; throws when the item is missing or disabled.
  void ClickToolbarItem(HWND form, const std::wstring& label);
  // Chooses a menu item by its text path, e.g. {L"&Opzioni", L"&Backup"}: menus of
  // another process cannot be read, so each step is typed as its access key (the letter
  // after "&") and the driver waits for each drop-down to open.
  void ChooseMenu(HWND form, const std::vector<std::wstring>& path);
  // Chooses an item that has no access key: the position-th of the menu's drop-down (0
  // is the first; separators are not counted), reached with the arrow keys.
  void ChooseMenuItemAt(HWND form, const std::wstring& menu, int position);

  // Grids (the toolkit's table of cell windows). Row 0 is the first data row.
  // The form's grid: the child panel whose first cell row carries the header caption.
  HWND Grid(HWND form, const std::wstring& firstCaption);
  std::vector<std::wstring> HeaderTexts(HWND grid);
  HWND HeaderCell(HWND grid, int column);
  int RowCount(HWND grid);
  std::vector<std::wstring> RowTexts(HWND grid, int row);
  std::wstring CellText(HWND grid, int row, int column);
  HWND Cell(HWND grid, int row, int column);
  void WaitForCellText(HWND grid, int row, int column, const std::wstring& text);
  // Reads the row's status face from the screen once (the row must be scrolled into
  // view): red for due, green for in order, neither for no picture. A row that is being
  // repainted may read as no picture; WaitForStatus reads until the expected face shows.
  RowStatus Status(HWND grid, int row);
  void WaitForStatus(HWND grid, int row, RowStatus status);
  // Waits until the row, and no other row in view, shows the selection's colour.
  void WaitForSelectedRow(HWND grid, int row);
  void DoubleClickCell(HWND grid, int row, int column);

  // List views (the common controls' report list). Row 0 is the first data row.
  // The captions, read from the list's header control.
  std::vector<std::wstring> ListViewColumns(HWND list);
  int ListViewRowCount(HWND list);
  std::vector<std::wstring> ListViewRow(HWND list, int row);
  std::vector<std::vector<std::wstring>> ListViewRows(HWND list);
  void WaitForListViewRows(HWND list, const std::vector<std::vector<std::wstring>>& rows);
  // -1 when no row is selected.
  int ListViewSelectedRow(HWND list);
  // Whether the row is among those the list shows whole.
  bool ListViewRowInView(HWND list, int row);
  // A mouse click on the row, scrolled into view first; waits until the row is selected.
  void SelectListViewRow(HWND list, int row);
  // A double-click on the row, scrolled into view first (what it opens is the caller's
  // to await).
  void ActivateListViewRow(HWND list, int row);
  // A mouse click on the column's caption in the header.
  void ClickListViewColumn(HWND list, int column);

  // The save dialog (GetSaveFileNameW) with this title, once it proposes a file name.
  HWND WaitForSaveDialog(const std::wstring& title);
  std::wstring SaveDialogFileName(HWND dialog);
  // Types the full path over the proposed name, presses "Save" and waits for the dialog
  // to go.
  void SaveAs(HWND dialog, const std::wstring& path);

  TargetProcess& Process() { return process_; }
  Milliseconds Timeout() const { return process_.timeout; }

 private:
  std::vector<std::vector<HWND>> GridRows(HWND grid);
  HWND FindBeside(HWND form, const std::wstring& labelText, const std::wstring& className);
  HWND FindMessageBox(const std::wstring& caption);
  POINT ListViewRowPoint(HWND list, int row);
  std::size_t OpenPopupMenus();
  // Opens the menu with its access key once the form accepts input; answers its name.
  std::string OpenMenu(HWND form, const std::wstring& menu);
  // Waits for the chosen item to close the menus (depth of them open); escapes them and
  // throws when they stay.
  void WaitForMenuClosed(HWND form, std::size_t depth, const std::string& walked);
  void PostClick(HWND window, int x, int y, bool doubleClick);
  void SendKeyboardInput(std::vector<INPUT> events, const std::string& what);

  TargetProcess& process_;
};

}  // namespace e2e
