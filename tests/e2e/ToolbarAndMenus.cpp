// Toolbars (read through memory in the program's process) and menus (driven by their
// access keys, since menus of another process cannot be read).
#include <windows.h>
#include <commctrl.h>

#include <cwctype>
#include <string>

#include "tests/e2e/RemoteMemory.h"
#include "tests/e2e/UiDriver.h"
#include "tests/e2e/WindowSearch.h"

namespace e2e {
namespace {

constexpr int kLabelCapacity = 1024;

// The tooltip asks the toolkit for the text of a callback tool itself, inside the program.
std::wstring ToolTipText(HANDLE process, HWND toolbar, int command) {
  HWND toolTip = reinterpret_cast<HWND>(SendTimed(toolbar, TB_GETTOOLTIPS, 0, 0));
  if (!toolTip) return {};
  RemoteTextRequest<TTTOOLINFOW> request(process, &TTTOOLINFOW::lpszText);
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = toolbar;
  info.uId = static_cast<UINT_PTR>(command);
  SendTimed(toolTip, TTM_GETTEXTW, request.kCapacity, request.Prepare(info));
  return request.Text();
}

wchar_t AccessKey(const std::wstring& text) {
  std::size_t amp = text.find(L'&');
  if (amp == std::wstring::npos || amp + 1 >= text.size()) return 0;
  return static_cast<wchar_t>(std::towlower(text[amp + 1]));
}

struct PopupSearch {
  DWORD processId;
  std::size_t count;
};

BOOL CALLBACK CountPopups(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<PopupSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (owner == search->processId && IsWindowVisible(window) && std::wstring(name) == L"#32768") {
    ++search->count;
  }
  return TRUE;
}

// A button without text is found by its tooltip, which may name a shortcut after the label:
// "Nuovo (Ctrl+N)".
bool LabelMatches(const ToolbarButton& button, const std::wstring& label) {
  if (button.separator) return false;
  return button.label == label || button.label.rfind(label + L" (", 0) == 0;
}

}  // namespace

HWND UiDriver::Toolbar(HWND form) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND child : Descendants(form)) {
          if (ClassIs(child, TOOLBARCLASSNAMEW)) {
            found = child;
            return true;
          }
        }
        return false;
      },
      Timeout(), "a toolbar on " + Describe(form));
  return found;
}

std::vector<ToolbarButton> UiDriver::ToolbarButtons(HWND toolbar) {
  std::vector<ToolbarButton> buttons;
  const int count = static_cast<int>(SendTimed(toolbar, TB_BUTTONCOUNT, 0, 0));
  RemoteMemory remote(process_.Handle(), sizeof(TBBUTTON) + kLabelCapacity * sizeof(wchar_t));
  for (int i = 0; i < count; ++i) {
    if (!SendTimed(toolbar, TB_GETBUTTON, i, remote.Address())) continue;
    TBBUTTON native = remote.Read<TBBUTTON>();
    ToolbarButton button;
    button.index = i;
    button.command = native.idCommand;
    button.enabled = (native.fsState & TBSTATE_ENABLED) != 0;
    button.separator = (native.fsStyle & BTNS_SEP) != 0;
    if (!button.separator) {
      LRESULT length = SendTimed(toolbar, TB_GETBUTTONTEXTW, native.idCommand,
                                 remote.AddressAt(sizeof(TBBUTTON)));
      if (length > 0 && length < kLabelCapacity) {
        std::wstring text(static_cast<std::size_t>(length), L'\0');
        remote.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(TBBUTTON));
        button.label = text;
      }
      button.toolTip = ToolTipText(process_.Handle(), toolbar, native.idCommand);
      if (button.label.empty()) button.label = button.toolTip;
    }
    buttons.push_back(button);
  }
  return buttons;
}

ToolbarButton UiDriver::FindToolbarButton(HWND form, const std::wstring& label) {
  HWND toolbar = Toolbar(form);
  std::vector<ToolbarButton> buttons;
  try {
    WaitUntil(
        [&] {
          buttons = ToolbarButtons(toolbar);
          for (const ToolbarButton& button : buttons) {
            if (LabelMatches(button, label)) return true;
          }
          return false;
        },
        Timeout(), "the toolbar item \"" + Utf8(label) + "\"");
  } catch (const DriverError& error) {
    std::string present;
    for (const ToolbarButton& button : buttons) {
      if (!button.separator) present += " \"" + Utf8(button.label) + "\"";
    }
    throw DriverError(std::string(error.what()) + "; items:" + present);
  }
  for (const ToolbarButton& button : buttons) {
    if (LabelMatches(button, label)) return button;
  }
  return {};
}

void UiDriver::ClickToolbarItem(HWND form, const std::wstring& label) {
  WaitUntil([&] { return IsWindowEnabled(form); }, Timeout(), Describe(form) + " to be enabled");
  ToolbarButton button = FindToolbarButton(form, label);
  if (!button.enabled) {
    throw DriverError("the toolbar item \"" + Utf8(label) + "\" is disabled");
  }
  HWND toolbar = Toolbar(form);
  RemoteMemory remote(process_.Handle(), sizeof(RECT));
  if (!SendTimed(toolbar, TB_GETITEMRECT, button.index, remote.Address())) {
    throw DriverError("cannot read where the toolbar item \"" + Utf8(label) + "\" is");
  }
  RECT place = remote.Read<RECT>();
  // A press and release on the button: the toolbar itself sends the command.
  PostClick(toolbar, (place.left + place.right) / 2, (place.top + place.bottom) / 2, false);
}

std::size_t UiDriver::OpenPopupMenus() {
  PopupSearch search{process_.Id(), 0};
  EnumWindows(CountPopups, reinterpret_cast<LPARAM>(&search));
  return search.count;
}

void UiDriver::ChooseMenu(HWND form, const std::vector<std::wstring>& path) {
  if (path.size() < 2) throw DriverError("a menu path needs a menu and an item");
  for (const std::wstring& step : path) {
    if (!AccessKey(step)) {
      throw DriverError("the menu text \"" + Utf8(step) + "\" has no access key (&)");
    }
  }
  std::string walked = OpenMenu(form, path[0]);
  for (std::size_t i = 1; i < path.size(); ++i) {
    // A key typed before its drop-down is open would go to the bar instead.
    WaitUntil([&] { return OpenPopupMenus() >= i; }, Timeout(), "the menu " + walked + " to open");
    PostMessageW(form, WM_CHAR, AccessKey(path[i]), 1);
    walked += " > " + Utf8(path[i]);
  }
  WaitForMenuClosed(form, path.size(), walked);
}

void UiDriver::ChooseMenuItemAt(HWND form, const std::wstring& menu, int position) {
  std::string walked = OpenMenu(form, menu);
  WaitUntil([&] { return OpenPopupMenus() >= 1; }, Timeout(), "the menu " + walked + " to open");
  // Opened from the keyboard, the drop-down has its first item selected.
  for (int i = 0; i < position; ++i) PostMessageW(form, WM_KEYDOWN, VK_DOWN, 1);
  PostMessageW(form, WM_CHAR, L'\r', 1);
  WaitForMenuClosed(form, 2, walked + " > item " + std::to_string(position));
}

std::string UiDriver::OpenMenu(HWND form, const std::wstring& menu) {
  if (!AccessKey(menu)) {
    throw DriverError("the menu text \"" + Utf8(menu) + "\" has no access key (&)");
  }
  WaitUntil([&] { return IsWindowEnabled(form) && NoMessageBox(); }, Timeout(),
            Describe(form) + " to accept input");
  PostMessageW(form, WM_SYSCOMMAND, SC_KEYMENU, AccessKey(menu));
  return Utf8(menu);
}

void UiDriver::WaitForMenuClosed(HWND form, std::size_t depth, const std::string& walked) {
  try {
    WaitUntil([&] { return OpenPopupMenus() == 0; }, Timeout(),
              "the menu to close after choosing " + walked);
  } catch (const DriverError&) {
    // Leaves the menu, so that the program stays usable for what follows.
    for (std::size_t i = 0; i < depth; ++i) PostMessageW(form, WM_KEYDOWN, VK_ESCAPE, 0);
    WaitUntil([&] { return OpenPopupMenus() == 0; }, Timeout(), "the menu to close");
    throw DriverError("the menu stayed open after typing " + walked +
                      " (the item is missing or disabled)");
  }
}

}  // namespace e2e
