#include "toolkit/ListBox.h"

#include "toolkit/ChildControl.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

ListBox::ListBox(GUIElement* parentElement) {
  parent = parentElement;
  typeName = "listbox";
  width = 130;
  height = 130;
}

void ListBox::Create() {
  if (created) return;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY;
  if (border) style |= WS_BORDER;
  if (!enabled) style |= WS_DISABLED;
  CreateChildControl(*this, L"ListBox", style, border ? WS_EX_CLIENTEDGE : 0);
  if (!window) return;
  for (const std::wstring& itemText : items.texts) {
    SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(itemText.c_str()));
  }
}

void ListBox::AddItem(const std::string& itemText, const std::string& key) {
  std::wstring wide = WidenText(itemText);
  items.Add(wide, WidenText(key));
  if (created && window)
    SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::string ListBox::ItemText(int index) const { return NarrowText(items.Text(index)); }
std::string ListBox::ItemKey(int index) const { return NarrowText(items.Key(index)); }

bool ListBox::RemoveItem(int index) {
  if (index < 0 || index >= items.Count()) return false;
  if (created && window && SendMessageW(window, LB_DELETESTRING, index, 0) == LB_ERR) return false;
  items.Erase(index);
  lastSelection_ = SelectedIndex();
  return true;
}

int ListBox::SelectedIndex() {
  if (!created || !window) return -1;
  return static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0));
}

bool ListBox::SetSelectedIndex(int index) {
  if (!created || !window) return false;
  const bool done = SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(index), 0) != LB_ERR;
  lastSelection_ = SelectedIndex();
  return done;
}

bool ListBox::OnSelectionChange() {
  const int current = SelectedIndex();
  if (current == lastSelection_) return false;
  lastSelection_ = current;
  return true;
}

}  // namespace LumoUtility
