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

std::wstring TreeItemText(HANDLE process, HWND tree, LPARAM item) {
  RemoteTextRequest<TVITEMW> request(process, &TVITEMW::pszText);
  TVITEMW asked{};
  asked.mask = TVIF_TEXT | TVIF_HANDLE;
  asked.hItem = reinterpret_cast<HTREEITEM>(item);
  asked.cchTextMax = request.kCapacity;
  if (!SendTimed(tree, TVM_GETITEMW, 0, request.Prepare(asked))) return {};
  return request.Text();
}

std::vector<std::wstring> PathParts(const std::wstring& path) {
  std::vector<std::wstring> parts;
  std::wstring part;
  for (wchar_t c : path) {
    if (c == L'\\' || c == L'/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::wstring JoinParts(const std::vector<std::wstring>& parts, std::size_t count) {
  std::wstring path;
  for (std::size_t i = 0; i < count; ++i) path += parts[i] + L"\\";
  return count == 1 ? path : path.substr(0, path.size() - 1);
}

LPARAM Caret(HWND tree) { return SendTimed(tree, TVM_GETNEXTITEM, TVGN_CARET, 0); }

// Asks the chooser to select the folder by its path (what its owner would do with
// BFFM_SETSELECTIONW; the path has to live in the program's memory). Answers whether it did.
bool AskToSelect(HANDLE process, HWND dialog, HWND tree, const std::wstring& path,
                 const std::wstring& leaf) {
  RemoteMemory remote(process, (path.size() + 1) * sizeof(wchar_t));
  remote.Write(path.c_str(), (path.size() + 1) * sizeof(wchar_t));
  SendTimed(dialog, BFFM_SETSELECTIONW, TRUE, remote.Address());
  if (!Caret(tree)) return false;
  return leaf.empty() || Lower(TreeItemText(process, tree, Caret(tree))) == Lower(leaf);
}

// Wine's chooser compares the whole item identifiers on its way down, and some folders
// (recently changed ones among them) are not found that way although they are shown. So
// the deepest part of the path that the chooser finds is selected by path, and the rest by
// the names of the tree's items, expanding each level as a click on its "+" would.
void SelectFolder(HANDLE process, HWND dialog, HWND tree, const std::wstring& folder) {
  std::vector<std::wstring> parts = PathParts(folder);
  std::size_t reached = parts.size();
  while (reached > 0 && !AskToSelect(process, dialog, tree, JoinParts(parts, reached),
                                     reached == 1 ? std::wstring() : parts[reached - 1])) {
    --reached;
  }
  if (reached == 0) {
    throw DriverError("the folder chooser selects no part of \"" + Utf8(folder) + "\"");
  }
  for (std::size_t i = reached; i < parts.size(); ++i) {
    LPARAM parent = Caret(tree);
    SendTimed(tree, TVM_EXPAND, TVE_EXPAND, parent);
    LPARAM found = 0;
    std::string seen;
    for (LPARAM child = SendTimed(tree, TVM_GETNEXTITEM, TVGN_CHILD, parent); child && !found;
         child = SendTimed(tree, TVM_GETNEXTITEM, TVGN_NEXT, child)) {
      std::wstring name = TreeItemText(process, tree, child);
      if (Lower(name) == Lower(parts[i])) found = child;
      seen += " \"" + Utf8(name) + "\"";
    }
    if (!found) {
      throw DriverError("the folder chooser shows no \"" + Utf8(parts[i]) + "\" in \"" +
                        Utf8(JoinParts(parts, i)) + "\"; it shows:" + seen);
    }
    SendTimed(tree, TVM_SELECTITEM, TVGN_CARET, found);
  }
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
    throw DriverError(std::string(error.what()) +
                      "; open dialogs: " + DescribeAll(Dialogs(process_.Id())));
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
  if (!tree) throw DriverError("the folder chooser has no folder tree");
  SelectFolder(process_.Handle(), dialog, tree, folder);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  WaitGone(dialog, "the folder chooser");
}

}  // namespace e2e
