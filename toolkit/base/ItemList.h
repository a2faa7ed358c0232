#pragma once
#include <string>
#include <vector>

namespace LumoUtility {

// The item model shared by the combo box and the list box: display texts with a hidden
// key each, in the order the control shows them (neither control sorts).
struct ItemList {
  std::vector<std::wstring> texts;
  std::vector<std::wstring> keys;

  void Add(const std::wstring& text, const std::wstring& key);
  int Count() const { return static_cast<int>(texts.size()); }
  // An index past the end gives the last item; an empty list or a negative index gives
  // an empty text.
  std::wstring Text(int index) const;
  std::wstring Key(int index) const;
  void Erase(int index);
};

}  // namespace LumoUtility
