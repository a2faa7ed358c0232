// Message boxes and the shell's folder chooser: "#32770" dialogs of the program.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cwctype>

#include "tests/e2e/RemoteMemory.h"
#include "tests/e2e/UiDriver.h"
#include "tests/e2e/WindowSearch.h"

namespace e2e {
namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static that holds a message box's text

std::vector<HWND> Dialogs(DWORD processId) {
  std::vector<HWND> dialogs;
  for (HWND window : TopLevelWindows(processId)) {
    if (ClassOf(window) == L"#32770") dialogs.push_back(window);
  }
  return dialogs;
}

bool HasStaticText(HWND dialog, const std::wstring& text) {
  for (HWND child : Descendants(dialog)) {
    if (ClassIs(child, L"Static") && WindowText(child) == text) return true;
  }
  return false;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring TreeSelectionText(HANDLE process, HWND tree) {
  auto item = reinterpret_cast<LPARAM>(
      reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)));
  if (!item) return {};
  constexpr int kCapacity = 260;
  RemoteMemory remote(process, sizeof(TVITEMW) + kCapacity * sizeof(wchar_t));
  TVITEMW request{};
  request.mask = TVIF_TEXT | TVIF_HANDLE;
  request.hItem = reinterpret_cast<HTREEITEM>(item);
  request.pszText = reinterpret_cast<LPWSTR>(remote.AddressAt(sizeof(TVITEMW)));
  request.cchTextMax = kCapacity;
  remote.Write(&request, sizeof request);
  if (!SendMessageW(tree, TVM_GETITEMW, 0, remote.Address())) return {};
  wchar_t text[kCapacity] = {};
  remote.Read(text, sizeof text, sizeof(TVITEMW));
  text[kCapacity - 1] = L'\0';
  return text;
}

}  // namespace

HWND UiDriver::FindMessageBox(const std::wstring& caption) {
  for (HWND dialog : Dialogs(process_.Id())) {
    if (WindowText(dialog) == caption && GetDlgItem(dialog, kMessageTextId)) return dialog;
  }
  return nullptr;
}

bool UiDriver::NoMessageBox() {
  for (HWND dialog : Dialogs(process_.Id())) {
    if (GetDlgItem(dialog, kMessageTextId)) return false;
  }
  return true;
}

MessageBoxSeen UiDriver::WaitForMessageBox(const std::wstring& caption) {
  MessageBoxSeen seen;
  try {
    WaitUntil([&] { return (seen.window = FindMessageBox(caption)) != nullptr; }, Timeout(),
              "a message box \"" + Utf8(caption) + "\"");
  } catch (const DriverError& error) {
    std::string open;
    for (HWND dialog : Dialogs(process_.Id())) {
      open += "\n  \"" + Utf8(WindowText(dialog)) + "\": \"" +
              Utf8(WindowText(GetDlgItem(dialog, kMessageTextId))) + "\"";
    }
    throw DriverError(std::string(error.what()) +
                      (open.empty() ? "; no dialog is open" : "; open dialogs:" + open));
  }
  seen.caption = caption;
  seen.text = WindowText(GetDlgItem(seen.window, kMessageTextId));
  for (HWND child : ChildWindows(seen.window)) {
    if (ClassIs(child, L"Button") && IsWindowVisible(child)) {
      seen.buttons.push_back(WindowText(child));
    }
  }
  return seen;
}

void UiDriver::Answer(const MessageBoxSeen& box, int button) {
  HWND control = GetDlgItem(box.window, button);
  if (!control || !IsWindowVisible(control)) {
    std::string buttons;
    for (const std::wstring& text : box.buttons) buttons += " \"" + Utf8(text) + "\"";
    throw DriverError("the message box \"" + Utf8(box.caption) + "\" (\"" + Utf8(box.text) +
                      "\") has no button with id " + std::to_string(button) +
                      "; its buttons:" + buttons);
  }
  PostMessageW(box.window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
  WaitGone(box.window, "the message box \"" + Utf8(box.caption) + "\"");
}

std::wstring UiDriver::AnswerMessageBox(const std::wstring& caption, int button) {
  MessageBoxSeen box = WaitForMessageBox(caption);
  Answer(box, button);
  return box.text;
}

void UiDriver::ChooseFolder(const std::wstring& promptText, const std::wstring& folder) {
  HWND dialog = nullptr;
  try {
    WaitUntil(
        [&] {
          for (HWND candidate : Dialogs(process_.Id())) {
            if (HasStaticText(candidate, promptText)) dialog = candidate;
          }
          return dialog != nullptr;
        },
        Timeout(), "the folder chooser \"" + Utf8(promptText) + "\"");
  } catch (const DriverError& error) {
    throw DriverError(std::string(error.what()) + "; open dialogs: " +
                      DescribeAll(Dialogs(process_.Id())));
  }
  HWND tree = nullptr;
  for (HWND child : Descendants(dialog)) {
    if (ClassIs(child, WC_TREEVIEWW)) tree = child;
  }
  if (folder.empty()) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    WaitGone(dialog, "the folder chooser");
    return;
  }
  // The chooser selects a folder given as a path when asked with BFFM_SETSELECTIONW, which
  // is what its owner would do; the path has to live in the program's memory.
  std::wstring path = folder;
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  RemoteMemory remote(process_.Handle(), (path.size() + 1) * sizeof(wchar_t));
  remote.Write(path.c_str(), (path.size() + 1) * sizeof(wchar_t));
  SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, remote.Address());
  std::wstring leaf = path.substr(path.find_last_of(L"\\/") + 1);
  if (tree) {
    std::wstring selected;
    try {
      WaitUntil([&] { return Lower(selected = TreeSelectionText(process_.Handle(), tree)) ==
                             Lower(leaf); },
                Timeout(), "the folder chooser to select \"" + Utf8(path) + "\"");
    } catch (const DriverError& error) {
      throw DriverError(std::string(error.what()) + "; it shows \"" + Utf8(selected) + "\"");
    }
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitGone(dialog, "the folder chooser");
}

}  // namespace e2e
