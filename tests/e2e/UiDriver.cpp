// Forms and standard controls.
#include "tests/e2e/UiDriver.h"

#include <commctrl.h>

#include <climits>

#include "tests/e2e/RemoteMemory.h"
#include "tests/e2e/WindowSearch.h"

namespace e2e {
namespace {

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

std::string Quoted(const std::wstring& text) { return "\"" + Utf8(text) + "\""; }

std::string ListOf(const std::vector<std::wstring>& items) {
  std::string list;
  for (const std::wstring& item : items) list += (list.empty() ? "" : ", ") + Quoted(item);
  return list.empty() ? "none" : list;
}

int IndexOf(const std::vector<std::wstring>& items, const std::wstring& text) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

const char* ToString(RowStatus status) {
  switch (status) {
    case RowStatus::InOrder: return "in order (green face)";
    case RowStatus::Due: return "due (red face)";
    default: return "no picture";
  }
}

HWND UiDriver::WaitForForm(const std::wstring& title, bool mustBeEnabled) {
  HWND found = nullptr;
  auto search = [&] {
    found = nullptr;
    for (HWND window : TopLevelWindows(process_.Id())) {
      if (IsToolkitForm(window) && WindowText(window) == title) found = window;
    }
    return found && (!mustBeEnabled || IsWindowEnabled(found));
  };
  try {
    WaitUntil(search, Timeout(),
              std::string(mustBeEnabled ? "an enabled" : "a") + " form " + Quoted(title));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + (found ? " (it is there but disabled)" : "") +
                      "; open windows: " + DescribeAll(TopLevelWindows(process_.Id())));
  }
  return found;
}

bool UiDriver::FormOpen(const std::wstring& title) {
  for (HWND window : TopLevelWindows(process_.Id())) {
    if (IsToolkitForm(window) && WindowText(window) == title) return true;
  }
  return false;
}

void UiDriver::WaitForFormGone(const std::wstring& title) {
  WaitUntil([&] { return !FormOpen(title); }, Timeout(), "the form " + Quoted(title) + " to close");
}

void UiDriver::WaitGone(HWND window, const std::string& what) {
  WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, Timeout(),
            what + " to go");
}

void UiDriver::WaitForTitle(HWND window, const std::wstring& title) {
  try {
    WaitUntil([&] { return WindowText(window) == title; }, Timeout(), "the title " + Quoted(title));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + "; the title is " + Quoted(WindowText(window)));
  }
}

void UiDriver::CloseWindow(HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); }

HWND UiDriver::Button(HWND form, const std::wstring& text) {
  HWND found = nullptr;
  auto search = [&] {
    for (HWND child : Descendants(form)) {
      if (ClassIs(child, L"Button") && IsWindowVisible(child) && WindowText(child) == text) {
        found = child;
        return true;
      }
    }
    return false;
  };
  try {
    WaitUntil(search, Timeout(), "the button " + Quoted(text) + " on " + Describe(form));
  } catch (const DriverError& error) {
    std::vector<HWND> buttons;
    for (HWND child : Descendants(form)) {
      if (ClassIs(child, L"Button")) buttons.push_back(child);
    }
    throw DriverError(std::string(error.what()) + "; buttons there: " + DescribeAll(buttons));
  }
  return found;
}

HWND UiDriver::Control(HWND form, const std::wstring& className, int index) {
  std::vector<HWND> matching;
  try {
    WaitUntil(
        [&] {
          matching.clear();
          for (HWND child : Descendants(form)) {
            if (ClassIs(child, className)) matching.push_back(child);
          }
          return index >= 0 && index < static_cast<int>(matching.size());
        },
        Timeout(),
        "control " + Utf8(className) + " number " + std::to_string(index) + " on " +
            Describe(form));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + " (it has " + std::to_string(matching.size()) +
                      ")");
  }
  return matching[static_cast<std::size_t>(index)];
}

HWND UiDriver::ControlBeside(HWND form, const std::wstring& labelText,
                             const std::wstring& className) {
  HWND found = nullptr;
  std::string failure;
  auto search = [&] {
    try {
      found = FindBeside(form, labelText, className);
      return true;
    } catch (const DriverError& error) {
      failure = error.what();
      return false;
    }
  };
  try {
    WaitUntil(search, Timeout(), Utf8(className) + " beside \"" + Utf8(labelText) + "\"");
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + ": " + failure);
  }
  return found;
}

HWND UiDriver::FindBeside(HWND form, const std::wstring& labelText, const std::wstring& className) {
  std::vector<HWND> all = Descendants(form);
  HWND label = nullptr;
  for (HWND child : all) {
    if (ClassIs(child, L"Static") && WindowText(child) == labelText) label = child;
  }
  if (!label) throw DriverError("no label " + Quoted(labelText) + " on " + Describe(form));
  RECT l = ScreenRect(label);
  HWND sameLine = nullptr, below = nullptr;
  long sameLineDistance = LONG_MAX, belowDistance = LONG_MAX;
  for (HWND child : all) {
    if (!ClassIs(child, className)) continue;
    RECT c = ScreenRect(child);
    bool overlapsVertically = c.top < l.bottom && c.bottom > l.top;
    bool overlapsHorizontally = c.left < l.right && c.right > l.left;
    if (overlapsVertically && c.left >= l.right - 2 && c.left - l.right < sameLineDistance) {
      sameLine = child;
      sameLineDistance = c.left - l.right;
    } else if (overlapsHorizontally && c.top >= l.bottom - 2 && c.top - l.bottom < belowDistance) {
      below = child;
      belowDistance = c.top - l.bottom;
    }
  }
  HWND found = sameLine ? sameLine : below;
  if (!found) {
    throw DriverError("no " + Utf8(className) + " beside the label " + Quoted(labelText) + " on " +
                      Describe(form));
  }
  return found;
}

bool UiDriver::Enabled(HWND control) {
  return IsWindowEnabled(control) && IsWindowEnabled(GetAncestor(control, GA_ROOT));
}

void UiDriver::Click(HWND button) {
  WaitUntil([&] { return Enabled(button); }, Timeout(), Describe(button) + " to be enabled");
  PostMessageW(button, BM_CLICK, 0, 0);
}

void UiDriver::ClickButton(HWND form, const std::wstring& text) { Click(Button(form, text)); }

void UiDriver::PostClick(HWND window, int x, int y, bool doubleClick) {
  const LPARAM where = MAKELPARAM(x, y);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(window, WM_LBUTTONUP, 0, where);
  if (doubleClick) {
    PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
    PostMessageW(window, WM_LBUTTONUP, 0, where);
  }
}

void UiDriver::Focus(HWND control) {
  WaitUntil([&] { return Enabled(control); }, Timeout(), Describe(control) + " to be enabled");
  if (FocusOf(control) == control) return;
  PostClick(control, 3, 3, false);
  WaitUntil([&] { return FocusOf(control) == control; }, Timeout(),
            "the focus on " + Describe(control));
}

void UiDriver::Type(HWND control, const std::wstring& text) {
  for (wchar_t character : text) SendTimed(control, WM_CHAR, character, 1);
}

void UiDriver::ReplaceText(HWND control, const std::wstring& text) {
  Focus(control);
  SendTimed(control, EM_SETSEL, 0, -1);
  Type(control, text);
}

void UiDriver::PressKey(HWND window, WPARAM virtualKey) {
  const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyW(static_cast<UINT>(virtualKey), 0))
                          << 16;
  PostMessageW(window, WM_KEYDOWN, virtualKey, scanCode | 1);
  PostMessageW(window, WM_KEYUP, virtualKey, scanCode | 0xC0000001);
}

std::wstring UiDriver::Text(HWND control) { return WindowText(control); }

void UiDriver::WaitForText(HWND control, const std::wstring& text) {
  try {
    WaitUntil([&] { return WindowText(control) == text; }, Timeout(),
              "the text " + Quoted(text) + " in " + Utf8(ClassOf(control)));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + "; it reads " + Quoted(WindowText(control)));
  }
}

std::vector<std::wstring> UiDriver::ListItems(HWND list) {
  std::vector<std::wstring> items;
  int count = static_cast<int>(SendTimed(list, LB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendTimed(list, LB_GETTEXTLEN, i)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendTimed(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(text);
  }
  return items;
}

std::wstring UiDriver::SelectedListItem(HWND list) {
  int index = static_cast<int>(SendTimed(list, LB_GETCURSEL));
  std::vector<std::wstring> items = ListItems(list);
  return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::wstring();
}

void UiDriver::ChooseListItem(HWND list, const std::wstring& text, bool doubleClick) {
  int index = -1;
  try {
    WaitUntil([&] { return (index = IndexOf(ListItems(list), text)) >= 0; }, Timeout(),
              "the list item " + Quoted(text));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + "; items: " + ListOf(ListItems(list)));
  }
  WaitUntil([&] { return Enabled(list); }, Timeout(), "the list to be enabled");
  SendTimed(list, LB_SETTOPINDEX, index);
  RECT item{};
  SendTimed(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
  PostClick(list, item.left + 5, (item.top + item.bottom) / 2, doubleClick);
  if (!doubleClick) {
    WaitUntil([&] { return SendTimed(list, LB_GETCURSEL) == index; }, Timeout(),
              "the list item " + Quoted(text) + " to be selected");
  }
}

std::vector<std::wstring> UiDriver::ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  int count = static_cast<int>(SendTimed(combo, CB_GETCOUNT));
  for (int i = 0; i < count; ++i) {
    std::wstring text(static_cast<std::size_t>(SendTimed(combo, CB_GETLBTEXTLEN, i)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendTimed(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    items.push_back(text);
  }
  return items;
}

std::wstring UiDriver::SelectedComboItem(HWND combo) {
  int index = static_cast<int>(SendTimed(combo, CB_GETCURSEL));
  std::vector<std::wstring> items = ComboItems(combo);
  return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::wstring();
}

void UiDriver::ChooseComboItem(HWND combo, const std::wstring& text) {
  int index = -1;
  try {
    WaitUntil([&] { return (index = IndexOf(ComboItems(combo), text)) >= 0; }, Timeout(),
              "the combo item " + Quoted(text));
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + "; items: " + ListOf(ComboItems(combo)));
  }
  WaitUntil([&] { return Enabled(combo); }, Timeout(), "the combo box to be enabled");
  SendTimed(combo, CB_SETCURSEL, index);
  // A choice made with the mouse or the keyboard reports itself to the parent; a selection
  // set by message does not, so the report is made as the combo box would make it (posted:
  // what the choice does may be modal).
  PostMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
}

bool UiDriver::Checked(HWND checkBox) { return SendTimed(checkBox, BM_GETCHECK) == BST_CHECKED; }

void UiDriver::SetChecked(HWND checkBox, bool checked) {
  if (Checked(checkBox) == checked) return;
  Click(checkBox);
  WaitUntil([&] { return Checked(checkBox) == checked; }, Timeout(),
            "the check box " + Describe(checkBox) + " to change");
}

void UiDriver::SetDate(HWND picker, WORD year, WORD month, WORD day) {
  SYSTEMTIME date{};
  date.wYear = year;
  date.wMonth = month;
  date.wDay = day;
  RemoteMemory remote(process_.Handle(), sizeof date);
  remote.Write(&date, sizeof date);
  if (!SendTimed(picker, DTM_SETSYSTEMTIME, GDT_VALID, remote.Address())) {
    throw DriverError("the date picker refused the date " + std::to_string(day) + "/" +
                      std::to_string(month) + "/" + std::to_string(year));
  }
}

}  // namespace e2e
