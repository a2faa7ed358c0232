#include "toolkit/ComboBox.h"

#include "toolkit/ChildControl.h"
#include "toolkit/base/TextEncoding.h"

namespace LumoUtility {

ComboBox::ComboBox(GUIElement* parentElement) {
  parent = parentElement;
  typeName = "combobox";
  width = 80;
  height = 130;  // the height of the open list
}

void ComboBox::Create() {
  if (created) return;
  DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP |
                (listOnly ? CBS_DROPDOWNLIST : CBS_DROPDOWN);
  if (!enabled) style |= WS_DISABLED;
  CreateChildControl(*this, L"Combobox", style, 0);
  if (!window) return;
  for (const std::wstring& itemText : items.texts) {
    SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(itemText.c_str()));
  }
}

bool ComboBox::OnDropDown() { return true; }
bool ComboBox::OnCloseUp() { return true; }

void ComboBox::AddItem(const std::wstring& itemText, const std::wstring& key) {
  items.Add(itemText, key);
  if (created && window) {
    SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(itemText.c_str()));
  }
}

void ComboBox::AddItem(const std::string& itemText, const std::string& key) {
  AddItem(WidenText(itemText), WidenText(key));
}

int ComboBox::ItemCount() { return items.Count(); }
std::wstring ComboBox::ItemText(int index) { return items.Text(index); }
std::wstring ComboBox::ItemKey(int index) { return items.Key(index); }
std::string ComboBox::ItemKeyAnsi(int index) { return NarrowText(ItemKey(index)); }

bool ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= items.Count()) return false;
  if (created && window && SendMessageW(window, CB_DELETESTRING, index, 0) == CB_ERR) return false;
  items.Erase(index);
  return true;
}

bool ComboBox::Clear() {
  bool result = false;
  for (int index = items.Count() - 1; index >= 0; --index) {
    result = RemoveItem(index);
    if (!result) break;
  }
  return result;
}

int ComboBox::SelectedIndex() {
  if (!created || !window) return -1;
  return static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
}

bool ComboBox::ClearSelection() { return SetSelectedIndex(-1); }

bool ComboBox::SetSelectedIndex(int index) {
  if (!created || !window) return false;
  return SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != CB_ERR;
}

void ComboBox::SetListOnly(bool only) { listOnly = only; }

}  // namespace LumoUtility
